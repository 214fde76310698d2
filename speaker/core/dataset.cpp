#include "speaker/core/dataset.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

#include "platform/store/store.h"

namespace core {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

// Null equals only null; numbers compare by value; anything else by its text.
bool sameValue(const QVariant& a, const QVariant& b) {
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull) return aNull == bNull;
    if (isNumber(a) && isNumber(b)) return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// The Yes/No convention of our tables: true is stored as -1.
QVariant stored(const QVariant& v) {
    if (v.typeId() == QMetaType::Bool) return QVariant(v.toBool() ? -1 : 0);
    return v;
}

}  // namespace

Dataset::Dataset(platform::Database& db, const QString& name, QObject* parent)
    : QAbstractTableModel(parent), db_(db) {
    setObjectName(name);
}

void Dataset::setSql(const QString& sql) {
    close();
    sql_ = sql;
}

void Dataset::setTable(const QString& table) {
    setSql(QStringLiteral("select * from %1 order by rowid").arg(table));
}

void Dataset::setParam(const QString& name, const QVariant& value) {
    QString key = name.toLower();
    if (key.startsWith(QLatin1Char(':'))) key.remove(0, 1);
    params_[key] = value;
}

QVariant Dataset::param(const QString& name) const {
    QString key = name.toLower();
    if (key.startsWith(QLatin1Char(':'))) key.remove(0, 1);
    return params_.value(key);
}

QString Dataset::baseTable() const {
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+\"?([A-Za-z_][A-Za-z0-9_]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto match = from.match(sql_);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool Dataset::fail(const QString& text) {
    error_ = text;
    emit failed(text);
    return false;
}

