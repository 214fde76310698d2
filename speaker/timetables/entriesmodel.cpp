#include "speaker/timetables/entriesmodel.h"

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QTableView>

#include <array>

#include "speaker/core/dataset.h"

namespace timetables {

namespace {

struct ColumnInfo {
    const char* field;
    const char* title;
    int width;
};
constexpr std::array<ColumnInfo, EntriesModel::ColumnCount> kColumns{{
    {"", "No", 32},
    {"name", "主题", 110},
    {"playtime", "播放时间", 70},
    {"endtime", "结束时间", 70},
    {"filepath", "歌曲或列表", 220},
    {"Monday", "一", 24},
    {"Tuesday", "二", 24},
    {"Wednesday", "三", 24},
    {"Thursday", "四", 24},
    {"Friday", "五", 24},
    {"Saturday", "六", 24},
    {"Sunday", "日", 24},
    {"playmodel", "播放方式", 70},
    {"dumpplay", "循环", 36},
    {"weather", "播放环境", 70},
    {"voice", "音量", 44},
}};

// The pale green of the columns that only 修改歌曲名 unlocks (colour value 12639424).
const QColor kLockedColour(0xC0, 0xDC, 0xC0);

bool isFlag(int column) {
    return (column >= EntriesModel::ColMonday && column <= EntriesModel::ColSunday) ||
           column == EntriesModel::ColLoop;
}

bool isTime(int column) {
    return column == EntriesModel::ColPlaytime || column == EntriesModel::ColEndtime;
}

}  // namespace

QString EntriesModel::fieldOf(int column) {
    if (column < 0 || column >= ColumnCount) return {};
    return QString::fromLatin1(kColumns[std::size_t(column)].field);
}

const QStringList& EntriesModel::weatherChoices() {
    static const QStringList choices{QStringLiteral("全天侯"), QStringLiteral("仅晴天"),
                                     QStringLiteral("仅雨天")};
    return choices;
}

EntriesModel::EntriesModel(core::Dataset& entries, bool editable, QObject* parent)
    : QAbstractTableModel(parent), entries_(entries), editable_(editable) {
    // The query's own row signals, forwarded; "No" follows the positions after a removal.
    connect(&entries_, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { beginResetModel(); });
    connect(&entries_, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); });
    connect(&entries_, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) { beginInsertRows({}, first, last); });
    connect(&entries_, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
    connect(&entries_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { beginRemoveRows({}, first, last); });
    connect(&entries_, &QAbstractItemModel::rowsRemoved, this, [this] {
        endRemoveRows();
        if (rowCount() > 0) emit dataChanged(index(0, ColNo), index(rowCount() - 1, ColNo));
    });
    connect(&entries_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                emit dataChanged(index(from.row(), 0), index(to.row(), ColumnCount - 1));
            });
}

void EntriesModel::setFileLocked(bool locked) {
    if (fileLocked_ == locked) return;
    fileLocked_ = locked;
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int EntriesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : entries_.recordCount();
}

int EntriesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(ColumnCount);
}

QVariant EntriesModel::value(int row, int column) const {
    return entries_.value(row, entries_.fieldIndex(fieldOf(column)));
}

QVariant EntriesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int column = index.column();
    if (column == ColNo) return role == Qt::DisplayRole ? QVariant(index.row() + 1) : QVariant();
    if (isFlag(column)) {
        if (role == Qt::CheckStateRole)
            return value(index.row(), column).toInt() != 0 ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    switch (role) {
        case Qt::DisplayRole: {
            const QVariant v = value(index.row(), column);
            // The pick list shows a value it does not hold as its first choice.
            if (editable_ && column == ColWeather && !weatherChoices().contains(v.toString()))
                return weatherChoices().first();
            return v;
        }
        case Qt::EditRole:
            return value(index.row(), column);
        case Qt::BackgroundRole:
            if (editable_ && fileLocked_ && (column == ColFile || column == ColPlaymodel))
                return kLockedColour;
            return {};
        case Qt::ToolTipRole:
            if (editable_ && column == ColFile) return QStringLiteral("点击选择音乐文件");
            return {};
        default:
            return {};
    }
}

bool EntriesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    const int column = index.column();
    QVariant stored;
    if (isFlag(column)) {
        if (role != Qt::CheckStateRole) return false;
        stored = value.toInt() == Qt::Checked;
    } else {
        if (role != Qt::EditRole) return false;
        stored = column == ColVolume ? QVariant(value.toInt()) : value;
    }
    if (!entries_.moveTo(index.row())) return false;
    if (!entries_.setField(fieldOf(column), stored)) return false;
    return entries_.post();
}

