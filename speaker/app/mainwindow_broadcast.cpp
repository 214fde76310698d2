// The main window's text broadcasts: the today list SGrid1 with its scheduler, and the list of
// dates without broadcasts on the settings page with the holiday flags.
#include "speaker/app/mainwindow.h"

#include "speaker/app/windows.h"
#include "speaker/bells/backgroundmusic.h"
#include "speaker/broadcast/holidays.h"
#include "speaker/broadcast/textscheduler.h"
#include "speaker/core/dm.h"
#include "speaker/services/password.h"
#include "speaker/speech/manualreading.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

namespace app {

void Tf_speaker::buildTextSchedule() {
    broadcast::TextScheduler::Hooks hooks;
    hooks.memo = Memo1;
    hooks.reading = reading_.get();
    hooks.voices = [this] { return voicePanel_; };
    hooks.notextday = [this] { return notextday; };
    hooks.textPageActive = [this] { return RzPageControl1->currentWidget() == TabSheet1; };
    hooks.setMusicVolume = [this](int volume) { bj_v1->setValue(volume); };
    hooks.musicPlay = [this] {
        if (backgroundMusic_) backgroundMusic_->bj_playClick();
    };
    hooks.musicStop = [this] {
        if (backgroundMusic_) backgroundMusic_->bj_stopClick();
    };
    textScheduler_ = std::make_unique<broadcast::TextScheduler>(services_, dm_, std::move(hooks));
    textScheduler_->attach(SGrid1);
    if (reading_) reading_->clearPlanPlaying = [this] { textScheduler_->planplaying = false; };
    // First of the day's rebuilds.
    connect(this, &Tf_speaker::dateChanged, textScheduler_.get(),
            [this] { textScheduler_->gettodaydata(); });
}

void Tf_speaker::buildHolidays() {
    auto* box = qobject_cast<QGroupBox*>(Grid3->parentWidget());
    if (box) {
        auto* row = new QHBoxLayout;
        SB_modi = new QToolButton(box);
        SB_modi->setObjectName(QStringLiteral("SB_modi"));
        SB_modi->setText(QStringLiteral("修改"));
        SB_add = new QToolButton(box);
        SB_add->setObjectName(QStringLiteral("SB_add"));
        SB_add->setText(QStringLiteral("增加"));
        row->addWidget(SB_modi);
        row->addWidget(SB_add);
        row->addStretch(1);
        if (auto* column = qobject_cast<QBoxLayout*>(box->layout())) column->insertLayout(0, row);
        box->setEnabled(true);
    }
    broadcast::HolidayList::Hooks hooks;
    hooks.confirmPassword = [this] {
        return windows_ && services::askPassword(services_, *windows_->f_password);
    };
    hooks.addDialog = [this]() -> QDialog* {
        return windows_ ? windows_->faddholiday.get() : nullptr;
    };
    hooks.setFlags = [this](const broadcast::HolidayFlags& flags) {
        notextday = flags.notextday;
        nomusicday = flags.nomusicday;
    };
    holidays_ =
        std::make_unique<broadcast::HolidayList>(services_, dm_.Q_holiday(), std::move(hooks));
    holidays_->attach(Grid3);
    if (SB_modi) {
        connect(SB_modi, &QToolButton::clicked, holidays_.get(),
                &broadcast::HolidayList::SB_modiClick);
        connect(SB_add, &QToolButton::clicked, holidays_.get(),
                &broadcast::HolidayList::SB_addClick);
    }
    // Showing the settings page locks the list again.
    connect(RzPageControl1, &QTabWidget::currentChanged, holidays_.get(), [this](int index) {
        if (RzPageControl1->widget(index) == TabSheet3) holidays_->lock();
    });
    // Last of the day's rebuilds: the flags follow the lists.
    connect(this, &Tf_speaker::dateChanged, holidays_.get(), [this] { holidays_->evaluate(); });
}

}  // namespace app
