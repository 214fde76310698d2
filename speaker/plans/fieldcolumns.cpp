#include "speaker/plans/fieldcolumns.h"

#include "platform/prompter/prompter.h"
#include "speaker/core/dataset.h"

#include <QItemSelectionModel>
#include <QPointer>
#include <QTableView>

namespace plans {

bool isYes(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return false;
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t.toInt() != 0;
    }
    return v.toInt() != 0;
}

FieldColumns::FieldColumns(core::Dataset& dataset, std::vector<FieldColumn> columns,
                           platform::Prompter& prompter, QObject* parent)
    : QAbstractTableModel(parent), ds_(dataset), columns_(std::move(columns)), prompter_(prompter) {
    connect(&ds_, &QAbstractItemModel::modelAboutToBeReset, this, &FieldColumns::beginResetModel);
    connect(&ds_, &QAbstractItemModel::modelReset, this, &FieldColumns::endResetModel);
    connect(&ds_, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) { beginInsertRows({}, first, last); });
    connect(&ds_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first) {
        endInsertRows();
        rowsChangedFrom(first);
    });
    connect(&ds_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { beginRemoveRows({}, first, last); });
    connect(&ds_, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first) {
        endRemoveRows();
        rowsChangedFrom(first);
    });
    connect(&ds_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& tl, const QModelIndex& br) {
                if (!tl.isValid() || !br.isValid() || columnCount() == 0) return;
                emit dataChanged(index(tl.row(), 0), index(br.row(), columnCount() - 1));
            });
}

void FieldColumns::rowsChangedFrom(int row) {
    // The record numbers of the rows below moved.
    if (row < rowCount() && !columns_.empty())
        emit dataChanged(index(row, 0), index(rowCount() - 1, columnCount() - 1));
}

int FieldColumns::columnOf(const QString& field) const {
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].field.compare(field, Qt::CaseInsensitive) == 0) return int(c);
    return -1;
}

int FieldColumns::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ds_.recordCount();
}

int FieldColumns::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant FieldColumns::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const FieldColumn& col = column(index.column());
    if (col.kind == ColumnKind::RecNo)
        return role == Qt::DisplayRole ? QVariant(index.row() + 1) : QVariant();
    const QVariant v = ds_.value(index.row(), ds_.fieldIndex(col.field));
    const bool null = !v.isValid() || v.isNull();
    switch (col.kind) {
        case ColumnKind::Bool:
            if (role == Qt::CheckStateRole) return isYes(v) ? Qt::Checked : Qt::Unchecked;
            return {};
        case ColumnKind::Int:
            if (role == Qt::DisplayRole) return null ? QVariant() : QVariant(v.toLongLong());
            if (role == Qt::EditRole) return null ? 0 : v.toInt();
            return {};
        case ColumnKind::Lookup:
            if (role == Qt::DisplayRole) return v;
            if (role == Qt::EditRole) return ds_.value(index.row(), ds_.fieldIndex(col.keyField));
            return {};
        default:
            if (role == Qt::DisplayRole || role == Qt::EditRole)
                return null ? QString() : v.toString();
            return {};
    }
}

