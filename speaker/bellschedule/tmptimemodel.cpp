#include "speaker/bellschedule/tmptimemodel.h"

#include "speaker/core/dataset.h"

#include <QBrush>
#include <QColor>

namespace bellschedule {

namespace {

const char* const kFields[TmpTimeModel::ColumnCount] = {
    "",         "name",   "playtime", "endtime", "filepath",  "Monday",   "Tuesday", "Wednesday",
    "Thursday", "Friday", "Saturday", "Sunday",  "playmodel", "dumpplay", "weather", "voice"};
const char* const kHeaders[TmpTimeModel::ColumnCount] = {
    "No", "主题", "播放时间", "结束时间", "歌曲或列表", "一",   "二",       "三",
    "四", "五",   "六",       "日",       "播放方式",   "循环", "播放环境", "音量"};

}  // namespace

TmpTimeModel::TmpTimeModel(core::Dataset& copy, QObject* parent)
    : QAbstractTableModel(parent), copy_(copy) {
    // The working copy is small: any change of its rows redraws the whole grid.
    connect(&copy_, &QAbstractItemModel::modelReset, this, &TmpTimeModel::reset);
    connect(&copy_, &QAbstractItemModel::rowsInserted, this, &TmpTimeModel::reset);
    connect(&copy_, &QAbstractItemModel::rowsRemoved, this, &TmpTimeModel::reset);
    connect(&copy_, &QAbstractItemModel::dataChanged, this, [this] {
        if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    });
}

void TmpTimeModel::reset() {
    beginResetModel();
    endResetModel();
}

QString TmpTimeModel::fieldOf(int column) {
    return column > ColNo && column < ColumnCount ? QString::fromLatin1(kFields[column])
                                                  : QString();
}

bool TmpTimeModel::isTick(int column) {
    return (column >= ColMonday && column <= ColSunday) || column == ColLoop;
}

int TmpTimeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !copy_.isOpen() ? 0 : copy_.recordCount();
}

int TmpTimeModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TmpTimeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int col = index.column();
    if (role == Qt::BackgroundRole && (col == ColFile || col == ColModel))
        return QBrush(QColor(0xCC, 0xFF, 0xCC));
    if (col == ColNo) return role == Qt::DisplayRole ? QVariant(index.row() + 1) : QVariant();
    const QVariant v = copy_.value(index.row(), copy_.fieldIndex(fieldOf(col)));
    if (isTick(col)) {
        if (role != Qt::CheckStateRole) return {};
        return (!v.isNull() && v.toInt() != 0) ? Qt::Checked : Qt::Unchecked;
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) return v;
    return {};
}

bool TmpTimeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    const int col = index.column();
    QVariant stored = value;
    if (isTick(col)) {
        if (role != Qt::CheckStateRole) return false;
        stored = value.toInt() == Qt::Checked;
    } else if (role != Qt::EditRole) {
        return false;
    }
    if (!copy_.moveTo(index.row()) || !copy_.setField(fieldOf(col), stored)) return false;
    // The copy keeps cached updates: the post stays in memory.
    if (!copy_.post()) return false;
    emit dataChanged(index, index);
    return true;
}

QVariant TmpTimeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return QString::fromUtf8(kHeaders[section]);
}

Qt::ItemFlags TmpTimeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const int col = index.column();
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (col == ColNo || col == ColFile || col == ColModel) return f;
    if (isTick(col)) return f | Qt::ItemIsUserCheckable;
    return f | Qt::ItemIsEditable;
}

}  // namespace bellschedule
