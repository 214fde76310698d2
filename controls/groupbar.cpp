#include "controls/groupbar.h"

#include <QToolButton>
#include <QVBoxLayout>

TGroupBarGroup::TGroupBarGroup(const QString& caption, QWidget* parent) : QWidget(parent) {
    header_ = new QToolButton(this);
    header_->setText(caption);
    header_->setCheckable(true);
    header_->setChecked(true);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setArrowType(Qt::DownArrow);
    header_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    body_ = new QWidget(this);
    bodyLayout_ = new QVBoxLayout(body_);
    bodyLayout_->setContentsMargins(4, 4, 4, 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header_);
    layout->addWidget(body_);
    connect(header_, &QToolButton::clicked, this, [this](bool on) { setOpened(on); });
}

void TGroupBarGroup::setOpened(bool on) {
    if (on == opened_) return;
    opened_ = on;
    header_->setChecked(on);
    header_->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
    body_->setVisible(on);
    emit openedChanged(on);
}
