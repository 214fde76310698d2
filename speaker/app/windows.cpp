#include "speaker/app/windows.h"

#include "speaker/app/aboutwindow.h"
#include "speaker/app/mainwindow.h"
#include "speaker/broadcast/faddholiday.h"
#include "speaker/check/fcheckunplay.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/services/password.h"
#include "speaker/speech/fcycleread.h"
#include "speaker/speech/manualreading.h"
#include "speaker/timeann/timeann.h"

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
    w->fschplaymp3 = shell("fschplaymp3", "音乐播放计划");
    w->fschreader = shell("fschreader", "增加、修改播音计划");
    w->f_password = std::make_unique<services::Tf_password>(services);
    w->faddholiday =
        std::make_unique<broadcast::Tfaddholiday>(w->DM->Q_holiday(), *services.clock);
    w->freminder = shell("freminder", "每日提醒");
    w->Fscheduling = shell("Fscheduling", "作息时间表编辑");
    w->Fschedul_add = shell("Fschedul_add", "新建作息时间表");
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
    w->ftmptime = shell("ftmptime", "临时修改时间表");
    w->Finsertrate = shell("Finsertrate", "插入语速");
    w->Ffindtxt = shell("Ffindtxt", "定时主题内容");
    w->Finsertvoice = shell("Finsertvoice", "插入音量");
    w->f_speaker->setWindows(w.get());
    return w;
}

}  // namespace app
