#include "speaker/broadcast/faddholiday.h"

#include "platform/clock/clock.h"
#include "speaker/core/dataset.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace broadcast {

Tfaddholiday::Tfaddholiday(core::Dataset& holidays, platform::Clock& clock, QWidget* parent)
    : QDialog(parent), ds_(holidays), clock_(clock) {
    setObjectName(QStringLiteral("faddholiday"));
    setWindowTitle(QStringLiteral("增加不播音日期"));
    // Only a close box.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* layout = new QFormLayout(this);
    DateTime1 = new QDateEdit(this);
    DateTime1->setObjectName(QStringLiteral("DateTime1"));
    DateTime1->setCalendarPopup(true);
    DateTime1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    chk_txt = new QCheckBox(QStringLiteral("不播文稿"), this);
    chk_txt->setObjectName(QStringLiteral("chk_txt"));
    chk_txt->setChecked(true);
    chk_mp3 = new QCheckBox(QStringLiteral("不播MP3"), this);
    chk_mp3->setObjectName(QStringLiteral("chk_mp3"));
    chk_mp3->setChecked(true);
    BitBtn1 = new QPushButton(QStringLiteral("增加"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    layout->addRow(QStringLiteral("日期"), DateTime1);
    layout->addRow(QStringLiteral("备注"), Edit1);
    layout->addRow(chk_txt);
    layout->addRow(chk_mp3);
    layout->addRow(BitBtn1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfaddholiday::BitBtn1Click);
    DateTime1->setDate(clock_.now().date());
}

void Tfaddholiday::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    DateTime1->setDate(clock_.now().date());
}

void Tfaddholiday::BitBtn1Click() {
    // Stored with the time of day, as the picker holds it; only the day counts.
    const QDateTime when(DateTime1->date(), clock_.now().time());
    if (!ds_.append()) return;
    // As text in the form the table holds, so the list's date order stays right.
    ds_.setField(QStringLiteral("date"), when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    ds_.setField(QStringLiteral("txt"), chk_txt->isChecked());
    ds_.setField(QStringLiteral("mp3"), chk_mp3->isChecked());
    ds_.setField(QStringLiteral("remark"), Edit1->text());
    if (!ds_.post()) ds_.cancel();
}

}  // namespace broadcast
