#pragma once
// Dates without broadcasts: the list Grid3 over table holiday (read-only until unlocked behind
// the password), its buttons "修改" and "增加", deleting a row with confirmation, and the
// evaluation that turns today's row into the flags the two schedulers obey.

#include <QAbstractTableModel>
#include <QDate>
#include <QObject>
#include <QPointer>

#include <functional>

class QDialog;
class QTableView;

namespace core {
class Dataset;
struct Services;
}  // namespace core

namespace broadcast {

struct HolidayFlags {
    bool notextday = false;
    bool nomusicday = false;
    bool operator==(const HolidayFlags&) const = default;
};

// The calendar day a stored `date` falls on ("yyyy-MM-dd" with or without a time of day, or
// a date value); invalid when it holds none.
QDate holidayDate(const QVariant& stored);

// The flags for `today` from the rows of `holidays`: the first row of that day in date order
// decides; no such row clears both.
HolidayFlags evaluateHolidays(const core::Dataset& holidays, const QDate& today);

// Grid3's model: "No" (the record number), "备注", "日期", "文稿", "音乐" over the dataset,
// editable only while unlocked.
class HolidayGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColNo, ColRemark, ColDate, ColText, ColMusic, ColumnCount };

    explicit HolidayGridModel(core::Dataset& holidays, QObject* parent = nullptr);

    void setEditable(bool on) { editable_ = on; }
    bool editable() const { return editable_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    int fieldOf(int column) const;

    core::Dataset& ds_;
    bool editable_ = false;
};

class HolidayList : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> confirmPassword;              // the password dialog accepted
        std::function<QDialog*()> addDialog;                // faddholiday
        std::function<void(const HolidayFlags&)> setFlags;  // notextday, nomusicday
    };

    HolidayList(core::Services& services, core::Dataset& holidays, Hooks hooks,
                QObject* parent = nullptr);

    // Sets up `grid` as Grid3 (model, look, read-only, the delete key combination).
    void attach(QTableView* grid);
    HolidayGridModel& model() { return model_; }

    // "增加": after the password, the add dialog (modal).
    void SB_addClick();
    // "修改": after the password, the grid becomes editable.
    void SB_modiClick();
    // Back to read-only (the settings page is shown).
    void lock();
    // Deletes the grid's current row after "Delete record?"; only while editable.
    void deleteCurrent();

    // Today's flags from the table, handed to the window. Called at start-up, at each change
    // of date and whenever the list was edited.
    void evaluate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    core::Services& services_;
    core::Dataset& ds_;
    Hooks hooks_;
    HolidayGridModel model_;
    QPointer<QTableView> grid_;
    // Compared without a cast: events still reach the filter while the view is destroyed.
    const QObject* gridObject_ = nullptr;
};

}  // namespace broadcast
