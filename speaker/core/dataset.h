#pragma once
// A dataset: the rows of one SQL command (or one table) held in memory with a current-row
// cursor, editable through an edit buffer, and a table model for views. Edits go to the
// table the command selects from, keyed by its id/ID column. Like the record sets the
// windows were designed around, moving to another row first posts a pending edit, and a
// before-post hook may refuse the post.

#include <QAbstractTableModel>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <vector>

namespace platform {
class Database;
}

namespace core {

class Dataset : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    // Returns false to abort the post silently (after showing its own message).
    using BeforePost = std::function<bool(Dataset&)>;

    Dataset(platform::Database& db, const QString& name, QObject* parent = nullptr);

    // The command. Changing it closes the dataset; parameters are kept by name.
    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }
    void setTable(const QString& table);  // all rows of a table, in id order
    void setParam(const QString& name, const QVariant& value);
    QVariant param(const QString& name) const;
    // Posts and deletes stay in memory and never reach the database (a working copy).
    void setCachedUpdates(bool cached) { cached_ = cached; }

    bool open();
    void close();  // a pending edit is cancelled
    bool isOpen() const { return state_ != State::Inactive; }
    // Reads the rows again, staying on the current row's id when it is still there.
    bool requery();
    State state() const { return state_; }
    const QString& errorText() const { return error_; }

    // Cursor. Rows are 0-based; recNo() is 1-based and 0 on an empty dataset.
    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    int row() const { return current_; }
    int recNo() const { return current_ + 1; }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool first();
    bool last();
    bool next();   // at the last row: sets eof() and stays
    bool prior();  // at the first row: sets bof() and stays
    bool moveTo(int row);
    // Moves to the first row whose field equals `value` (numbers by value, text exactly).
    bool locate(const QString& field, const QVariant& value);

    // Fields: the command's columns, then the lookup fields. Names ignore letter case.
    QStringList fieldNames() const;
    int fieldIndex(const QString& name) const;
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // The value in the current row (the edit buffer while editing); null when none.
    QVariant field(const QString& name) const;
    QVariant value(int row, int field) const;
    // Enters edit mode when browsing. A bool is stored as -1/0. A lookup field is set
    // through its key field (false when no source row has that result).
    bool setField(const QString& name, const QVariant& value);
    bool isModified(const QString& name) const;

    bool append();
    bool edit();
    bool post();
    void cancel();
    bool remove();
    // Posts a pending edit; false when the post was refused.
    bool checkBrowseMode();

    void setBeforePost(BeforePost hook) { beforePost_ = std::move(hook); }
    // A read-only field `name` = `result` of the row of `source` whose `sourceKey` equals
    // this row's `keyField`.
    void addLookupField(const QString& name, const QString& keyField, Dataset* source,
                        const QString& sourceKey, const QString& result);

    // The table that posts and deletes write to, and its key column (empty when none).
    QString baseTable() const;

    // Model for views: Display/EditRole; setData edits the row and posts.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A field value changed (`field` is its name) or the cursor moved / the rows were read
    // again (`field` is empty).
    void dataChange(const QString& field);
    void afterEdit();
    void afterPost();
    void afterDelete();
    // A database error; the operation did not happen.
    void failed(const QString& text);

private:
    using Row = QVector<QVariant>;
    struct Lookup {
        QString name;
        QString keyField;
        Dataset* source;
        QString sourceKey;
        QString result;
    };

    bool load();
    bool fail(const QString& text);
    bool writeRow();
    bool deleteRow();
    int keyColumn() const;
    QVariant lookupValue(const Lookup& lookup, const Row& row) const;
    const Row& currentValues() const;
    void notifyRow(int row);
    void moved();

    platform::Database& db_;
    QString sql_;
    QMap<QString, QVariant> params_;
    bool cached_ = false;
    State state_ = State::Inactive;
    QString error_;

    QStringList columns_;
    QStringList tableColumns_;
    std::vector<Row> rows_;
    std::vector<Lookup> lookups_;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;

    Row buffer_;
    QVector<bool> modified_;
    int insertFrom_ = -1;  // the row that was current before append()
    BeforePost beforePost_;
};

}  // namespace core
