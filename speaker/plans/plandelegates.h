#pragma once
// Cell editors of the plans grid: times typed through the mask 99:99:99, the text chosen from
// a drop-down list of "ID" and "主题", and the music cell's check box with a button beside it.

#include <QStyledItemDelegate>

#include <functional>

namespace core {
class Dataset;
}

namespace plans {

class TimeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};

// The editor lists the texts of `texts`; the chosen text's ID is written.
class TitleDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TitleDelegate(core::Dataset& texts, QObject* parent = nullptr);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    core::Dataset& texts_;
};

// A check box cell with a small "..." button at its right edge that runs `pressed(row)`.
class ButtonCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ButtonCellDelegate(std::function<void(int row)> pressed, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QRect buttonRect(const QRect& cell);

private:
    std::function<void(int)> pressed_;
};

}  // namespace plans