QVariant EntriesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= ColumnCount) return {};
    return QString::fromUtf8(kColumns[std::size_t(section)].title);
}

Qt::ItemFlags EntriesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!editable_) return f;
    const int column = index.column();
    if (isFlag(column)) return f | Qt::ItemIsUserCheckable;
    switch (column) {
        case ColName:
        case ColPlaytime:
        case ColEndtime:
        case ColWeather:
        case ColVolume:
            return f | Qt::ItemIsEditable;
        case ColFile:
        case ColPlaymodel:
            return fileLocked_ ? f : f | Qt::ItemIsEditable;
        default:
            return f;
    }
}

// ---------------------------------------------------------------- in-place editors

EntriesDelegate::EntriesDelegate(std::function<void()> chooseFile, QObject* parent)
    : QStyledItemDelegate(parent), chooseFile_(std::move(chooseFile)) {}

QWidget* EntriesDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    const int column = index.column();
    if (isTime(column)) {
        auto* edit = new QLineEdit(parent);
        edit->setInputMask(QStringLiteral("99:99:99"));
        return edit;
    }
    if (column == EntriesModel::ColWeather) {
        auto* box = new QComboBox(parent);
        box->addItems(EntriesModel::weatherChoices());
        return box;
    }
    if (column == EntriesModel::ColVolume) {
        auto* box = new QSpinBox(parent);
        box->setRange(0, 100);
        return box;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void EntriesDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QVariant v = index.data(Qt::EditRole);
    if (auto* box = qobject_cast<QComboBox*>(editor);
        box && index.column() == EntriesModel::ColWeather) {
        box->setCurrentIndex(std::max(0, box->findText(v.toString())));
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->setValue(v.toInt());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && isTime(index.column())) {
        edit->setText(v.toString());
    } else {
        QStyledItemDelegate::setEditorData(editor, index);
    }
}

void EntriesDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                   const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor);
        box && index.column() == EntriesModel::ColWeather) {
        model->setData(index, box->currentText());
    } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->interpretText();
        model->setData(index, spin->value());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && isTime(index.column())) {
        // An incomplete mask yields a short text, which the store's check refuses.
        model->setData(index, edit->text());
    } else {
        QStyledItemDelegate::setModelData(editor, model, index);
    }
}

QRect EntriesDelegate::buttonRect(const QRect& cell) {
    const int w = std::min(20, cell.width());
    return QRect(cell.right() - w + 1, cell.top(), w, cell.height());
}

void EntriesDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.column() != EntriesModel::ColFile) return;
    QStyleOptionButton button;
    button.rect = buttonRect(option.rect);
    button.text = QStringLiteral("…");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

bool EntriesDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                  const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (index.column() == EntriesModel::ColFile &&
        (event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::MouseButtonPress) &&
        buttonRect(option.rect).contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        if (event->type() == QEvent::MouseButtonRelease && chooseFile_) {
            // The button acts on its own row.
            auto* entries = qobject_cast<EntriesModel*>(model);
            if (entries && !entries->entries().moveTo(index.row())) return true;
            chooseFile_();
        }
        return true;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

// ---------------------------------------------------------------- the grid

void bindGrid(QTableView* view, EntriesModel* model, bool wholeRows) {
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(wholeRows ? QAbstractItemView::SelectRows
                                         : QAbstractItemView::SelectItems);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    for (int c = 0; c < EntriesModel::ColumnCount; ++c)
        view->setColumnWidth(c, kColumns[std::size_t(c)].width);
    core::Dataset& entries = model->entries();
    QObject::connect(
        view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
        [view, &entries](const QModelIndex& current) {
            if (!current.isValid() || current.row() == entries.row()) return;
            // A pending change the check refuses keeps the cursor where it is.
            if (!entries.moveTo(current.row()) && entries.row() >= 0)
                view->setCurrentIndex(view->model()->index(entries.row(), current.column()));
        });
    QObject::connect(
        &entries, &core::Dataset::dataChange, view, [view, &entries](const QString& field) {
            if (!field.isEmpty() || entries.row() < 0) return;
            const QModelIndex current = view->currentIndex();
            if (current.isValid() && current.row() == entries.row()) return;
            view->setCurrentIndex(
                view->model()->index(entries.row(), current.isValid() ? current.column() : 1));
        });
}

}  // namespace timetables
