// The main window's timetable editors: the bell page's "时间表编辑" button and its grid menu's
// "增加铃声" open them after the password; afterwards the bell page is refilled or rebuilt.
#include "speaker/app/mainwindow.h"
#include "speaker/app/windows.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/services/password.h"
#include "speaker/timetables/timetables.h"

#include <QComboBox>

namespace app {

void Tf_speaker::buildTimetables() {
    timetableEditors_ = std::make_unique<timetables::TimetableEditors>(services_, dm_);
    timetables::BellPage& bell = timetableEditors_->bell;
    bell.activeName = [this] { return Comb1->currentText(); };
    bell.schindex = [this] { return schindex; };
    bell.setSchname = [this](const QString& name) { schname = name; };
    bell.confirmPassword = [this] {
        return windows_ && services::askPassword(services_, *windows_->f_password);
    };
    // The bell scheduler may be missing (it is built first); then there is nothing to rebuild.
    auto onBells = [this](void (bellschedule::BellScheduler::*step)()) {
        return [this, step] {
            if (bellschedule::BellScheduler* bells = bellScheduler()) (bells->*step)();
        };
    };
    bell.getschlist = onBells(&bellschedule::BellScheduler::getschlist);
    bell.Comb1Change = onBells(&bellschedule::BellScheduler::Comb1Change);
    bell.getsgrid2data = onBells(&bellschedule::BellScheduler::getsgrid2data);
    bell.chkhaveplayed = onBells(&bellschedule::BellScheduler::chkhaveplayed);
    if (bellschedule::BellScheduler* bells = bellScheduler()) {
        bells->openTimetables = [this] { timetableEditors_->openTimetables(); };
        bells->addEntry = [this] { timetableEditors_->addEntry(); };
    }
}

}  // namespace app
