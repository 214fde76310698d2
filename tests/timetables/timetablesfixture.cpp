#include "timetablesfixture.h"

#include "common/paths.h"
#include "platform/store/store.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

TimetablesTest::TimetablesTest() : clock(QDateTime(QDate(2026, 12, 14), QTime(9, 15, 20))) {
    trace.setKeep(true);
    prompter.setTrace(&trace);
    audio = platform::makeNullAudioEngine(clock);
    services.programDir = common::addbackslash(dir.path());
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
    services.audio = audio.get();
}

void TimetablesTest::SetUp() {
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            services.programFile(QStringLiteral("draft.dat"))));
    dm = core::DM::create(services.programDir, prompter);
    ASSERT_TRUE(dm);
    editors = std::make_unique<timetables::TimetableEditors>(services, *dm);
    timetables::BellPage& bell = editors->bell;
    bell.activeName = [this] { return page.active; };
    bell.schindex = [this] { return page.schindex; };
    bell.setSchname = [this](const QString& name) { page.schname = name; };
    bell.confirmPassword = [this] { return page.password; };
    bell.getschlist = [this] { ++page.getschlist; };
    bell.Comb1Change = [this] { ++page.comb1Change; };
    bell.getsgrid2data = [this] { ++page.getsgrid2data; };
    bell.chkhaveplayed = [this] { ++page.chkhaveplayed; };
    editor = std::make_unique<timetables::Tfschplaymp3>(services, *dm, bell);
    list = std::make_unique<timetables::TFscheduling>(services, *dm, bell);
    add = std::make_unique<timetables::TFschedul_add>(services, *dm);
    editors->attach(editor.get(), list.get(), add.get());
    // The main tab has opened the entries of the active timetable, as at start-up.
    timetables::getgriddata(*dm, page.active);
}

QStringList TimetablesTest::timetableNames() {
    QStringList names;
    platform::Statement st(dm->conn1(),
                           QStringLiteral("select scheduling from scheduling order by id"));
    while (st.step() == platform::StepResult::Row) names << st.value(0).toString();
    return names;
}

int TimetablesTest::entryCount(const QString& scheduling) {
    platform::Statement st(dm->conn1(),
                           QStringLiteral("select count(*) from sch_det where scheduling=?"));
    st.bind(1, scheduling);
    return st.step() == platform::StepResult::Row ? st.value(0).toInt() : -1;
}

QVariantList TimetablesTest::entryField(const QString& scheduling, const QString& field) {
    QVariantList values;
    platform::Statement st(
        dm->conn1(),
        QStringLiteral("select * from sch_det where scheduling=? order by playtime,id"));
    st.bind(1, scheduling);
    while (st.step() == platform::StepResult::Row) values << st.value(field);
    return values;
}

QStringList TimetablesTest::messages() const {
    QStringList texts;
    for (const auto& box : prompter.shown()) texts << box.text;
    return texts;
}

void TimetablesTest::scriptAddDialog(const QString& name) {
    prompter.setDialogScript(QStringLiteral("Fschedul_add"), [name](QDialog& dialog) {
        auto& d = static_cast<timetables::TFschedul_add&>(dialog);
        d.show();
        d.Edit1->setText(name);
        d.Button1->click();
        d.Button2->click();
        return d.result();
    });
}

void TimetablesTest::scriptEntryEditor(std::function<void(timetables::Tfschplaymp3&)> work) {
    prompter.setDialogScript(QStringLiteral("fschplaymp3"), [work](QDialog& dialog) {
        auto& d = static_cast<timetables::Tfschplaymp3&>(dialog);
        d.show();
        work(d);
        d.Btn_close->click();
        return d.result();
    });
}

void TimetablesTest::selectInList(const QString& name) {
    const int index = list->Comb1->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    list->Comb1->setCurrentIndex(index);
}
