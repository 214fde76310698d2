#pragma once
// A program folder with a copy of the staged database, the virtual clock, the null audio
// device, a speech engine whose requests are stamped with the virtual tick, scripted answers
// and a trace that keeps its events.

#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/speech/collectingoutput.h"
#include "platform/speech/speechengine.h"
#include "platform/trace/trace.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/timeann/timeann.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Keeps what is spoken and notes the virtual tick at which each utterance was requested.
class StampedSpeechOutput : public platform::CollectingSpeechOutput {
public:
    explicit StampedSpeechOutput(const platform::Clock& clock) : clock_(clock) {}
    void queued(uint64_t id) override;
    std::vector<qint64> requestTicks() const;

private:
    const platform::Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<qint64> ticks_;
};

class TimeAnnTest : public ::testing::Test {
protected:
    explicit TimeAnnTest(const QDateTime& start = QDateTime(QDate(2026, 12, 14), QTime(7, 59, 58)));
    void SetUp() override;

    // Switches the row with time `stime` ("hh:nn:ss") on or off in the table.
    void switchRow(const QString& stime, bool on);
    // The announcer on the data module's telltime table, the grid filled.
    timeann::TimeAnnouncer& announcer();
    // Events `ev` as (time "hh:mm:ss.zzz", text field).
    std::vector<std::pair<QString, QString>> events(const QString& ev) const;

    QTemporaryDir dir;
    platform::VirtualClock clock;
    platform::Trace trace{clock};
    platform::ScriptedPrompter prompter;
    std::unique_ptr<platform::AudioEngine> audio;
    std::shared_ptr<StampedSpeechOutput> spoken;
    std::unique_ptr<platform::SpeechEngine> speech;
    core::Services services;
    std::unique_ptr<core::DM> dm;
    std::unique_ptr<timeann::TimeAnnouncer> announcer_;
};
