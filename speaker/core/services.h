#pragma once
// The services the program runs on, created in one place and handed down: the real program
// wires the wall clock, real boxes and the desktop; tests and the rehearsal wire the virtual
// clock, scripted answers and fakes.

#include <QString>
#include <QUrl>

#include <functional>

namespace platform {
class AudioEngine;
class Clock;
class Prompter;
class SpeechEngine;
class Trace;
}  // namespace platform

namespace core {

struct Services {
    QString programDir;  // the program folder, with a trailing "/"
    platform::Clock* clock = nullptr;
    platform::Prompter* prompter = nullptr;
    platform::Trace* trace = nullptr;
    platform::AudioEngine* audio = nullptr;  // pulse output, or the null device
    platform::SpeechEngine* speech = nullptr;  // the one engine every reading speaks on
    // Opens a document or URL with the desktop's default handler.
    std::function<bool(const QUrl&)> openUrl;
    // Ends the program (the message loop, or the rehearsal's run).
    std::function<void()> quit;
    // Sounds a tone of `hz` for `ms` without waiting for it.
    std::function<void(int hz, int ms)> beep;

    QString programFile(const QString& name) const { return programDir + name; }
    QString iniPath() const { return programFile(QStringLiteral("setinfo.ini")); }
};

}  // namespace core
