// Background music under reading: play, the fader under a reading, the volume boxes, the order
// of the tracks, the channel taken over, an empty folder, an unplayable track and stop.
#include "bellsfixture.h"

#include "platform/clock/clock.h"
#include "speaker/bells/backgroundmusic.h"
#include "speaker/core/preferences.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

#include <atomic>
#include <cmath>

namespace bellstest {
namespace {

class BgmTest : public BellsTest {
protected:
    BgmTest() { QDir(dir.path()).mkpath(QStringLiteral("bgm")); }
    ~BgmTest() override { music.reset(); }

    // Tracks of the background folder, `seconds` long each.
    void tracks(const QStringList& names, double seconds = 5.0) {
        for (const QString& n : names) mp3(QStringLiteral("bgm/") + n, seconds);
    }
    void start() {
        music = std::make_unique<bells::BackgroundMusic>(
            services, *channel, *library,
            [this](int panel, const QString& text) {
                statusPanels[static_cast<std::size_t>(panel)] = text;
            },
            bells::BackgroundMusic::Boxes{});
        music->setReadBusy(&readbusy);
        music->setFolder(path(QStringLiteral("bgm")));
    }
    // Background tracks started so far, by file name.
    QStringList started() const {
        QStringList out;
        for (const auto& e : trace.events("bgm.play"))
            out << QFileInfo(e.value("file").toString()).fileName();
        return out;
    }
    // Volume of the channel's stream in percent; -1 without one.
    int volume() const {
        if (!channel->hasStream()) return -1;
        return static_cast<int>(std::lround(engine->volume(channel->mp3stream) * 100));
    }
    QList<int> fadedTo() const {
        QList<int> out;
        for (const auto& e : trace.events("bgm.volume")) out << e.value("volume").toInt();
        return out;
    }

