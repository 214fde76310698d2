#include "speaker/speech/fcycleread.h"

#include "speaker/core/preferences.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>

namespace speech {

TFcycleread::TFcycleread(const QString& iniPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), iniPath_(iniPath) {
    setObjectName(QStringLiteral("Fcycleread"));
    setWindowTitle(QStringLiteral("范围循环朗读"));
    auto* form = new QFormLayout(this);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 1000000);
    SpinEdit2 = new QSpinBox(this);
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setRange(1, 10000000);
    form->addRow(QStringLiteral("朗读次数"), SpinEdit1);
    form->addRow(QStringLiteral("间隔秒数"), SpinEdit2);

    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("设为默认"), this);
    save->setObjectName(QStringLiteral("BitBtn2"));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    // Enter moves between the boxes; only a click confirms.
    for (QPushButton* b : {save, ok}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    buttons->addWidget(save);
    buttons->addWidget(ok);
    form->addRow(buttons);
    connect(save, &QPushButton::clicked, this, &TFcycleread::BitBtn2Click);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    SpinEdit1->installEventFilter(this);
    SpinEdit2->installEventFilter(this);

    const core::Preferences prefs(iniPath_);
    SpinEdit1->setValue(prefs.readInt(core::pref::Readtimes));
    SpinEdit2->setValue(prefs.readInt(core::pref::Intervaltime));
}

int TFcycleread::readtimes() const {
    return SpinEdit1->value();
}
int TFcycleread::intervaltime() const {
    return SpinEdit2->value();
}

void TFcycleread::BitBtn2Click() {
    core::Preferences prefs(iniPath_);
    prefs.writeInt(core::pref::Readtimes, SpinEdit1->value());
    prefs.writeInt(core::pref::Intervaltime, SpinEdit2->value());
}

bool TFcycleread::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace speech
