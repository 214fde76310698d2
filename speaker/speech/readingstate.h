#pragma once
// The reading state that the speaking worker, the manual reading controller, the broadcast
// scheduler and the background music share. Each value is read and written whole from any
// thread, hence atomics; `ttslock` lets one worker speak at a time.

#include <QtGlobal>

#include <atomic>
#include <mutex>

namespace speech {

struct ReadingState {
    std::atomic<bool> stopread{false};    // a request to the running worker to stop
    std::atomic<bool> readbusy{false};    // a reading is in progress
    std::atomic<bool> isspeaking{false};  // an editor reading started and has not completed
    std::atomic<bool> ttsactive{false};   // the latest reading runs on a worker (decides Stop)
    std::atomic<bool> singleread{true};   // not part of a loop: the worker re-enables the toolbar
    std::atomic<int> readmode{0};         // 0 editor mode, 1 selection mode
    std::atomic<int> readcount{0};        // normal completions of editor readings
    // Raised by a start that follows a stop request: the workers started before it end after
    // their current segment, although the start clears `stopread` for the new worker.
    std::atomic<unsigned> generation{0};
    // Wall time (ms since the epoch) of the last normal completion and of the last exit of a
    // worker. A full date and time rather than a time of day, so that an interval measured
    // from them holds across midnight.
    std::atomic<qint64> readendtime{0};
    std::atomic<qint64> lastreadtime{0};
    // Monotonic tick of the last exit of a worker: loop intervals are measured on it, so that
    // a step of the wall clock does not stretch or skip the pause between passes.
    std::atomic<qint64> lastreadtick{0};

    // Workers started and not yet ended: `readbusy` falls only when the last one ends, so a
    // reading that replaces another stays busy while its predecessor winds down.
    std::atomic<int> workers{0};

    // Held by a worker from before its first segment until after it cleared `readbusy`.
    std::mutex ttslock;
};

}  // namespace speech
