#pragma once
// The bell scheduler on a copy of the staged database, the virtual clock, the null audio
// device, scripted answers and a kept trace; timetables and sound files made by the test.

#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/musiclibrary.h"
#include "speaker/bells/musicliststore.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"

#include <QComboBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace bellschedtest {

class MemoryMusicList : public bells::MusicListStore {
public:
    std::vector<bells::MusicListRow> rows() override { return rows_; }
    bool append(const QString& filename, const QString& filepath) override;
    bool remove(qint64 id) override;
    bool removeAll() override;

private:
    std::vector<bells::MusicListRow> rows_;
    qint64 next_ = 1;
};

struct Entry {
    QString name;
    QString file;
    QString start;
    QString end;
    QString model = QStringLiteral("单曲播放");
    bool loop = false;
    QString weather = QStringLiteral("全天侯");
    int volume = 100;
    std::array<bool, 7> days{true, true, true, true, true, true, true};  // Monday first
};

// A bell event seen in the trace: "hh:mm:ss.zzz", its row and its reason (if any).
struct Seen {
    QString ev;
    QString at;
    int row;
    QString reason;
};

class BellSchedTest : public ::testing::Test {
protected:
    // 2026-12-14 is a Monday.
    explicit BellSchedTest(const QDateTime& start = QDateTime(QDate(2026, 12, 14),
                                                              QTime(7, 59, 0)));
    ~BellSchedTest() override;
    void SetUp() override;

    // Stores a timetable with its entries (in the order of their start times).
    void addTimetable(const QString& name, const std::vector<Entry>& entries);
    // The scheduler with `name` chosen in the selector and today's grid built and marked.
    bellschedule::BellScheduler& start(const QString& name);
    // A tone of `seconds`; long files take a low rate to stay small.
    QString wav(const QString& name, double seconds, int rate = 8000);
    void advanceTo(const QTime& t);
    // bell.* events in order.
    std::vector<Seen> bellEvents() const;
    QStringList messages() const;

    QTemporaryDir dir;
    platform::VirtualClock clock;
    platform::Trace trace{clock};
    platform::ScriptedPrompter prompter;
    std::unique_ptr<platform::AudioEngine> engine;
    core::Services services;
    std::array<QString, 4> statusPanels;
    std::unique_ptr<core::DM> dm;
    MemoryMusicList store;
    std::unique_ptr<bells::PlaybackChannel> channel;
    std::unique_ptr<bells::MusicLibrary> library;
    QComboBox Comb1;
    bool sunnymode = true;
    bool bellrunning = true;
    int schindex = 0;
    QString schname;
    bool nomusicday = false;
    std::unique_ptr<bellschedule::BellScheduler> bells;
};

}  // namespace bellschedtest
