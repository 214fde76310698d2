#include "speaker/broadcast/todaylist.h"

#include "common/timetext.h"

#include <QHeaderView>
#include <QTableView>
#include <QTime>

namespace broadcast {

namespace {
constexpr auto kMoneyGreen = "#C0DCC0";
const QString kTick = QStringLiteral("√");

struct ColumnLook {
    const char* header;
    int width;  // -1: hidden
};
// Header texts (UTF-8) and the widths the grid gets at start-up.
constexpr ColumnLook kLook[TodayList::kColumns] = {
    {"", 20},         {"No", 20},       {"开始时间", 64}, {"结束时间", 64}, {"主题", 120},
    {"简述", 180},    {"一", 20},       {"二", 20},       {"三", 20},       {"四", 20},
    {"五", 20},       {"六", 20},       {"日", 20},       {"定时", 32},     {"次数", 32},
    {"间隔", 32},     {"id", -1},       {"", -1},         {"音乐", 32},     {"播放方式", -1},
    {"文稿音量", 60}, {"音乐音量", 60}, {"语速", 32},     {"语音库", 220},  {"", -1},
    {"", -1}};
}  // namespace

TodayList::TodayList(QObject* parent) : QAbstractTableModel(parent) {}

const QString& TodayList::headerText(int col) {
    static const std::array<QString, kColumns> texts = [] {
        std::array<QString, kColumns> t;
        for (int c = 0; c < kColumns; ++c) t[size_t(c)] = QString::fromUtf8(kLook[c].header);
        return t;
    }();
    static const QString none;
    return col >= 0 && col < kColumns ? texts[size_t(col)] : none;
}

void TodayList::setRows(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const QString& TodayList::at(int row, int col) const {
    if (col < 0 || col >= kColumns) return empty_;
    if (row == 0) return headerText(col);
    if (row < 1 || row > planRows()) return empty_;
    return rows_[size_t(row - 1)][size_t(col)];
}

bool TodayList::ticked(int row, int col) const {
    return at(row, col) == kTick;
}

void TodayList::setCell(int row, int col, const QString& text) {
    if (row < 1 || row > planRows() || col < 0 || col >= kColumns) return;
    QString& cell = rows_[size_t(row - 1)][size_t(col)];
    if (cell == text) return;
    cell = text;
    const QModelIndex i = index(row - 1, col);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

int TodayList::rowOfId(int id) const {
    const QString key = QString::number(id);
    for (int r = 1; r <= planRows(); ++r)
        if (at(r, ColId) == key) return r;
    return 0;
}

void TodayList::shiftTimes(int minutes) {
    constexpr int kDay = 24 * 3600;
    // Reduced first, so a shift of any size wraps within the day.
    const int shift = ((minutes % 1440) * 60 + kDay) % kDay;
    for (int r = 1; r <= planRows(); ++r) {
        for (int col : {int(ColStart), int(ColEnd)}) {
            const QString text = at(r, col).trimmed();
            if (!common::isTimeText(text)) continue;
            const QTime t = QTime::fromString(text, QStringLiteral("hh:mm:ss"));
            const int secs = (t.msecsSinceStartOfDay() / 1000 + shift) % kDay;
            setCell(
                r, col,
                QTime::fromMSecsSinceStartOfDay(secs * 1000).toString(QStringLiteral("hh:mm:ss")));
        }
    }
}

void TodayList::attach(QTableView* view) {
    view->setModel(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setToolTip(QStringLiteral("空格、回车、双击或右键进行选择"));
    view->verticalHeader()->hide();  // no fixed columns
    QHeaderView* header = view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; color: palette(window-text); }")
            .arg(QString::fromLatin1(kMoneyGreen)));
    for (int c = 0; c < kColumns; ++c) {
        if (kLook[c].width < 0)
            view->setColumnHidden(c, true);
        else
            view->setColumnWidth(c, kLook[c].width);
    }
}

int TodayList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : planRows();
}

int TodayList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant TodayList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return at(index.row() + 1, index.column());
}

QVariant TodayList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role == Qt::DisplayRole) return headerText(section);
    return {};
}

}  // namespace broadcast
