#include "speaker/timeann/timeann.h"

namespace timeann {

void TellTimeGrid::setRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

QString TellTimeGrid::cell(int row, int column) const {
    if (row < 0 || row >= dataRows()) return {};
    const Row& r = rows_[size_t(row)];
    switch (column) {
        case ColNo:
            return r.no;
        case ColTime:
            return r.time;
        case ColText:
            return r.text;
        case ColEngine:
            return r.engine;
        case ColPlay:
            return r.play;
        default:
            return {};
    }
}

int TellTimeGrid::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, dataRows());
}

int TellTimeGrid::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TellTimeGrid::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && (index.column() == ColNo || index.column() == ColPlay))
        return int(Qt::AlignCenter);
    return {};
}

QVariant TellTimeGrid::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
        case ColNo:
            return QStringLiteral("No");
        case ColTime:
            return QStringLiteral("时间");
        case ColText:
            return QStringLiteral("播放内容");
        case ColEngine:
            return QStringLiteral("语音引擎");
        case ColPlay:
            return QStringLiteral("播放");
        default:
            return {};
    }
}

}  // namespace timeann