    std::atomic<bool> readbusy{false};
    std::unique_ptr<bells::BackgroundMusic> music;
};

struct Rise {
    int music;
    int reading;
};

class BgmRiseTest : public BgmTest, public ::testing::WithParamInterface<Rise> {};

TEST_P(BgmRiseTest, StartsAtTheReadingVolumeAndRisesOnePointPerTick) {
    const Rise r = GetParam();
    tracks({"a.mp3"});
    start();
    music->setVolumes(r.music, r.reading);
    music->bj_playClick();
    ASSERT_EQ(started(), QStringList{"a.mp3"});
    EXPECT_EQ(volume(), r.reading);
    EXPECT_TRUE(music->bj_timer1->isActive());
    const int ticks = r.music - r.reading;
    if (ticks > 0) {
        advance(20 * (ticks - 1));
        EXPECT_EQ(volume(), r.music - 1);
        EXPECT_TRUE(fadedTo().isEmpty());
    }
    advance(20);
    EXPECT_EQ(volume(), r.music);
    EXPECT_EQ(fadedTo(), ticks > 0 ? QList<int>{r.music} : QList<int>{});
    advance(200);
    EXPECT_EQ(volume(), r.music);
    EXPECT_EQ(music->bjvolume, r.music);
}

INSTANTIATE_TEST_SUITE_P(Volumes, BgmRiseTest,
                         ::testing::Values(Rise{90, 10}, Rise{100, 0}, Rise{40, 39}, Rise{50, 50}));

TEST_F(BgmTest, ReadingDucksWithinAFewTicksAndTheMusicRisesAfter) {
    tracks({"a.mp3"});
    start();
    music->bj_playClick();
    advance(1600);
    ASSERT_EQ(volume(), 90);

    readbusy = true;
    advance(20);
    EXPECT_EQ(volume(), 80);  // ten points per tick
    advance(140);
    EXPECT_EQ(volume(), 10);
    advance(400);
    EXPECT_EQ(volume(), 10);  // held while the reading lasts

    readbusy = false;
    advance(20);
    EXPECT_EQ(volume(), 11);  // one point per tick
    advance(1580);
    EXPECT_EQ(volume(), 90);
    EXPECT_EQ(fadedTo(), (QList<int>{90, 10, 90}));
}

TEST_F(BgmTest, PlayDuringAReadingStaysAtTheReadingVolume) {
    tracks({"a.mp3"});
    start();
    readbusy = true;
    music->bj_v1->setValue(30);  // the plan's music volume, set before it starts the music
    music->bj_playClick();
    advance(1000);
    EXPECT_EQ(volume(), 30);
    readbusy = false;
    advance(60 * 20);
    EXPECT_EQ(volume(), 90);
}

TEST_F(BgmTest, TheFaderDucksWhateverTheChannelHolds) {
    start();
    channel->bassplay(wav(QStringLiteral("bell.wav"), 5.0), 100);
    ASSERT_TRUE(channel->hasStream());
    readbusy = true;
    advance(200);
    EXPECT_EQ(volume(), 10);
}

struct BoxCase {
    const char* name;
    std::function<void(bells::BackgroundMusic&)> act;
    int music;
    int reading;
};

class BgmBoxTest : public BgmTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BgmBoxTest, EachBoxPushesTheOther) {
    start();
    GetParam().act(*music);
    EXPECT_EQ(music->bj_v->value(), GetParam().music);
    EXPECT_EQ(music->bj_v1->value(), GetParam().reading);
    EXPECT_GE(music->bj_v->value(), music->bj_v1->value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BgmBoxTest,
    ::testing::Values(
        BoxCase{"MusicBelowReadingIsRaised", [](auto& m) { m.bj_v->setValue(5); }, 10, 10},
        BoxCase{"ReadingAboveMusicIsLowered", [](auto& m) { m.bj_v1->setValue(95); }, 90, 90},
        BoxCase{"BothMoveWithinTheRule",
                [](auto& m) {
                    m.bj_v->setValue(70);
                    m.bj_v1->setValue(20);
                },
                70, 20},
        BoxCase{"StoredPairBelowTheDefaultsIsKept", [](auto& m) { m.setVolumes(5, 3); }, 5, 3},
        BoxCase{"StoredPairAboveTheDefaultsIsKept", [](auto& m) { m.setVolumes(100, 95); }, 100,
                95}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BgmTest, ABoxChangeAppliesAtOnceToTheMatchingState) {
    tracks({"a.mp3"});
    start();
    music->bj_playClick();
    advance(1600);
    music->bj_v->setValue(50);  // nothing read: the music volume applies now
    EXPECT_EQ(volume(), 50);
    music->bj_v1->setValue(20);  // only applies while reading
    EXPECT_EQ(volume(), 50);
    readbusy = true;
    advance(100);
    EXPECT_EQ(volume(), 20);
    music->bj_v1->setValue(30);
    EXPECT_EQ(volume(), 30);
    music->bj_v->setValue(60);  // reading: kept for later
    EXPECT_EQ(volume(), 30);
}

TEST_F(BgmTest, SequentialOrderFollowsTheLastTrackWithTheFirst) {
    tracks({"a.mp3", "b.mp3", "c.mp3"}, 2.0);
    start();
    ASSERT_EQ(music->files(), (QStringList{"a.mp3", "b.mp3", "c.mp3"}));
    music->BJListBox1->setCurrentRow(1);
    music->bj_playClick();
    advance(5500);  // each track ends at its second whole second
    EXPECT_EQ(started(), (QStringList{"b.mp3", "c.mp3", "a.mp3"}));
    EXPECT_EQ(music->BJListBox1->currentRow(), 0);

    music->bj_prevClick();  // at the first track: plays it again
    music->BJListBox1->setCurrentRow(2);
    music->bj_playClick();
    music->bj_nextClick();  // after the last: the first
    music->bj_nextClick();
    music->bj_prevClick();
    EXPECT_EQ(started().mid(3), (QStringList{"a.mp3", "c.mp3", "a.mp3", "b.mp3", "a.mp3"}));
}

TEST_F(BgmTest, RandomOrderTakesTheTracksTheSourcePicks) {
    tracks({"a.mp3", "b.mp3"}, 2.0);
    start();
    music->ComBox1->setCurrentIndex(1);
    QList<int> counts;
    QList<int> picks{1, 1, 0};
    music->setRandomSource([&](int count) {
        counts << count;
        return picks.isEmpty() ? 0 : picks.takeFirst();
    });
    music->bj_playClick();  // nothing selected: a random track
    advance(4500);
    EXPECT_EQ(started(), (QStringList{"b.mp3", "b.mp3", "a.mp3"}));
    EXPECT_EQ(counts, (QList<int>{2, 2, 2}));
}

struct Takeover {
    const char* name;
    std::function<void(BgmTest&)> act;
};

class BgmTakeoverTest : public BgmTest, public ::testing::WithParamInterface<Takeover> {
public:
    void playBell() { channel->bassplay(wav(QStringLiteral("bell.wav"), 1.0), 100); }
    void playList() {
        library->setFolders(path(QStringLiteral("bgm")), path(QStringLiteral("bgm")));
        library->sequentialPlay(bells::MusicLibrary::DefaultFolder);
    }
};

TEST_P(BgmTakeoverTest, AStartThatTakesTheChannelEndsTheAdvance) {
    tracks({"a.mp3", "b.mp3"}, 2.0);
    start();
    music->bj_playClick();
    advance(500);
    GetParam().act(*this);
    advance(1000);
    EXPECT_FALSE(music->bj_timer1->isActive());
    advance(5000);
    EXPECT_EQ(started(), QStringList{"a.mp3"});
}

INSTANTIATE_TEST_SUITE_P(
    Starts, BgmTakeoverTest,
    ::testing::Values(
        Takeover{"Bell", [](BgmTest& t) { static_cast<BgmTakeoverTest&>(t).playBell(); }},
        Takeover{"ListPlay", [](BgmTest& t) { static_cast<BgmTakeoverTest&>(t).playList(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BgmTest, AnEmptyFolderPlaysNothingAndStopsTheAdvance) {
    wav(QStringLiteral("bgm/not-background.wav"), 1.0);  // only MP3 files are tracks
    statusPanels[0] = QStringLiteral("old");
    start();
    EXPECT_TRUE(music->files().isEmpty());
    EXPECT_EQ(music->BJListBox1->count(), 0);
    EXPECT_EQ(statusPanels[0], QString());
    music->bj_timer1->start();
    music->bj_playClick();
    music->bj_nextClick();
    music->bj_prevClick();
    EXPECT_FALSE(music->bj_timer1->isActive());
    EXPECT_FALSE(channel->hasStream());
    EXPECT_TRUE(started().isEmpty());
}

TEST_F(BgmTest, AnUnplayableTrackIsSkippedWithoutAMessage) {
    writeBytes(QStringLiteral("bgm/a-broken.mp3"), QByteArray(4000, 'x'));
    tracks({"b-good.mp3"}, 2.0);
    start();
    music->BJListBox1->setCurrentRow(0);
    music->bj_playClick();  // by hand, while nothing played: nothing happens
    EXPECT_FALSE(channel->hasStream());
    EXPECT_EQ(statusPanels[3], path(QStringLiteral("bgm/a-broken.mp3")));
    EXPECT_FALSE(music->bj_timer1->isActive());
    EXPECT_TRUE(started().isEmpty());

    music->BJListBox1->setCurrentRow(1);
    music->bj_playClick();
    advance(2000 + 3000);
    // The good track ended, the broken one failed, the advance moved on to the good one.
    EXPECT_EQ(started(), (QStringList{"b-good.mp3", "b-good.mp3"}));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(BgmTest, StopReleasesTheStreamAndTheAdvanceOnlyShowsProgress) {
    tracks({"a.mp3", "b.mp3"}, 3.0);
    start();
    music->bj_playClick();
    advance(1000);
    EXPECT_EQ(music->RzLEDDisplay1->text(), QStringLiteral(" 01 / 03 "));
    music->bj_stopClick();
    EXPECT_FALSE(channel->hasStream());
    EXPECT_EQ(events("bgm.stop"), 1);
    advance(5000);
    EXPECT_TRUE(music->bj_timer1->isActive());
    EXPECT_EQ(music->RzLEDDisplay1->text(), QStringLiteral(" 00 / 03 "));
    EXPECT_EQ(started(), QStringList{"a.mp3"});
    music->bj_stopClick();  // nothing to stop
    EXPECT_EQ(events("bgm.stop"), 1);
}

TEST_F(BgmTest, TheFolderFallsBackToTheProgramFolderAndTheChooserStoresIt) {
    tracks({"a.mp3"});
    start();
    music->setFolder(path(QStringLiteral("missing")));
    EXPECT_EQ(music->folder(), services.programDir);
    prompter.queueFolder(path(QStringLiteral("bgm")));
    music->bj_okClick();
    EXPECT_EQ(music->files(), QStringList{"a.mp3"});
    EXPECT_EQ(core::Preferences(services.iniPath()).readString(core::pref::Mp3bj),
              path(QStringLiteral("bgm")));

    mp3(QStringLiteral("bgm/b.mp3"), 1.0);
    EXPECT_EQ(music->BJListBox1->count(), 1);
    music->refresh();
    EXPECT_EQ(music->BJListBox1->count(), 2);
}

}  // namespace
}  // namespace bellstest
