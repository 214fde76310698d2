#include "speaker/bellschedule/fchangtime.h"

#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/core/services.h"

#include <QComboBox>
#include <QGridLayout>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace bellschedule {

Tfchangtime::Tfchangtime(core::Services& services, BellScheduler& bells, QWidget* parent)
    : QDialog(parent), services_(services), bells_(bells) {
    setObjectName(QStringLiteral("fchangtime"));
    setWindowTitle(QStringLiteral("作息时间表临时变更"));
    auto* grid = new QGridLayout(this);
    Comb1 = new QComboBox(this);
    Comb1->setObjectName(QStringLiteral("Comb1"));
    Comb1->addItems({QStringLiteral("整体临时提前"), QStringLiteral("整体临时推迟"),
                     QStringLiteral("作息表还原")});
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 60);
    SpinEdit1->setValue(5);
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(new QLabel(QStringLiteral("动作"), this), 0, 0);
    grid->addWidget(Comb1, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("时间"), this), 1, 0);
    grid->addWidget(SpinEdit1, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("分钟"), this), 1, 2);
    grid->addWidget(Button1, 2, 1);
    connect(Comb1, &QComboBox::currentIndexChanged, this, &Tfchangtime::Comb1Change);
    connect(Button1, &QPushButton::clicked, this, &Tfchangtime::Button1Click);
}

void Tfchangtime::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    totalshift = 0;
}

void Tfchangtime::Comb1Change() {
    SpinEdit1->setEnabled(Comb1->currentIndex() != Restore);
}

void Tfchangtime::Button1Click() {
    const int action = Comb1->currentIndex();
    if (action == Restore) {
        bells_.Comb1Change();
        if (bells_.restoreTextList) bells_.restoreTextList();
        services_.trace->record(QStringLiteral("bell.shift"), {{"minutes", 0}, {"restore", true}});
        services_.prompter->showinfo(QStringLiteral("作息表时间已还原!"));
        return;
    }
    const int minutes = action == Earlier ? -SpinEdit1->value() : SpinEdit1->value();
    bells_.shiftTimes(minutes);
    if (bells_.shiftTextList) bells_.shiftTextList(minutes);
    bells_.chkhaveplayed();
    totalshift += minutes;
    services_.trace->record(QStringLiteral("bell.shift"),
                            {{"minutes", minutes}, {"restore", false}});
    if (totalshift <= 0)
        services_.prompter->showinfo(QStringLiteral("整体提前了：") + QString::number(-totalshift) +
                                     QStringLiteral("分钟 !"));
    else
        services_.prompter->showinfo(QStringLiteral("整体推迟了：") + QString::number(totalshift) +
                                     QStringLiteral("分钟 !"));
}

}  // namespace bellschedule
