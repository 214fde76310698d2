// The main window's plan commands: the today list's context menu (edit, delete, find, open
// text), its keys and double click, and the toolbar button that opens the plan editor.
#include "speaker/app/mainwindow.h"

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "speaker/app/windows.h"
#include "speaker/broadcast/textscheduler.h"
#include "speaker/core/services.h"
#include "speaker/plans/plancommands.h"
#include "speaker/plans/smalldialogs.h"
#include "speaker/services/password.h"
#include "speaker/speech/manualreading.h"

#include <QTableView>
#include <QToolButton>

namespace app {

void Tf_speaker::buildPlans() {
    plans::PlanCommands::Hooks h;
    h.askPassword = [this] {
        return windows_ && services::askPassword(services_, *windows_->f_password);
    };
    h.showEditor = [this] {
        if (windows_ && windows_->fschreader) services_.prompter->exec(*windows_->fschreader);
    };
    h.askFindText = [this]() -> std::optional<QString> {
        auto* find = windows_ ? qobject_cast<plans::TFfindtxt*>(windows_->Ffindtxt.get()) : nullptr;
        if (!find || services_.prompter->exec(*find) != QDialog::Accepted) return std::nullopt;
        return find->text();
    };
    h.currentPlanId = [this] { return textScheduler_ ? textScheduler_->currentPlanId() : 0; };
    h.currentPlanContent = [this] {
        return textScheduler_ ? textScheduler_->currentPlanContent() : QString();
    };
    h.setPlanTimer = [this](bool on) {
        if (textScheduler_) textScheduler_->playtext->setEnabled(on);
    };
    h.stopReading = [this] {
        if (reading_) reading_->SB_stopClick();
    };
    h.requestStop = [this] {
        if (stopReading) stopReading();
    };
    h.saveDocument = [this] {
        if (saveDocument) saveDocument();
    };
    h.gettodaydata = [this] {
        if (textScheduler_) textScheduler_->gettodaydata();
    };
    h.chkhaveplayed1 = [this] {
        if (textScheduler_) textScheduler_->chkhaveplayed1();
    };
    plans_ = std::make_unique<plans::PlanCommands>(*services_.prompter, dm_, SGrid1, Memo1,
                                                   std::move(h));
    if (auto* add = findChild<QToolButton*>(QStringLiteral("SB_addrecord"))) {
        add->setEnabled(true);
        connect(add, &QToolButton::clicked, plans_.get(), &plans::PlanCommands::E1Click);
    }
}

}  // namespace app