std::optional<QVariant> FieldColumns::convert(const FieldColumn& col, const QVariant& value) {
    const QString text = value.toString().trimmed();
    auto refuse = [&](const char* what) -> std::optional<QVariant> {
        prompter_.message({platform::MessageKind::Error, QStringLiteral("Error"),
                           QStringLiteral("'%1' is not a valid %2 value")
                               .arg(value.toString(), QString::fromLatin1(what)),
                           QMessageBox::Ok});
        return std::nullopt;
    };
    switch (col.kind) {
        case ColumnKind::Int: {
            if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
                return value.toInt();
            if (text.isEmpty()) return QVariant();  // an emptied cell stores null
            bool ok = false;
            const int n = text.toInt(&ok);
            if (!ok) return refuse("integer");
            return n;
        }
        case ColumnKind::Bool: {
            if (value.typeId() == QMetaType::Bool) return value;
            if (value.typeId() == QMetaType::Int) return value.toInt() != 0;
            static const QStringList yes{QStringLiteral("true"), QStringLiteral("√"),
                                         QStringLiteral("yes")};
            static const QStringList no{QStringLiteral("false"), QStringLiteral("no"), QString()};
            bool ok = false;
            const int n = text.toInt(&ok);
            if (ok) return n != 0;
            if (yes.contains(text, Qt::CaseInsensitive)) return true;
            if (no.contains(text, Qt::CaseInsensitive)) return false;
            return refuse("boolean");
        }
        case ColumnKind::Lookup: {
            // A key chosen from the drop-down list, or a result typed or pasted.
            if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
                return value;
            return value.toString();
        }
        case ColumnKind::RecNo:
            return std::nullopt;
        default:
            return value.isValid() ? QVariant(value.toString()) : QVariant();
    }
}

bool FieldColumns::setValue(int row, int c, const QVariant& value) {
    if (c < 0 || c >= columnCount() || !column(c).editable) return false;
    const FieldColumn& col = column(c);
    if (row < 0 || row >= rowCount() || !ds_.moveTo(row)) return false;
    const auto v = convert(col, value);
    if (!v) return false;
    if (col.kind != ColumnKind::Lookup) return ds_.setField(col.field, *v);
    if (v->typeId() == QMetaType::QString) {
        if (ds_.setField(col.field, *v)) return true;  // found by its result
        prompter_.message({platform::MessageKind::Error, QStringLiteral("Error"),
                           QStringLiteral("'%1' is not a valid value").arg(v->toString()),
                           QMessageBox::Ok});
        return false;
    }
    return ds_.setField(col.keyField, *v);
}

bool FieldColumns::store(int row, int c, const QVariant& value) {
    bool ok = setValue(row, c, value) && ds_.post();
    if (!ok) ds_.cancel();
    return ok;
}

bool FieldColumns::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) return false;
    if (role == Qt::CheckStateRole)
        return store(index.row(), index.column(),
                     value.toInt() == Qt::Checked ? QVariant(true) : QVariant(false));
    if (role != Qt::EditRole) return false;
    // Leaving a cell unchanged is no edit, so it does not post or set any flag.
    if (data(index, Qt::EditRole) == value) return true;
    return store(index.row(), index.column(), value);
}

QVariant FieldColumns::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section >= 0 && section < columnCount() ? QVariant(column(section).header) : QVariant();
}

Qt::ItemFlags FieldColumns::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const FieldColumn& col = column(index.column());
    if (!col.editable || col.kind == ColumnKind::RecNo) return f;
    if (col.kind == ColumnKind::Bool) return f | Qt::ItemIsUserCheckable;
    return f | Qt::ItemIsEditable;
}

void bindCursor(QTableView* view, FieldColumns* model) {
    view->setModel(model);
    core::Dataset& ds = model->dataset();
    auto follow = [view, model] {
        core::Dataset& d = model->dataset();
        const QModelIndex cur = view->currentIndex();
        if (d.row() < 0 || (cur.isValid() && cur.row() == d.row())) return;
        const int col = cur.isValid() ? cur.column() : 0;
        view->selectionModel()->setCurrentIndex(
            model->index(d.row(), col),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    QObject::connect(&ds, &core::Dataset::dataChange, view, [follow](const QString& field) {
        if (field.isEmpty()) follow();
    });
    QObject::connect(model, &QAbstractItemModel::modelReset, view, follow);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                     [view, model, follow](const QModelIndex& current) {
                         if (!current.isValid()) return;
                         core::Dataset& d = model->dataset();
                         if (current.row() != d.row() && !d.moveTo(current.row())) follow();
                     });
    follow();
}

}  // namespace plans
