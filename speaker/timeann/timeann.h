#pragma once
// The half-hourly time announcement: the grid SGrid3 (the announcer's working copy of table
// telltime), the telltime timer that compares it with the clock, the chime followed by the
// spoken time, and the password-guarded dialog that switches times on and off.

#include <QAbstractTableModel>
#include <QByteArray>
#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QTableView;

namespace core {
class Dataset;
struct Services;
}  // namespace core
namespace platform {
class Timer;
}

namespace timeann {

// The text spoken for "hh:nn" (the first five characters of a time cell): "现在是北京时间08:30",
// "现在是北京时间08:00正", "现在是北京时间 零点正", "现在是北京时间 零点30"; empty for any
// other time in hour 00.
QString announcementText(const QString& hhnn);

// The chime recording (a WAV file) from the program's resources; empty if it is missing.
QByteArray chimeWav();

// SGrid3: one row per table row, columns "No", "时间", "播放内容", "语音引擎" (hidden),
// "播放" ("√" when switched on). With no rows it shows one empty row, as a string grid does.
class TellTimeGrid : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColNo, ColTime, ColText, ColEngine, ColPlay, ColumnCount };
    struct Row {
        QString no;
        QString time;
        QString text;
        QString engine;
        QString play;
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<Row> rows);
    // Data rows (0 when the grid only shows its empty row).
    int dataRows() const { return int(rows_.size()); }
    // A cell as text; empty outside the data rows.
    QString cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> rows_;
};

// The announcer behind the page "整点报时". It lives on the user-interface thread.
class TimeAnnouncer : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 200;
    // From the chime's start to the spoken time.
    static constexpr int kSpeechDelayMs = 1300;

    // `table` is the dataset of table telltime (DM.Q_telltime); `view` (may be null) becomes
    // SGrid3's view: model, column widths, the hidden column and the context menu with N64.
    TimeAnnouncer(core::Services& services, core::Dataset& table, QTableView* view,
                  QObject* parent = nullptr);
    ~TimeAnnouncer() override;

    // The voice chooser's index, selected before the time is spoken; unset: the engine's voice.
    std::function<int()> voiceIndex;
    // Asks for the program password; true only when it was confirmed. Unset: refused.
    std::function<bool()> confirmPassword;
    // The edit dialog TFmodifytelltime, shown modally after the password.
    std::function<QDialog*()> editDialog;

    TellTimeGrid& grid() { return grid_; }

    // Fills SGrid3 from the table.
    void getsgrid3data();
    // One tick: announces every switched-on row whose time is the current second.
    void telltimeTimer();
    // Chime now, the spoken time kSpeechDelayMs later, for the grid row whose "No" is `id`.
    void saytime(int id);
    // "修改": password, then the edit dialog, then the grid refilled.
    void N64Click();

    platform::Timer* telltime;
    QAction* N64;

private:
    void playChime();

    core::Services& services_;
    core::Dataset& table_;
    TellTimeGrid grid_;
    QByteArray chime_;
    quint32 chimeStream_ = 0;
    bool waiting_ = false;  // inside saytime's wait, which keeps the event loop running
    // The last second that was announced, so that no tick announces it twice.
    QString lastSecond_;
    qint64 lastSecondTick_ = 0;
};

// TFmodifytelltime: a grid on table telltime where only "是否播放" can be changed.
class TFmodifytelltime : public QDialog {
    Q_OBJECT
public:
    explicit TFmodifytelltime(core::Dataset& telltime, QWidget* parent = nullptr);

    QTableView* DBGrid1;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    core::Dataset& table_;
};

}  // namespace timeann
