#include "plansfixture.h"

#include "common/paths.h"
#include "platform/store/statement.h"
#include "speaker/core/dataset.h"
#include "speaker/plans/fieldcolumns.h"

#include <QFile>
#include <QTableView>

PlansTest::PlansTest(const QDateTime& start) : clock(start) {
    trace.setKeep(true);
    prompter.setTrace(&trace);
    services.programDir = common::addbackslash(dir.path());
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
}

void PlansTest::SetUp() {
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            services.programFile(QStringLiteral("draft.dat"))));
    dm = core::DM::create(services.programDir, prompter);
    ASSERT_TRUE(dm);
}

plans::Tfschreader& PlansTest::editor() {
    if (!editor_) {
        plans::Tfschreader::Hooks hooks;
        hooks.voices = {QStringLiteral("女声 国语 - Voice A"),
                        QStringLiteral("男声 国语 - Voice B")};
        hooks.mainVoiceIndex = [] { return 1; };
        hooks.askRate = [this] { return rateAnswer; };
        hooks.askVolume = [this] { return volumeAnswer; };
        editor_ = std::make_unique<plans::Tfschreader>(services, *dm, hooks);
        editor_->show();
    }
    return *editor_;
}

QVariant PlansTest::scalar(const QString& sql) {
    platform::Statement st(dm->conn1(), sql);
    EXPECT_TRUE(st.ok()) << st.errorText().toStdString();
    return st.step() == platform::StepResult::Row ? st.value(0) : QVariant();
}

QStringList PlansTest::messages() {
    QStringList texts;
    for (const auto& box : prompter.shown()) texts << box.text;
    prompter.clearShown();
    return texts;
}

QModelIndex PlansTest::planCell(int id, const QString& field) {
    plans::FieldColumns* model = editor().plansModel();
    core::Dataset& q = dm->Q_draft();
    EXPECT_TRUE(q.locate(QStringLiteral("id"), id));
    const QModelIndex index = model->index(q.row(), model->columnOf(field));
    editor().DBGridEh1->setCurrentIndex(index);
    return index;
}
