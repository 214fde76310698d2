#include "platform/trace/trace.h"

#include "platform/clock/clock.h"

namespace platform {

void Trace::record(const QString& ev, QJsonObject fields) {
    QJsonObject o;
    o.insert(QStringLiteral("t"), clock_.now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")));
    o.insert(QStringLiteral("ev"), ev);
    for (auto it = fields.begin(); it != fields.end(); ++it) o.insert(it.key(), it.value());
    std::lock_guard lk(mutex_);
    if (keep_) kept_.push_back(o);
    for (const auto& sink : sinks_) sink(o);
}

void Trace::addSink(Sink sink) {
    std::lock_guard lk(mutex_);
    sinks_.push_back(std::move(sink));
}

void Trace::setKeep(bool keep) {
    std::lock_guard lk(mutex_);
    keep_ = keep;
}

std::vector<QJsonObject> Trace::events() const {
    std::lock_guard lk(mutex_);
    return kept_;
}

std::vector<QJsonObject> Trace::events(const QString& ev) const {
    std::lock_guard lk(mutex_);
    std::vector<QJsonObject> out;
    for (const auto& o : kept_)
        if (o.value(QStringLiteral("ev")).toString() == ev) out.push_back(o);
    return out;
}

void Trace::clear() {
    std::lock_guard lk(mutex_);
    kept_.clear();
}

}  // namespace platform
