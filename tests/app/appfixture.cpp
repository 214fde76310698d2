#include "appfixture.h"

#include "common/paths.h"
#include "speaker/app/mainwindow.h"
#include "speaker/services/password.h"

#include <QDialog>
#include <QFile>

AppTest::AppTest(const QDateTime& start) : clock(start) {
    trace.setKeep(true);
    prompter.setTrace(&trace);
    services.programDir = common::addbackslash(dir.path());
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
    services.openUrl = [this](const QUrl& url) {
        trace.record(QStringLiteral("open"), {{QStringLiteral("url"), url.toString()}});
        return true;
    };
    services.beep = [this](int hz, int ms) { beeps.push_back({hz, ms}); };
    services.quit = [this] { ++quitCalls; };
    typeAtPasswordDialog(QString());
}

void AppTest::installDatabase() {
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            services.programFile(QStringLiteral("draft.dat"))));
}

void AppTest::writeIni(const QString& text) {
    QFile f(services.iniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

QString AppTest::readIni() const {
    QFile f(services.iniPath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

app::Windows& AppTest::start() {
    windows = app::createWindows(services);
    EXPECT_TRUE(windows);
    windows->f_speaker->show();
    return *windows;
}

void AppTest::typeAtPasswordDialog(const QString& text) {
    prompter.setDialogScript(QStringLiteral("f_password"), [text](QDialog& dialog) {
        return services::typePassword(static_cast<services::Tf_password&>(dialog), text);
    });
}
