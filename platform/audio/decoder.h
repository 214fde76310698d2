#pragma once
// The thread that decodes ahead for every open stream of the PulseAudio device, so that the
// audio callback only copies samples. It wakes on new work and every 20 ms.

#include "platform/audio/stream.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform::audio {

class Decoder {
public:
    using Snapshot = std::function<std::vector<std::shared_ptr<Stream>>()>;
    explicit Decoder(Snapshot snapshot);
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    void wake();

private:
    void run();

    Snapshot snapshot_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool stop_ = false;
    bool woken_ = false;
    std::thread thread_;
};

}  // namespace platform::audio
