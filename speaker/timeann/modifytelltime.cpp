#include "speaker/core/dataset.h"
#include "speaker/timeann/timeann.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <array>

namespace timeann {

namespace {

struct EditColumn {
    const char* field;
    const char* title;
};
// Only "是否播放" is editable: the announcer finds rows by id, so they are neither added,
// removed nor renumbered here.
constexpr std::array<EditColumn, 4> kColumns{
    {{"ID", "No"}, {"stime", "时间"}, {"text", "播放内容"}, {"isplay", "是否播放"}}};
constexpr int kPlayColumn = 3;

// The four columns of table telltime the dialog shows, over the shared dataset; the switch
// is a check box that writes -1/0 to the table at once.
class TellTimeEditModel : public QAbstractTableModel {
public:
    TellTimeEditModel(core::Dataset& table, QObject* parent)
        : QAbstractTableModel(parent), table_(table) {
        auto reset = [this] {
            beginResetModel();
            endResetModel();
        };
        connect(&table_, &QAbstractItemModel::modelReset, this, reset);
        connect(&table_, &QAbstractItemModel::rowsInserted, this, reset);
        connect(&table_, &QAbstractItemModel::rowsRemoved, this, reset);
        connect(&table_, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& from, const QModelIndex& to) {
                    emit dataChanged(index(from.row(), 0), index(to.row(), kPlayColumn));
                });
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : table_.recordCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(kColumns.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const QVariant v = value(index);
        if (index.column() == kPlayColumn) {
            if (role == Qt::CheckStateRole)
                return v.toLongLong() != 0 ? Qt::Checked : Qt::Unchecked;
            if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
            return {};
        }
        return role == Qt::DisplayRole ? v : QVariant();
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || index.column() != kPlayColumn || role != Qt::CheckStateRole)
            return false;
        if (!table_.moveTo(index.row())) return false;
        const bool on = value.toInt() == Qt::Checked;
        return table_.setField(QString::fromLatin1(kColumns[kPlayColumn].field), on) &&
               table_.post();
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.column() == kPlayColumn) f |= Qt::ItemIsUserCheckable;
        return f;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        if (section < 0 || section >= int(kColumns.size())) return {};
        return QString::fromUtf8(kColumns[size_t(section)].title);
    }

private:
    QVariant value(const QModelIndex& index) const {
        return table_.value(
            index.row(),
            table_.fieldIndex(QString::fromLatin1(kColumns[size_t(index.column())].field)));
    }

    core::Dataset& table_;
};

}  // namespace

TFmodifytelltime::TFmodifytelltime(core::Dataset& telltime, QWidget* parent)
    : QDialog(parent), table_(telltime) {
    setObjectName(QStringLiteral("Fmodifytelltime"));
    setWindowTitle(QStringLiteral("修改定时播放语音报时"));
    resize(560, 520);
    auto* layout = new QVBoxLayout(this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(new TellTimeEditModel(table_, DBGrid1));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setWordWrap(false);
    DBGrid1->setColumnWidth(0, 40);
    DBGrid1->setColumnWidth(1, 80);
    DBGrid1->setColumnWidth(2, 280);
    DBGrid1->setColumnWidth(3, 70);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->installEventFilter(this);
    layout->addWidget(DBGrid1);
}

void TFmodifytelltime::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!DBGrid1->currentIndex().isValid() && DBGrid1->model()->rowCount() > 0)
        DBGrid1->setCurrentIndex(DBGrid1->model()->index(0, kPlayColumn));
}

void TFmodifytelltime::done(int result) {
    table_.checkBrowseMode();  // nothing pending is lost when the dialog closes
    QDialog::done(result);
}

bool TFmodifytelltime::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        // On the last row the arrow goes back one row: the grid never offers a new row.
        const QModelIndex current = DBGrid1->currentIndex();
        const int last = DBGrid1->model()->rowCount() - 1;
        if (current.isValid() && current.row() == last && last > 0) {
            DBGrid1->setCurrentIndex(DBGrid1->model()->index(last - 1, current.column()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace timeann
