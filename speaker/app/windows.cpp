#include "speaker/app/windows.h"

#include "speaker/app/aboutwindow.h"
#include "speaker/app/mainwindow.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/bellschedule/ftmptime.h"
#include "speaker/broadcast/faddholiday.h"
#include "speaker/check/fcheckunplay.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/plans/fschreader.h"
#include "speaker/plans/smalldialogs.h"
#include "speaker/services/password.h"
#include "speaker/speech/fcycleread.h"
#include "speaker/speech/manualreading.h"
#include "speaker/timeann/timeann.h"
#include "speaker/timetables/timetables.h"

#include <QComboBox>

namespace app {

ShellWindow::ShellWindow(const QString& objectName, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
}

Windows::Windows() = default;
Windows::~Windows() {
    // Windows go before the data module they are bound to.
    f_speaker.reset();
}

std::vector<QWidget*> Windows::all() const {
    return {f_speaker.get(),   f_sch.get(),           f_shutprompt.get(), f_about.get(),
            fschplaymp3.get(), fschreader.get(),      f_password.get(),   faddholiday.get(),
            freminder.get(),   Fscheduling.get(),     Fschedul_add.get(), fdateformat.get(),
            Fcycleread.get(),  Fdelaytime.get(),      Faddbiaodian.get(), Fmodifytelltime.get(),
            Fcheckunplay.get(), Frecunit1.get(),      ftmptime.get(),     Finsertrate.get(),
            Ffindtxt.get(),    Finsertvoice.get()};
}

std::unique_ptr<Windows> createWindows(core::Services& services) {
    auto w = std::make_unique<Windows>();
    w->DM = core::DM::create(services.programDir, *services.prompter);
    if (!w->DM) return nullptr;
    auto shell = [](const char* name, const char* caption) {
        return std::make_unique<ShellWindow>(QString::fromLatin1(name),
                                             QString::fromUtf8(caption));
    };
    w->f_speaker = std::make_unique<Tf_speaker>(services, *w->DM);
    w->f_sch = shell("f_sch", "计划任务");
    w->f_shutprompt = shell("f_shutprompt", "关机提醒");
    w->f_about = std::make_unique<Tf_about>();
    timetables::TimetableEditors& timetableEditors = *w->f_speaker->timetableEditors();
    auto entryEditor =
        std::make_unique<timetables::Tfschplaymp3>(services, *w->DM, timetableEditors.bell);
    timetables::Tfschplaymp3* fschplaymp3 = entryEditor.get();
    w->fschplaymp3 = std::move(entryEditor);
    {
        // The editor copies the main window's voice list; the mark dialogs come later.
        plans::Tfschreader::Hooks hooks;
        QComboBox* voices = w->f_speaker->flatComboBox1;
        for (int i = 0; i < voices->count(); ++i) hooks.voices << voices->itemText(i);
        hooks.mainVoiceIndex = [voices] { return voices->currentIndex(); };
        Windows* all = w.get();
        hooks.askRate = [all, &services] {
            return plans::askValue(*services.prompter, all->Finsertrate.get());
        };
        hooks.askVolume = [all, &services] {
            return plans::askValue(*services.prompter, all->Finsertvoice.get());
        };
        w->fschreader = std::make_unique<plans::Tfschreader>(services, *w->DM, std::move(hooks));
    }
    w->f_password = std::make_unique<services::Tf_password>(services);
    w->faddholiday =
        std::make_unique<broadcast::Tfaddholiday>(w->DM->Q_holiday(), *services.clock);
    w->freminder = shell("freminder", "每日提醒");
    auto timetableList =
        std::make_unique<timetables::TFscheduling>(services, *w->DM, timetableEditors.bell);
    auto timetableAdd = std::make_unique<timetables::TFschedul_add>(services, *w->DM);
    timetableEditors.attach(fschplaymp3, timetableList.get(), timetableAdd.get());
    w->Fscheduling = std::move(timetableList);
    w->Fschedul_add = std::move(timetableAdd);
    w->fdateformat = shell("fdateformat", "选择动态日期时间格式");
    auto loopDialog = std::make_unique<speech::TFcycleread>(services.iniPath());
    if (auto* reading = w->f_speaker->reading()) reading->setLoopDialog(loopDialog.get());
    w->Fcycleread = std::move(loopDialog);
    w->Fdelaytime = shell("Fdelaytime", "系统设置");
    w->Faddbiaodian = shell("Faddbiaodian", "新增延时符号");
    w->Fmodifytelltime = std::make_unique<timeann::TFmodifytelltime>(w->DM->Q_telltime());
    w->Fcheckunplay =
        std::make_unique<check::TFcheckunplay>(w->f_speaker->channel(), *services.prompter);
    w->Frecunit1 = shell("Frecunit1", "录音程序(录制电脑发的声音)");
    w->ftmptime = std::make_unique<bellschedule::Tftmptime>(services, *w->DM,
                                                            *w->f_speaker->bellScheduler());
    w->Finsertrate = plans::makeInsertRate();
    w->Ffindtxt = std::make_unique<plans::TFfindtxt>(*services.prompter);
    w->Finsertvoice = plans::makeInsertVoice();
    w->f_speaker->setWindows(w.get());
    return w;
}

}  // namespace app
