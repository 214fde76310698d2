#pragma once
// The today list SGrid1: one row per text plan in start-time order, as string cells that are
// the scheduler's state. Grid row 0 is the header (the model's header); data row r is model
// row r-1.

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

class QTableView;

namespace broadcast {

class TodayList : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 26;
    enum Column {
        ColMark = 0,        // "" not yet played, "→" more readings to come, "√" done or passed
        ColNo = 1,          // row number
        ColStart = 2,       // playtime
        ColEnd = 3,         // endtime
        ColTitle = 4,       // title of the text
        ColContent = 5,     // whole content of the text
        ColMonday = 6,      // "√" per weekday, Monday … Sunday in 6 … 12
        ColSunday = 12,     //
        ColTimed = 13,      // "定时": isstop
        ColTimes = 14,      // txttimes
        ColPause = 15,      // stoptime, seconds
        ColId = 16,         // id of the plan (hidden)
        ColStatus = 17,     // "" or "completed" (hidden)
        ColMusic = 18,      // playmusic
        ColPlayModel = 19,  // playmodel (hidden)
        ColTtsVolume = 20,
        ColMusicVolume = 21,
        ColRate = 22,
        ColSpeaker = 23,
        ColAllRead = 24,     // "√" once every reading was done inside the window (hidden)
        ColMusicEnded = 25,  // "√" when musicended (hidden)
    };
    using Row = std::array<QString, kColumns>;

    explicit TodayList(QObject* parent = nullptr);

    // Replaces every data row.
    void setRows(std::vector<Row> rows);
    int planRows() const { return int(rows_.size()); }

    // Grid coordinates: row 0 is the header, rows 1 … planRows() the plans. Outside: empty.
    QString cell(int row, int col) const { return at(row, col); }
    void setCell(int row, int col, const QString& text);
    // The same without a copy, for the scheduler's steps.
    const QString& at(int row, int col) const;
    // Column `col` of `row` is "√".
    bool ticked(int row, int col) const;
    // The first plan row whose id (column 16) is `id`, 0 when none.
    int rowOfId(int id) const;

    // Moves the start and end times of every plan row by `minutes`, wrapping within the day,
    // written back as "hh:mm:ss". A cell that holds no time of day is left alone.
    void shiftTimes(int minutes);

    // Sets up `view` as SGrid1: model, column widths, hidden columns, header look, whole-row
    // selection and its hint.
    void attach(QTableView* view);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    static const QString& headerText(int col);

private:
    std::vector<Row> rows_;
    const QString empty_;
};

}  // namespace broadcast
