#pragma once
// The entries grid of both timetable dialogs: the columns of sch_det the user sees, over the
// data module's entries query, with "No" counting rows. Edits go to the query and are posted
// at once, so its before-post check decides what is stored.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <functional>

class QTableView;

namespace core {
class Dataset;
}

namespace timetables {

class EntriesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColNo,
        ColName,
        ColPlaytime,
        ColEndtime,
        ColFile,
        ColMonday,
        ColSunday = ColMonday + 6,
        ColPlaymodel,
        ColLoop,
        ColWeather,
        ColVolume,
        ColumnCount
    };
    // The field of a column (empty for "No").
    static QString fieldOf(int column);
    static const QStringList& weatherChoices();  // "全天侯", "仅晴天", "仅雨天"

    // `editable`: the entry editor's grid; otherwise read-only (Fscheduling).
    EntriesModel(core::Dataset& entries, bool editable, QObject* parent = nullptr);

    core::Dataset& entries() { return entries_; }
    // The file and mode columns: read-only and shaded unless unlocked by 修改歌曲名.
    void setFileLocked(bool locked);
    bool fileLocked() const { return fileLocked_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QVariant value(int row, int column) const;

    core::Dataset& entries_;
    bool editable_;
    bool fileLocked_ = true;
};

// The in-place editors: the time mask, the weather pick list, the volume box; the file
// column's button calls `chooseFile`.
class EntriesDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit EntriesDelegate(std::function<void()> chooseFile, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Where the file column's button sits in a cell.
    static QRect buttonRect(const QRect& cell);

private:
    std::function<void()> chooseFile_;
};

// Sets up a grid on the model: whole-row selection for the list, column widths, and the view's
// current row kept in step with the query's cursor (a move the query refuses snaps back).
void bindGrid(QTableView* view, EntriesModel* model, bool wholeRows);

}  // namespace timetables