bool Dataset::load() {
    rows_.clear();
    if (sql_.trimmed().isEmpty()) return fail(QStringLiteral("%1: no command").arg(objectName()));
    platform::Statement st(db_, sql_);
    if (!st.ok()) return fail(st.errorText());
    for (int i = 1; i <= st.parameterCount(); ++i) st.bind(i, param(st.parameterName(i)));
    columns_ = st.columnNames();
    platform::StepResult r;
    while ((r = st.step()) == platform::StepResult::Row) {
        Row row(columns_.size());
        for (int c = 0; c < columns_.size(); ++c) row[c] = st.value(c);
        rows_.push_back(std::move(row));
    }
    if (r == platform::StepResult::Error) {
        rows_.clear();
        return fail(st.errorText());
    }
    tableColumns_.clear();
    const QString table = baseTable();
    if (!table.isEmpty()) {
        platform::Statement info(db_, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
        while (info.step() == platform::StepResult::Row) tableColumns_ << info.value(1).toString();
    }
    error_.clear();
    return true;
}

bool Dataset::open() {
    if (isOpen()) return true;
    beginResetModel();
    const bool ok = load();
    state_ = ok ? State::Browse : State::Inactive;
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    endResetModel();
    if (ok) moved();
    return ok;
}

void Dataset::close() {
    if (!isOpen()) return;
    beginResetModel();
    state_ = State::Inactive;
    rows_.clear();
    columns_.clear();
    buffer_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    endResetModel();
}

bool Dataset::requery() {
    if (!isOpen()) return open();
    if (!checkBrowseMode()) return false;
    const int key = keyColumn();
    const QVariant keyValue = (key >= 0 && current_ >= 0) ? rows_[current_][key] : QVariant();
    const int previous = current_;
    beginResetModel();
    const bool ok = load();
    if (!ok) state_ = State::Inactive;
    current_ = -1;
    const int newKey = keyColumn();
    if (newKey >= 0 && keyValue.isValid()) {
        for (int r = 0; r < recordCount(); ++r)
            if (sameValue(rows_[r][newKey], keyValue)) {
                current_ = r;
                break;
            }
    }
    if (current_ < 0 && !rows_.empty()) current_ = std::clamp(previous, 0, recordCount() - 1);
    eof_ = bof_ = rows_.empty();
    endResetModel();
    if (ok) moved();
    return ok;
}

bool Dataset::moveTo(int row) {
    if (!isOpen() || row < 0 || row >= recordCount()) return false;
    if (row == current_) {
        eof_ = bof_ = false;
        return true;
    }
    if (!checkBrowseMode()) return false;
    // A refused post may have cancelled an append and so removed rows.
    if (row >= recordCount()) return false;
    current_ = row;
    eof_ = bof_ = false;
    moved();
    return true;
}

bool Dataset::first() {
    if (isEmpty()) {
        eof_ = bof_ = true;
        return false;
    }
    const bool ok = moveTo(0);
    if (ok) bof_ = true;
    return ok;
}

bool Dataset::last() {
    if (isEmpty()) {
        eof_ = bof_ = true;
        return false;
    }
    const bool ok = moveTo(recordCount() - 1);
    if (ok) eof_ = true;
    return ok;
}

bool Dataset::next() {
    if (current_ + 1 >= recordCount()) {
        if (checkBrowseMode()) eof_ = true;
        return false;
    }
    return moveTo(current_ + 1);
}

bool Dataset::prior() {
    if (current_ <= 0) {
        if (checkBrowseMode()) bof_ = true;
        return false;
    }
    return moveTo(current_ - 1);
}

bool Dataset::locate(const QString& field, const QVariant& value) {
    const int f = fieldIndex(field);
    if (f < 0) return false;
    for (int r = 0; r < recordCount(); ++r)
        if (sameValue(this->value(r, f), value)) return moveTo(r);
    return false;
}

QStringList Dataset::fieldNames() const {
    QStringList names = columns_;
    for (const auto& l : lookups_) names << l.name;
    return names;
}

int Dataset::fieldIndex(const QString& name) const {
    const QStringList names = fieldNames();
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const Dataset::Row& Dataset::currentValues() const {
    return (state_ == State::Edit || state_ == State::Insert) ? buffer_ : rows_[current_];
}

QVariant Dataset::value(int row, int field) const {
    if (row < 0 || row >= recordCount() || field < 0) return {};
    const Row& values = row == current_ ? currentValues() : rows_[row];
    if (field < columns_.size()) return values[field];
    const auto l = std::size_t(field - columns_.size());
    return l < lookups_.size() ? lookupValue(lookups_[l], values) : QVariant();
}

QVariant Dataset::field(const QString& name) const {
    return value(current_, fieldIndex(name));
}

QVariant Dataset::lookupValue(const Lookup& lookup, const Row& row) const {
    const int k = fieldIndex(lookup.keyField);
    if (k < 0 || k >= columns_.size() || !lookup.source) return {};
    const QVariant key = row[k];
    if (!key.isValid() || key.isNull()) return {};
    const Dataset& src = *lookup.source;
    const int sk = src.fieldIndex(lookup.sourceKey);
    const int sr = src.fieldIndex(lookup.result);
    for (int r = 0; r < src.recordCount(); ++r)
        if (sameValue(src.value(r, sk), key)) return src.value(r, sr);
    return {};
}

bool Dataset::setField(const QString& name, const QVariant& value) {
    const int f = fieldIndex(name);
    if (f < 0) {
        error_ = QStringLiteral("%1: no field %2").arg(objectName(), name);
        return false;
    }
    if (f >= columns_.size()) {
        const Lookup& l = lookups_[std::size_t(f - columns_.size())];
        const Dataset& src = *l.source;
        const int sk = src.fieldIndex(l.sourceKey);
        const int sr = src.fieldIndex(l.result);
        for (int r = 0; r < src.recordCount(); ++r)
            if (sameValue(src.value(r, sr), value)) return setField(l.keyField, src.value(r, sk));
        return false;
    }
    if (state_ == State::Browse && !edit()) return false;
    if (state_ != State::Edit && state_ != State::Insert) return false;
    buffer_[f] = stored(value);
    modified_[f] = true;
    notifyRow(current_);
    emit dataChange(columns_[f]);
    return true;
}

bool Dataset::isModified(const QString& name) const {
    const int f = fieldIndex(name);
    return (state_ == State::Edit || state_ == State::Insert) && f >= 0 && f < modified_.size() &&
           modified_[f];
}

bool Dataset::edit() {
    if (state_ == State::Edit || state_ == State::Insert) return true;
    if (state_ != State::Browse) return false;
    if (isEmpty()) return append();
    buffer_ = rows_[current_];
    modified_ = QVector<bool>(columns_.size(), false);
    state_ = State::Edit;
    emit afterEdit();
    return true;
}

bool Dataset::append() {
    if (!isOpen() || !checkBrowseMode()) return false;
    insertFrom_ = current_;
    const int row = recordCount();
    beginInsertRows({}, row, row);
    rows_.push_back(Row(columns_.size()));
    buffer_ = Row(columns_.size());
    modified_ = QVector<bool>(columns_.size(), false);
    current_ = row;
    state_ = State::Insert;
    endInsertRows();
    eof_ = bof_ = false;
    moved();
    return true;
}

bool Dataset::post() {
    if (state_ == State::Browse) return true;
    if (state_ == State::Inactive) return false;
    if (beforePost_ && !beforePost_(*this)) return false;
    if (state_ != State::Edit && state_ != State::Insert) return false;  // the hook cancelled
    if (!cached_ && !writeRow()) return false;
    rows_[current_] = buffer_;
    state_ = State::Browse;
    notifyRow(current_);
    emit afterPost();
    moved();
    return true;
}

int Dataset::keyColumn() const {
    for (int c = 0; c < columns_.size(); ++c)
        if (columns_[c].compare(QLatin1String("id"), Qt::CaseInsensitive) == 0 &&
            tableColumns_.contains(columns_[c], Qt::CaseInsensitive))
            return c;
    return -1;
}

bool Dataset::writeRow() {
    const QString table = baseTable();
    if (table.isEmpty() || tableColumns_.isEmpty())
        return fail(QStringLiteral("%1: no table to write to").arg(objectName()));
    QStringList names;
    QVector<QVariant> values;
    for (int c = 0; c < columns_.size(); ++c)
        if (modified_[c] && tableColumns_.contains(columns_[c], Qt::CaseInsensitive)) {
            names << quoted(columns_[c]);
            values << buffer_[c];
        }
    const int key = keyColumn();
    if (state_ == State::Insert) {
        const QString sql =
            names.isEmpty()
                ? QStringLiteral("insert into %1 default values").arg(quoted(table))
                : QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(quoted(table), names.join(QLatin1Char(',')),
                           QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        platform::Statement st(db_, sql);
        for (int i = 0; i < values.size(); ++i) st.bind(i + 1, values[i]);
        if (st.step() != platform::StepResult::Done) return fail(st.errorText());
        if (key >= 0) {
            const qint64 id = db_.lastInsertId();
            buffer_[key] =
                id <= std::numeric_limits<int>::max() ? QVariant(int(id)) : QVariant(qlonglong(id));
        }
        return true;
    }
    if (names.isEmpty()) return true;
    if (key < 0) return fail(QStringLiteral("%1: no id column to write by").arg(objectName()));
    QStringList sets;
    for (const auto& n : names) sets << n + QStringLiteral("=?");
    platform::Statement st(
        db_, QStringLiteral("update %1 set %2 where %3=?")
                 .arg(quoted(table), sets.join(QLatin1Char(',')), quoted(columns_[key])));
    for (int i = 0; i < values.size(); ++i) st.bind(i + 1, values[i]);
    st.bind(int(values.size()) + 1, rows_[current_][key]);
    if (st.step() != platform::StepResult::Done) return fail(st.errorText());
    if (db_.changes() == 0)
        return fail(
            QStringLiteral("%1: the row is no longer in table %2").arg(objectName(), table));
    return true;
}

bool Dataset::deleteRow() {
    const QString table = baseTable();
    const int key = keyColumn();
    if (table.isEmpty() || key < 0)
        return fail(QStringLiteral("%1: no id column to delete by").arg(objectName()));
    platform::Statement st(
        db_, QStringLiteral("delete from %1 where %2=?").arg(quoted(table), quoted(columns_[key])));
    st.bind(1, rows_[current_][key]);
    if (st.step() != platform::StepResult::Done) return fail(st.errorText());
    return true;
}

void Dataset::cancel() {
    if (state_ == State::Edit) {
        state_ = State::Browse;
        buffer_.clear();
        notifyRow(current_);
        moved();
    } else if (state_ == State::Insert) {
        state_ = State::Browse;
        buffer_.clear();
        beginRemoveRows({}, current_, current_);
        rows_.erase(rows_.begin() + current_);
        endRemoveRows();
        current_ = rows_.empty() ? -1 : std::clamp(insertFrom_, 0, recordCount() - 1);
        eof_ = bof_ = rows_.empty();
        moved();
    }
}

bool Dataset::remove() {
    if (state_ == State::Insert) {
        cancel();
        return true;
    }
    if (state_ == State::Edit) cancel();
    if (state_ != State::Browse || isEmpty()) return false;
    if (!cached_ && !deleteRow()) return false;
    beginRemoveRows({}, current_, current_);
    rows_.erase(rows_.begin() + current_);
    endRemoveRows();
    current_ = std::min(current_, recordCount() - 1);
    eof_ = rows_.empty();
    emit afterDelete();
    moved();
    return true;
}

bool Dataset::checkBrowseMode() {
    return (state_ == State::Edit || state_ == State::Insert) ? post() : true;
}

void Dataset::addLookupField(const QString& name, const QString& keyField, Dataset* source,
                             const QString& sourceKey, const QString& result) {
    beginResetModel();
    lookups_.push_back({name, keyField, source, sourceKey, result});
    endResetModel();
    // Views show the looked-up text, so they must hear when the source changes.
    auto refresh = [this, name] {
        const int c = fieldIndex(name);
        if (c >= 0 && !isEmpty()) emit dataChanged(index(0, c), index(recordCount() - 1, c));
    };
    connect(source, &QAbstractItemModel::modelReset, this, refresh);
    connect(source, &QAbstractItemModel::dataChanged, this, refresh);
    connect(source, &QAbstractItemModel::rowsRemoved, this, refresh);
}

void Dataset::notifyRow(int row) {
    if (row >= 0 && row < recordCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void Dataset::moved() {
    emit dataChange(QString());
}

int Dataset::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : recordCount();
}

int Dataset::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size() + lookups_.size());
}

QVariant Dataset::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return value(index.row(), index.column());
}

bool Dataset::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    if (!moveTo(index.row())) return false;
    if (!setField(fieldNames().value(index.column()), value)) return false;
    return post();
}

QVariant Dataset::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return fieldNames().value(section);
}

Qt::ItemFlags Dataset::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

}  // namespace core
