#include "speaker/broadcast/holidays.h"

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "speaker/core/dataset.h"
#include "speaker/core/services.h"

#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

namespace broadcast {

namespace {
constexpr auto kMoneyGreen = "#C0DCC0";

bool yes(const QVariant& v) {
    return v.isValid() && !v.isNull() && v.toInt() != 0;
}

QString dateText(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}
}  // namespace

QDate holidayDate(const QVariant& stored) {
    if (!stored.isValid() || stored.isNull()) return {};
    if (stored.typeId() == QMetaType::QDate) return stored.toDate();
    if (stored.typeId() == QMetaType::QDateTime) return stored.toDateTime().date();
    // "yyyy-MM-dd", optionally followed by a time of day (which has no meaning here).
    const QString text = stored.toString().trimmed();
    if (text.size() > 10 && text[10] != QLatin1Char(' ') && text[10] != QLatin1Char('T')) return {};
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

HolidayFlags evaluateHolidays(const core::Dataset& holidays, const QDate& today) {
    const int date = holidays.fieldIndex(QStringLiteral("date"));
    const int txt = holidays.fieldIndex(QStringLiteral("txt"));
    const int mp3 = holidays.fieldIndex(QStringLiteral("mp3"));
    if (date < 0 || !today.isValid()) return {};
    // The first of today's rows in date order; rows appended since the last query may still
    // stand at the end, so the order is taken from the stored values themselves.
    int best = -1;
    QString bestText;
    for (int r = 0; r < holidays.recordCount(); ++r) {
        const QVariant stored = holidays.value(r, date);
        if (holidayDate(stored) != today) continue;
        const QString text = dateText(stored);
        if (best < 0 || text < bestText) {
            best = r;
            bestText = text;
        }
    }
    if (best < 0) return {};
    return {yes(holidays.value(best, txt)), yes(holidays.value(best, mp3))};
}

// ---------------------------------------------------------------- Grid3's model

HolidayGridModel::HolidayGridModel(core::Dataset& holidays, QObject* parent)
    : QAbstractTableModel(parent), ds_(holidays) {
    // Structural changes of the dataset are taken over whole; value changes cell by cell.
    const auto reset = [this] {
        beginResetModel();
        endResetModel();
    };
    connect(&ds_, &QAbstractItemModel::modelReset, this, reset);
    connect(&ds_, &QAbstractItemModel::layoutChanged, this, reset);
    connect(&ds_, &QAbstractItemModel::rowsInserted, this, reset);
    connect(&ds_, &QAbstractItemModel::rowsRemoved, this, reset);
    connect(&ds_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                if (!from.isValid() || !to.isValid()) return;
                emit dataChanged(index(from.row(), 0), index(to.row(), ColumnCount - 1));
            });
}

int HolidayGridModel::fieldOf(int column) const {
    switch (column) {
        case ColRemark:
            return ds_.fieldIndex(QStringLiteral("remark"));
        case ColDate:
            return ds_.fieldIndex(QStringLiteral("date"));
        case ColText:
            return ds_.fieldIndex(QStringLiteral("txt"));
        case ColMusic:
            return ds_.fieldIndex(QStringLiteral("mp3"));
        default:
            return -1;
    }
}

int HolidayGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ds_.recordCount();
}

int HolidayGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HolidayGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= ds_.recordCount()) return {};
    const int c = index.column();
    if (c == ColNo) return role == Qt::DisplayRole ? QVariant(index.row() + 1) : QVariant();
    const QVariant v = ds_.value(index.row(), fieldOf(c));
    if (c == ColText || c == ColMusic) {
        if (role == Qt::CheckStateRole) return yes(v) ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) return v.isNull() ? QVariant() : v;
    return {};
}

bool HolidayGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!editable_ || !index.isValid() || index.row() >= ds_.recordCount()) return false;
    const int c = index.column();
    QVariant stored;
    if ((c == ColText || c == ColMusic) && role == Qt::CheckStateRole) {
        stored = value.toInt() == Qt::Checked;
    } else if ((c == ColRemark || c == ColDate) && role == Qt::EditRole) {
        stored = value;
        // A date that is not one is refused rather than stored as text no day matches.
        if (c == ColDate && !value.toString().trimmed().isEmpty()) {
            const QDate day = holidayDate(value.toString().trimmed());
            if (!day.isValid()) return false;
            stored = value.toString().trimmed();
        }
    } else {
        return false;
    }
    if (!ds_.moveTo(index.row())) return false;
    if (!ds_.setField(ds_.fieldNames().value(fieldOf(c)), stored)) return false;
    return ds_.post();
}

QVariant HolidayGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
        case ColNo:
            return QStringLiteral("No");
        case ColRemark:
            return QStringLiteral("备注");
        case ColDate:
            return QStringLiteral("日期");
        case ColText:
            return QStringLiteral("文稿");
        case ColMusic:
            return QStringLiteral("音乐");
        default:
            return {};
    }
}

Qt::ItemFlags HolidayGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!editable_ || index.column() == ColNo) return f;
    if (index.column() == ColText || index.column() == ColMusic) return f | Qt::ItemIsUserCheckable;
    return f | Qt::ItemIsEditable;
}

// ---------------------------------------------------------------- the list

HolidayList::HolidayList(core::Services& services, core::Dataset& holidays, Hooks hooks,
                         QObject* parent)
    : QObject(parent),
      services_(services),
      ds_(holidays),
      hooks_(std::move(hooks)),
      model_(holidays) {
    // An edited list takes effect at once, so a date entered for today silences today.
    connect(&ds_, &core::Dataset::afterPost, this, &HolidayList::evaluate);
    connect(&ds_, &core::Dataset::afterDelete, this, &HolidayList::evaluate);
}

void HolidayList::attach(QTableView* grid) {
    grid_ = grid;
    gridObject_ = grid;
    grid->setModel(&model_);
    grid->verticalHeader()->hide();
    grid->setColumnWidth(HolidayGridModel::ColNo, 30);
    grid->setColumnWidth(HolidayGridModel::ColRemark, 120);
    grid->setColumnWidth(HolidayGridModel::ColDate, 140);
    grid->setColumnWidth(HolidayGridModel::ColText, 40);
    grid->setColumnWidth(HolidayGridModel::ColMusic, 40);
    grid->setStyleSheet(QStringLiteral("QTableView { background: teal; }"));
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; }")
            .arg(QString::fromLatin1(kMoneyGreen)));
    grid->installEventFilter(this);
    lock();
}

void HolidayList::lock() {
    model_.setEditable(false);
    if (grid_) grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void HolidayList::SB_modiClick() {
    if (!hooks_.confirmPassword || !hooks_.confirmPassword()) return;
    model_.setEditable(true);
    if (grid_)
        grid_->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
}

void HolidayList::SB_addClick() {
    if (!hooks_.confirmPassword || !hooks_.confirmPassword()) return;
    if (QDialog* dialog = hooks_.addDialog ? hooks_.addDialog() : nullptr)
        services_.prompter->exec(*dialog);
}

void HolidayList::deleteCurrent() {
    if (!model_.editable() || !grid_ || ds_.isEmpty()) return;
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) return;
    if (!services_.prompter->askyesno(QStringLiteral("Delete record?"))) return;
    if (ds_.moveTo(current.row())) ds_.remove();
}

bool HolidayList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == gridObject_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
            deleteCurrent();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void HolidayList::evaluate() {
    const HolidayFlags flags = evaluateHolidays(ds_, services_.clock->now().date());
    if (hooks_.setFlags) hooks_.setFlags(flags);
}

}  // namespace broadcast
