// The main window's bell scheduler: the grid SGrid2 and the selector Comb1 of the bell page,
// the state buttons beside the selector, the password before the lock and the temporary
// changes, and the day's rebuild of the grid.
#include "speaker/app/mainwindow.h"
#include "speaker/app/windows.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/broadcast/textscheduler.h"
#include "speaker/core/services.h"
#include "speaker/services/password.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLayout>

namespace app {

namespace {

// The row layout that holds `widget` directly, searched below `layout`.
QBoxLayout* rowOf(QLayout* layout, QWidget* widget) {
    if (!layout) return nullptr;
    if (layout->indexOf(widget) >= 0) return qobject_cast<QBoxLayout*>(layout);
    for (int i = 0; i < layout->count(); ++i)
        if (QBoxLayout* found = rowOf(layout->itemAt(i)->layout(), widget)) return found;
    return nullptr;
}

}  // namespace

void Tf_speaker::buildBellSchedule() {
    bellScheduler_ = std::make_unique<bellschedule::BellScheduler>(
        services_, dm_, *channel_, *library_,
        bellschedule::BellWidgets{
            Comb1, SGrid2, [this](int panel, const QString& text) { setStatusText(panel, text); }},
        bellschedule::BellState{weather, runplaymp3, schindex, schname, nomusicday});
    bellschedule::BellScheduler* bells = bellScheduler_.get();
    if (QBoxLayout* row = rowOf(TabSheet2->layout(), Comb1))
        row->insertWidget(row->indexOf(Comb1) + 1, bells->panel());
    bells->confirmPassword = [this] {
        return windows_ && services::askPassword(services_, *windows_->f_password);
    };
    bells->tempEditDialog = [this]() -> QDialog* {
        return windows_ ? windows_->ftmptime.get() : nullptr;
    };
    // The shift dialog moves the today list of text plans with the bells.
    bells->shiftTextList = [this](int minutes) {
        if (broadcast::TextScheduler* text = textScheduler()) text->list().shiftTimes(minutes);
    };
    bells->restoreTextList = [this] {
        if (broadcast::TextScheduler* text = textScheduler()) {
            text->gettodaydata();
            text->chkhaveplayed1();
        }
    };
    // A new day: today's copy of the timetable afresh, the passed entries marked.
    connect(this, &Tf_speaker::dateChanged, bells, [bells] {
        bells->getsgrid2data();
        bells->chkhaveplayed();
    });
}

}  // namespace app
