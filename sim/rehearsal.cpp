#include "sim/rehearsal.h"

#include "common/paths.h"
#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "sim/actions.h"
#include "speaker/app/mainwindow.h"
#include "speaker/app/runtime.h"
#include "speaker/app/windows.h"
#include "speaker/core/services.h"
#include "speaker/services/password.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>

namespace sim {

int rehearse(const Options& options, const std::function<void(const QJsonObject&)>& sink) {
    platform::VirtualClock clock(options.from);
    platform::ScriptedPrompter prompter;
    prompter.setDefaultYes(options.answerYes);
    const QString password = options.password;
    prompter.setDialogScript(QStringLiteral("f_password"), [password](QDialog& dialog) {
        return services::typePassword(static_cast<services::Tf_password&>(dialog), password);
    });
    app::Runtime runtime(clock, prompter, QFileInfo(options.folder).absoluteFilePath(),
                         platform::makeNullAudioEngine(clock, options.wav));
    platform::Trace& trace = runtime.trace();
    trace.addSink(sink);
    core::Services& services = runtime.services();
    services.openUrl = [&trace](const QUrl& url) {
        trace.record(QStringLiteral("open"), {{QStringLiteral("url"), url.toString()}});
        return true;
    };
    services.quit = [&clock] { clock.stop(); };

    auto windows = app::createWindows(services);
    if (!windows) return 1;
    windows->f_speaker->showMaximized();

    for (const Action& action : options.actions) {
        const qint64 delay = options.from.msecsTo(action.at);
        if (delay < 0) continue;  // before the rehearsal starts
        platform::Timer::singleShot(clock, int(delay), nullptr, [action, &trace] {
            // The action is recorded before it runs, so its consequences follow it.
            QJsonObject fields{{QStringLiteral("name"), action.name}};
            if (action.isSet) fields.insert(QStringLiteral("value"), action.value);
            QObject* target = findTarget(action.name);
            if (!target) fields.insert(QStringLiteral("error"), QStringLiteral("not found"));
            trace.record(action.isSet ? QStringLiteral("set") : QStringLiteral("do"), fields);
            if (!target) return;
            const bool done = action.isSet ? assign(target, action.value) : perform(target);
            if (!done) {
                trace.record(QStringLiteral("error"),
                             {{QStringLiteral("name"), action.name},
                              {QStringLiteral("text"),
                               QStringLiteral("the widget does not take this action")}});
            }
        });
    }
    clock.runUntil(options.to);
    windows.reset();
    services.audio->flush();  // completes the --wav file
    return 0;
}

}  // namespace sim
