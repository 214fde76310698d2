#include "speaker/plans/plandelegates.h"

#include "speaker/core/dataset.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace plans {

QWidget* TimeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setInputMask(QStringLiteral("99:99:99"));
    return edit;
}

TitleDelegate::TitleDelegate(core::Dataset& texts, QObject* parent)
    : QStyledItemDelegate(parent), texts_(texts) {}

QWidget* TitleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                     const QModelIndex&) const {
    auto* box = new QComboBox(parent);
    const int id = texts_.fieldIndex(QStringLiteral("ID"));
    const int title = texts_.fieldIndex(QStringLiteral("title"));
    for (int r = 0; r < texts_.recordCount(); ++r) {
        const QVariant key = texts_.value(r, id);
        box->addItem(key.toString() + QStringLiteral("  ") + texts_.value(r, title).toString(),
                     key);
    }
    return box;
}

void TitleDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* box = static_cast<QComboBox*>(editor);
    const QVariant key = index.data(Qt::EditRole);
    for (int i = 0; i < box->count(); ++i)
        if (key.isValid() && !key.isNull() && box->itemData(i).toLongLong() == key.toLongLong()) {
            box->setCurrentIndex(i);
            return;
        }
    box->setCurrentIndex(-1);
}

void TitleDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    auto* box = static_cast<QComboBox*>(editor);
    if (box->currentIndex() < 0) return;
    model->setData(index, box->currentData().toInt(), Qt::EditRole);
}

ButtonCellDelegate::ButtonCellDelegate(std::function<void(int)> pressed, QObject* parent)
    : QStyledItemDelegate(parent), pressed_(std::move(pressed)) {}

QRect ButtonCellDelegate::buttonRect(const QRect& cell) {
    const int w = std::min(22, cell.width() / 2);
    return QRect(cell.right() - w + 1, cell.top() + 1, w - 1, cell.height() - 2);
}

void ButtonCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    cell.rect.setRight(buttonRect(option.rect).left() - 1);
    QStyledItemDelegate::paint(painter, cell, index);
    QStyleOptionButton button;
    button.rect = buttonRect(option.rect);
    button.text = QStringLiteral("...");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    const QWidget* w = option.widget;
    (w ? w->style() : QApplication::style())
        ->drawControl(QStyle::CE_PushButton, &button, painter, w);
}

bool ButtonCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonPress ||
        event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (buttonRect(option.rect).contains(mouse->position().toPoint())) {
            if (event->type() == QEvent::MouseButtonRelease && pressed_) pressed_(index.row());
            return true;
        }
    }
    QStyleOptionViewItem cell = option;
    cell.rect.setRight(buttonRect(option.rect).left() - 1);
    return QStyledItemDelegate::editorEvent(event, model, cell, index);
}

QSize ButtonCellDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.rwidth() += 24;
    return s;
}

}  // namespace plans
