#include "speaker/bellschedule/bellgrid.h"

#include "speaker/core/dataset.h"

namespace bellschedule {

const QString BellGrid::kTick = QStringLiteral("√");
const QString BellGrid::kCross = QStringLiteral("×");

namespace {

const QString kEmpty;

bool yes(const QVariant& v) {
    return v.isValid() && !v.isNull() && v.toInt() != 0;
}

}  // namespace

const QString& BellGrid::cell(int row, int col) const {
    if (row < 1 || row > entryRows() || col < 0 || col >= ColumnCount) return kEmpty;
    return rows_[size_t(row - 1)][size_t(col)];
}

void BellGrid::setCell(int row, int col, const QString& text) {
    if (row < 1 || row > entryRows() || col < 0 || col >= ColumnCount) return;
    QString& c = rows_[size_t(row - 1)][size_t(col)];
    if (c == text) return;
    c = text;
    const QModelIndex at = index(row - 1, col);
    emit dataChanged(at, at);
}

void BellGrid::setEntryRows(int n) {
    n = std::max(0, n);
    const int old = entryRows();
    if (n == old) return;
    if (n < old) {
        beginRemoveRows({}, n, old - 1);
        rows_.resize(size_t(n));
        endRemoveRows();
    } else {
        beginInsertRows({}, old, n - 1);
        rows_.resize(size_t(n));
        endInsertRows();
    }
}

void BellGrid::setRow(int row, const Cells& cells) {
    if (row < 1 || row > entryRows()) return;
    rows_[size_t(row - 1)] = cells;
    emit dataChanged(index(row - 1, 0), index(row - 1, ColumnCount - 1));
}

BellGrid::Cells BellGrid::cellsOf(const core::Dataset& entries, int r) {
    auto text = [&](const char* field) {
        const int f = entries.fieldIndex(QString::fromLatin1(field));
        return f < 0 ? QString() : entries.value(r, f).toString();
    };
    auto tick = [&](const char* field) {
        const int f = entries.fieldIndex(QString::fromLatin1(field));
        return f >= 0 && yes(entries.value(r, f)) ? kTick : QString();
    };
    Cells c;
    c[ColStart] = text("playtime");
    c[ColEnd] = text("endtime");
    c[ColName] = text("name");
    c[ColFile] = text("filepath");
    static const char* const days[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                       "Friday", "Saturday", "Sunday"};
    for (int d = 0; d < 7; ++d) c[size_t(ColMonday + d)] = tick(days[d]);
    c[ColModel] = text("playmodel");
    c[ColLoop] = tick("dumpplay");
    c[ColWeather] = text("weather");
    c[ColId] = text("id");
    const int volume = entries.fieldIndex(QStringLiteral("voice"));
    c[ColVolume] = volume < 0 ? QString() : QString::number(entries.value(r, volume).toInt());
    return c;
}

int BellGrid::columnWidth(int col) {
    static const int widths[ColumnCount] = {20, 64, 64, 140, 238, 20, 20, 20, 20,
                                            20, 20, 20, 66,  32,  48, 0,  0,  32};
    return col >= 0 && col < ColumnCount ? widths[col] : 0;
}

int BellGrid::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : entryRows();
}

int BellGrid::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BellGrid::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return cell(index.row() + 1, index.column());
    return {};
}

QVariant BellGrid::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    // One line, centred both ways.
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    static const char* const headers[ColumnCount] = {
        "",   "开始时间", "结束时间", "主题",     "歌曲或列表", "一",   "二", "三", "四",
        "五", "六",       "日",       "播放方式", "循环",       "环境", "id", "",   "音量"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(headers[section]) : QString();
}

}  // namespace bellschedule
