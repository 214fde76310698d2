#pragma once
// Small measurements and texts shared by the speech tests.

#include "platform/speech/collectingoutput.h"
#include "platform/speech/speechengine.h"

#include <QString>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace speechtest {

inline double seconds(const std::vector<int16_t>& s) {
    return s.size() / 22050.0;
}

inline int peak(const std::vector<int16_t>& s) {
    int p = 0;
    for (int16_t v : s) p = std::max(p, std::abs(int{v}));
    return p;
}

inline double rms(const std::vector<int16_t>& s) {
    double sum = 0;
    for (int16_t v : s) sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / s.size());
}

inline QString chineseSentence() {
    return QStringLiteral("你好，今天是星期一，欢迎收听校园广播。");
}

// About `chars` characters of Chinese prose.
inline QString chineseText(int chars) {
    const QString base = QStringLiteral(
        "同学们早上好，现在是早读时间，请大家拿出语文课本，认真朗读第三课。"
        "今天天气晴朗，最高气温二十五度，请注意适当增减衣服。"
        "下午第三节课后举行全校大扫除，请各班按照分工做好准备。");
    QString text;
    while (text.size() < chars) text += base;
    return text.left(chars);
}

inline int voiceOfLanguage(const platform::SpeechEngine& engine, const QString& prefix) {
    const auto& voices = engine.voices();
    for (size_t i = 0; i < voices.size(); ++i)
        if (voices[i].language.startsWith(prefix)) return static_cast<int>(i);
    return -1;
}

// A collecting output that lets a test wait for the first sound and hold a synchronous speaker
// in waitPlayed until released (as a real device would while it plays).
class GateOutput : public platform::CollectingSpeechOutput {
public:
    void write(const int16_t* samples, size_t count) override {
        CollectingSpeechOutput::write(samples, count);
        std::lock_guard lk(m_);
        written_ = true;
        cv_.notify_all();
    }
    void discard(uint64_t fromId) override {
        CollectingSpeechOutput::discard(fromId);
        std::lock_guard lk(m_);
        lowestDiscard_ = std::min(lowestDiscard_, fromId);
        cv_.notify_all();
    }
    bool waitPlayed(uint64_t id, int) override {
        std::unique_lock lk(m_);
        if (!hold_) return true;
        lowestDiscard_ = UINT64_MAX;
        waiting_ = true;
        cv_.notify_all();
        cv_.wait(lk, [&] { return released_ || lowestDiscard_ <= id; });
        waiting_ = false;
        return true;
    }
    void holdSpeakers() {
        std::lock_guard lk(m_);
        hold_ = true;
    }
    void release() {
        std::lock_guard lk(m_);
        released_ = true;
        cv_.notify_all();
    }
    // Safety nets only: a broken engine fails the test instead of hanging it.
    bool waitForSound() {
        std::unique_lock lk(m_);
        return cv_.wait_for(lk, std::chrono::seconds(30), [&] { return written_; });
    }
    bool waitForSpeaker() {
        std::unique_lock lk(m_);
        return cv_.wait_for(lk, std::chrono::seconds(30), [&] { return waiting_; });
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool written_ = false, hold_ = false, released_ = false, waiting_ = false;
    uint64_t lowestDiscard_ = UINT64_MAX;
};

}  // namespace speechtest
