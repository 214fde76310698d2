// The broadcasting assistant. Every file it uses by name is in the folder of this executable.

#include "platform/audio/audioengine.h"
#include "platform/clock/realclock.h"
#include "platform/prompter/prompter.h"
#include "platform/system/singleinstance.h"
#include "speaker/app/mainwindow.h"
#include "speaker/app/runtime.h"
#include "speaker/app/startup.h"
#include "speaker/app/windows.h"

#include <QApplication>
#include <QDesktopServices>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(app::kProductName));
    QApplication::setApplicationDisplayName(QString::fromLatin1(app::kProductName));

    platform::RealClock clock;
    platform::WidgetPrompter prompter;
    platform::SingleInstance lock(QString::fromLatin1(app::kProductName));
    if (!app::checkSingleInstance(lock, prompter)) return 0;

    app::Runtime runtime(clock, prompter, QCoreApplication::applicationDirPath(),
                         platform::makePulseAudioEngine(clock));
    core::Services& services = runtime.services();
    services.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    services.quit = [] { QCoreApplication::quit(); };

    auto windows = app::createWindows(services);
    if (!windows) return 1;
    windows->f_speaker->showMaximized();
    return QApplication::exec();
}
