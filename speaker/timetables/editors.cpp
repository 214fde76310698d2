#include "platform/prompter/prompter.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/timetables/timetables.h"

namespace timetables {

namespace {
void run(const std::function<void()>& hook) {
    if (hook) hook();
}
}  // namespace

void getgriddata(core::DM& dm, const QString& name) {
    core::Dataset& entries = dm.Q_mp3();
    entries.close();
    entries.setSql(core::DM::mp3Sql);
    entries.setParam(QStringLiteral("aa"), name);
    entries.open();
}

void deleteCurrentEntry(core::Services& services, core::DM& dm, BellPage& bell) {
    core::Dataset& entries = dm.Q_mp3();
    if (!entries.isOpen() || entries.isEmpty()) return;
    if (!services.prompter->askyesno(QStringLiteral("确信要删除该记录?"))) return;
    if (!entries.remove()) return;
    // The bell grid is today's copy of the active timetable; it follows a deletion there.
    const QString listed = entries.param(QStringLiteral("aa")).toString();
    if (bell.activeName && listed == bell.activeName().trimmed()) {
        run(bell.getsgrid2data);
        run(bell.chkhaveplayed);
    }
}

void TimetableEditors::attach(Tfschplaymp3* editor, TFscheduling* list, TFschedul_add* add) {
    editor_ = editor;
    list_ = list;
    add_ = add;
    if (list_) list_->setDialogs(editor_, add_);
    if (add_ && list_) add_->afterStore = [list = list_] { list->getlist(); };
}

void TimetableEditors::openTimetables() {
    if (!list_ || !bell.confirmPassword || !bell.confirmPassword()) return;
    const QString before = bell.activeName ? bell.activeName() : QString();
    list_->FormShow();
    services_.prompter->exec(*list_);
    run(bell.getschlist);
    // The selector keeps its position; when that position now names another timetable (one
    // before it was deleted), the bell grid follows the name it shows.
    if (bell.activeName && bell.activeName() != before) run(bell.Comb1Change);
}

void TimetableEditors::addEntry() {
    if (!editor_ || !bell.confirmPassword || !bell.confirmPassword()) return;
    const QString name = bell.activeName ? bell.activeName() : QString();
    // Without a timetable an entry would belong to none.
    if (name.trimmed().isEmpty()) return;
    if (bell.setSchname) bell.setSchname(name);
    editor_->setSchname(name);
    dm_.datachanged = false;
    editor_->FormShow();
    services_.prompter->exec(*editor_);
    if (dm_.datachanged) {
        run(bell.getsgrid2data);
        run(bell.chkhaveplayed);
    }
}

}  // namespace timetables
