#pragma once
// Every audible or externally visible action is recorded as one event: the rehearsal program
// prints them as JSON Lines, tests assert on them.

#include <QJsonObject>
#include <QString>

#include <functional>
#include <mutex>
#include <vector>

namespace platform {

class Clock;

class Trace {
public:
    using Sink = std::function<void(const QJsonObject&)>;

    explicit Trace(const Clock& clock) : clock_(clock) {}

    // Records event `ev` with `fields`; adds "t" (virtual or wall time, "yyyy-MM-dd hh:mm:ss.zzz")
    // and "ev". Safe from any thread.
    void record(const QString& ev, QJsonObject fields = {});

    void addSink(Sink sink);
    // Keeps every event in memory (tests).
    void setKeep(bool keep);
    std::vector<QJsonObject> events() const;
    std::vector<QJsonObject> events(const QString& ev) const;
    void clear();

private:
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<Sink> sinks_;
    bool keep_ = false;
    std::vector<QJsonObject> kept_;
};

}  // namespace platform
