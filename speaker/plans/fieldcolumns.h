#pragma once
// A grid's view of a dataset: chosen fields in a chosen order under their own headers, the
// record number as a column, Yes/No fields as check boxes, a lookup shown by its result and
// edited by its key. Every edit goes through the dataset's post and its checks; a refused
// edit is cancelled, so the grid always shows what is stored.

#include <QAbstractTableModel>
#include <QString>

#include <optional>
#include <vector>

class QTableView;

namespace core {
class Dataset;
}
namespace platform {
class Prompter;
}

namespace plans {

enum class ColumnKind { RecNo, Text, Time, Int, Bool, Lookup };

struct FieldColumn {
    QString header;
    QString field;  // the field shown (for a lookup: its result field)
    ColumnKind kind = ColumnKind::Text;
    QString keyField = {};  // a lookup's key field, the one that is written
    bool editable = true;
};

class FieldColumns : public QAbstractTableModel {
    Q_OBJECT
public:
    FieldColumns(core::Dataset& dataset, std::vector<FieldColumn> columns,
                 platform::Prompter& prompter, QObject* parent = nullptr);

    core::Dataset& dataset() { return ds_; }
    const FieldColumn& column(int c) const { return columns_.at(std::size_t(c)); }
    int columnOf(const QString& field) const;

    // Stores `value` (typed, pasted or chosen) into column `c` of `row` and posts. False when
    // the value does not convert (an error box says so), the checks refuse it, or the row
    // is not there; the pending edit is cancelled then.
    bool store(int row, int c, const QVariant& value);
    // Stores without posting (a batch posts each row itself); false when not stored.
    bool setValue(int row, int c, const QVariant& value);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::optional<QVariant> convert(const FieldColumn& col, const QVariant& value);
    void rowsChangedFrom(int row);

    core::Dataset& ds_;
    std::vector<FieldColumn> columns_;
    platform::Prompter& prompter_;
};

// Keeps a view's current row and a dataset's cursor together: a row chosen in the view moves
// the dataset (a refused move puts the view back); a move of the dataset moves the view.
void bindCursor(QTableView* view, FieldColumns* model);

// Plain Yes/No reading of a field value (true is stored as -1).
bool isYes(const QVariant& v);

}  // namespace plans
