#include <QStringList>

#include "platform/trace/trace.h"
#include "speaker/core/services.h"
#include "speaker/timetables/timetables.h"

namespace timetables {

namespace {
void note(core::Services& services, const char* ev, const QString& file) {
    if (services.trace)
        services.trace->record(QString::fromLatin1(ev), {{QStringLiteral("file"), file}});
}
}  // namespace

Audition::Audition(core::Services& services) : services_(services) {}

Audition::~Audition() {
    close();
}

bool Audition::open(const QString& path) {
    close();
    if (!services_.audio) return false;
    handle_ = services_.audio->openFile(path);
    if (!isOpen()) {
        handle_ = 0;
        return false;
    }
    path_ = path;
    play();
    return true;
}

void Audition::play() {
    if (!isOpen()) return;
    services_.audio->setPosition(handle_, 0);
    services_.audio->play(handle_);
    note(services_, "audition.play", path_);
}

void Audition::stop() {
    if (!isOpen()) return;
    const bool playing = services_.audio->state(handle_) == platform::AudioEngine::State::Playing;
    services_.audio->stop(handle_);
    if (playing) note(services_, "audition.stop", path_);
}

void Audition::close() {
    if (!isOpen()) return;
    stop();
    services_.audio->release(handle_);
    handle_ = 0;
    path_.clear();
}

}  // namespace timetables
