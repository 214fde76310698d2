// The music library and list play: the three sources, single, loop, sequential and random
// play, previous and next, the continuation and the timetable starts.
#include "bellsfixture.h"

#include "speaker/bells/channelbar.h"
#include "speaker/bells/librarypages.h"
#include "speaker/core/preferences.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace bellstest {
namespace {

using bells::MusicLibrary;

class Library : public BellsTest {
protected:
    // A folder `name` with two-second WAV tracks `files`.
    QString folder(const QString& name, const QStringList& files) {
        QDir(dir.path()).mkpath(name);
        for (const QString& f : files) wav(name + QLatin1Char('/') + f, 2);
        return path(name);
    }
    bells::LibraryPages& pages() { return *library->pages(); }
    // Runs the timers for `seconds` whole seconds.
    void run(int seconds) { advance(1000LL * seconds); }
};

TEST_F(Library, FoldersListTheirMp3AndWavFilesInAnyCaseSortedByName) {
    const QString f = folder("mixed", {"b.wav", "A.MP3.wav", "c.Wav"});
    writeBytes("mixed/D.MP3", "x");
    writeBytes("mixed/notes.txt", "x");
    writeBytes("mixed/e.mp3.bak", "x");
    EXPECT_EQ(bells::FolderList::matching(f),
              QStringList({"A.MP3.wav", "b.wav", "c.Wav", "D.MP3"}));
}

TEST_F(Library, SequentialPlayFromTheThirdTrackWrapsToTheFirstUntilStopped) {
    fillMusicList({wav("1.wav", 2), wav("2.wav", 2), wav("3.wav", 2), wav("4.wav", 2)});
    pages().ListView1->setCurrentItem(pages().ListView1->topLevelItem(2));
    library->sequentialPlay(MusicLibrary::MusicList);
    EXPECT_EQ(statusPanels[1], "顺序播放-音乐列表");
    run(10);
    EXPECT_EQ(played().mid(0, 4), QStringList({"3.wav", "4.wav", "1.wav", "2.wav"}));
    channel->mp3_stopClick();
    const auto count = played().size();
    run(10);
    EXPECT_EQ(played().size(), count);
}

TEST_F(Library, TimetableListWithoutLoopPlaysEachTrackOnceAndStops) {
    fillMusicList({wav("1.wav", 2), wav("2.wav", 2), wav("3.wav", 2)});
    channel->manualplay = false;
    library->listloop = false;
    library->startListSequential("09:00:00", 45);
    run(30);
    EXPECT_EQ(played(), QStringList({"1.wav", "2.wav", "3.wav"}));
    EXPECT_FALSE(channel->hasStream());
    EXPECT_EQ(events("channel.stop"), 1);
    for (const auto& e : trace.events("channel.play")) EXPECT_EQ(e.value("volume").toInt(), 45);
}

// The shipped music list names its tracks inside the program folder ("mp3files/…").
TEST_F(Library, RelativeTracksAreTakenFromTheProgramFolder) {
    wav("1.wav", 2);
    wav("2.wav", 2);
    fillMusicList({QStringLiteral("1.wav"), QStringLiteral("2.wav")});
    channel->manualplay = false;
    library->listloop = false;
    library->startListSequential("09:00:00", 45);
    run(10);
    EXPECT_EQ(played(), QStringList({"1.wav", "2.wav"}));
    EXPECT_EQ(events("channel.fail"), 0);
}

TEST_F(Library, TimetableListWithLoopStartsOverUntilItsEndTime) {
    fillMusicList({wav("1.wav", 2), wav("2.wav", 2)});
    library->listloop = true;
    library->startListSequential("08:00:09", 100);
    run(30);
    // Continues while the clock reads 08:00:09 or earlier, then stands still.
    EXPECT_EQ(played().mid(0, 4), QStringList({"1.wav", "2.wav", "1.wav", "2.wav"}));
    EXPECT_LE(played().size(), 6);
}

TEST_F(Library, TimetableFolderStartUsesTheFolderForThisRunOnly) {
    const QString f = folder("音乐 目录", {"a.wav", "b.wav"});
    library->setFolders(path("none"), path("none"));
    library->startFolderSequential(f, "09:00:00", 30);
    EXPECT_EQ(library->timedFolder().folder(), f);
    EXPECT_EQ(pages().Listbox1->toolTip(), QStringLiteral("播放目录") + f);
    EXPECT_EQ(library->listsource, MusicLibrary::TimedFolder);
    EXPECT_FALSE(channel->bar()->mp3_player->isEnabled());
    EXPECT_TRUE(channel->bar()->mp3_stop->isEnabled());
    run(10);
    EXPECT_EQ(played(), QStringList({"a.wav", "b.wav"}));
    core::Preferences prefs(services.iniPath());
    EXPECT_FALSE(prefs.readRaw("System", "MusicPath").has_value());
}

TEST_F(Library, EntryFolderIsTheTextAfterItsMark) {
    struct Case {
        const char* text;
        const char* folder;
    };
    const Case cases[] = {{"目录/home/u/音乐", "/home/u/音乐"},
                          {"目录  /srv/with blank/  ", "/srv/with blank/"},
                          {"播放列表框音乐", ""}};
    for (const auto& c : cases) EXPECT_EQ(MusicLibrary::entryFolder(c.text), QString(c.folder));
    const QString longText = QStringLiteral("目录") + QString(200, QLatin1Char('x'));
    EXPECT_EQ(MusicLibrary::entryFolder(longText).size(), 145);
}

TEST_F(Library, RandomPlayPicksAmongAllTracksIncludingTheLast) {
    fillMusicList({wav("1.wav", 2), wav("2.wav", 2)});
    std::vector<int> asked;
    std::vector<int> answers = {1, 0, 1, 5};
    library->setRandomSource([&](int count) {
        asked.push_back(count);
        return answers[std::min(asked.size(), answers.size()) - 1];
    });
    library->randomPlay(MusicLibrary::MusicList);
    EXPECT_EQ(statusPanels[1], "随机播放-音乐列表");
    EXPECT_TRUE(library->randplay);
    EXPECT_FALSE(library->seqplay);
    run(9);
    ASSERT_GE(played().size(), 4);
    // An answer out of range is held to the list.
    EXPECT_EQ(played().mid(0, 4), QStringList({"2.wav", "1.wav", "2.wav", "2.wav"}));
    for (int n : asked) EXPECT_EQ(n, 2);
}

TEST_F(Library, RandomPlayStopsContinuingAfterItsEndTime) {
    fillMusicList({wav("1.wav", 2), wav("2.wav", 2)});
    library->setRandomSource([](int) { return 0; });
    library->startListRandom("08:00:05", 50);
    run(20);
    EXPECT_LE(played().size(), 3);
    EXPECT_GE(played().size(), 2);
}

TEST_F(Library, PreviousAndNextStopAtTheFirstAndWrapAfterTheLast) {
    const QString f = folder("folder", {"a.wav", "b.wav", "c.wav"});
    library->setFolders(f, f);
    library->listindex = 0;
    library->previousTrack(MusicLibrary::DefaultFolder);
    EXPECT_EQ(library->listindex, 0);
    library->listindex = 2;
    library->nextTrack(MusicLibrary::DefaultFolder);
    EXPECT_EQ(library->listindex, 0);
    library->nextTrack(MusicLibrary::TimedFolder);
    EXPECT_EQ(library->listindex, 1);
    EXPECT_EQ(played(), QStringList({"a.wav", "a.wav", "b.wav"}));
    EXPECT_TRUE(library->seqplay);
    EXPECT_EQ(library->listsource, MusicLibrary::TimedFolder);
    EXPECT_EQ(pages().Listbox1->currentRow(), 1);
}

TEST_F(Library, UnplayableAndMissingTracksAreSkippedAndGoodOnesPlay) {
    const QString bad = writeBytes("2 bad.mp3", "not an mp3 at all");
    fillMusicList({wav("1.wav", 2), bad, path("3 missing.wav"), wav("4.wav", 2)});
    library->startListSequential("09:00:00", 100);
    run(20);
    EXPECT_EQ(played(), QStringList({"1.wav", "4.wav"}));
    const auto fails = trace.events("channel.fail");
    ASSERT_EQ(fails.size(), 1u);  // the missing one is skipped silently
    EXPECT_EQ(fails[0].value("reason").toString(), "unplayable");
}

TEST_F(Library, AnUnplayableFirstTrackOfAManualStartIsSkippedToo) {
    const QString bad = writeBytes("1 bad.wav", "RIFF");
    fillMusicList({bad, wav("2.wav", 2)});
    library->sequentialPlay(MusicLibrary::MusicList);
    EXPECT_EQ(statusPanels[3], QStringLiteral("不能播放:") + bad);
    run(3);
    EXPECT_EQ(played().value(0), "2.wav");
}

TEST_F(Library, ListPlayEndsWhenItsFolderHasNoFilesLeft) {
    const QString f = folder("going", {"a.wav", "b.wav"});
    library->setFolders(f, f);
    library->sequentialPlay(MusicLibrary::DefaultFolder);
    QFile::remove(f + "/a.wav");
    QFile::remove(f + "/b.wav");
    run(10);
    EXPECT_FALSE(library->seqplay);
    EXPECT_FALSE(channel->hasStream());
    EXPECT_EQ(played(), QStringList({"a.wav"}));
}

TEST_F(Library, ContinuationFollowsANewDefaultFolder) {
    const QString old = folder("old", {"a.wav", "b.wav"});
    const QString fresh = folder("new", {"x.wav", "y.wav", "z.wav"});
    library->setFolders(old, old);
    library->sequentialPlay(MusicLibrary::DefaultFolder);
    prompter.queueFolder(fresh);
    library->chooseFolder(MusicLibrary::DefaultFolder);
    EXPECT_TRUE(channel->hasStream());  // the track goes on
    run(3);
    EXPECT_EQ(played(), QStringList({"a.wav", "y.wav"}));
    EXPECT_EQ(pages().DefaultListBox1->toolTip(), QStringLiteral("默认目录") + fresh);
    core::Preferences prefs(services.iniPath());
    EXPECT_EQ(prefs.readString(core::pref::DefaultMusicPath), fresh);
}

TEST_F(Library, SinglePlayAndLoopOfTheMusicListWarnAboutAMissingFile) {
    const QString gone = path("gone.wav");
    fillMusicList({gone});
    pages().ListView1->setCurrentItem(pages().ListView1->topLevelItem(0));
    library->singlePlay(MusicLibrary::MusicList);
    library->singleLoop(MusicLibrary::MusicList);
    ASSERT_EQ(prompter.shown().size(), 2u);
    for (const auto& box : prompter.shown()) EXPECT_EQ(box.text, gone + " 文件不存在!");
    EXPECT_EQ(events("channel.play"), 0);
}

TEST_F(Library, SingleLoopRepeatsTheSelectedFileWithTheSliderVolume) {
    const QString f = folder("loop", {"a.wav", "b.wav"});
    library->setFolders(f, f);
    pages().DefaultListBox1->setCurrentRow(1);
    channel->bar()->TrackBar4->setValue(55);
    library->singleLoop(MusicLibrary::DefaultFolder);
    EXPECT_EQ(statusPanels[1], "单曲循环-默认目录");
    EXPECT_TRUE(channel->cycleplay);
    run(9);
    const QStringList p = played();
    ASSERT_GE(p.size(), 3);
    for (const QString& name : p) EXPECT_EQ(name, "b.wav");
    for (const auto& e : trace.events("channel.play")) EXPECT_EQ(e.value("volume").toInt(), 55);
}

TEST_F(Library, SinglePlayOfTheDefaultFolderPlaysOnceFromTheFirstFile) {
    const QString f = folder("single", {"a.wav", "b.wav"});
    library->setFolders(f, f);
    library->singlePlay(MusicLibrary::DefaultFolder);
    EXPECT_EQ(statusPanels[1], "单曲播放-默认目录");
    run(8);
    EXPECT_EQ(played(), QStringList({"a.wav"}));
}

TEST_F(Library, ManualStartsUseTheSliderAndTimetableStartsTheEntryVolume) {
    fillMusicList({wav("1.wav", 2), wav("2.wav", 2)});
    channel->bar()->TrackBar4->setValue(20);
    library->startListSequential("09:00:00", 65);
    run(3);
    library->sequentialPlay(MusicLibrary::MusicList);
    run(3);
    const auto plays = trace.events("channel.play");
    ASSERT_GE(plays.size(), 4u);
    EXPECT_EQ(plays[0].value("volume").toInt(), 65);
    EXPECT_EQ(plays[1].value("volume").toInt(), 65);  // the continuation keeps itemvolume
    EXPECT_EQ(plays[2].value("volume").toInt(), 20);
    EXPECT_EQ(plays[3].value("volume").toInt(), 20);
}

TEST_F(Library, EveryCommandOfAnEmptySourceDoesNothing) {
    const QString f = folder("empty", {});
    library->setFolders(f, f);
    for (auto source :
         {MusicLibrary::MusicList, MusicLibrary::DefaultFolder, MusicLibrary::TimedFolder}) {
        library->singlePlay(source);
        library->singleLoop(source);
        library->sequentialPlay(source);
        library->randomPlay(source);
        library->previousTrack(source);
        library->nextTrack(source);
    }
    library->startListSequential("09:00:00", 50);
    library->startListRandom("09:00:00", 50);
    library->startFolderSequential(f, "09:00:00", 50);
    library->startFolderRandom(f, "09:00:00", 50);
    run(3);
    EXPECT_EQ(events("channel.play"), 0);
    EXPECT_EQ(events("channel.fail"), 0);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(Library, MusicListManagement) {
    const QString song = wav("歌 1.wav", 2);
    prompter.queueFiles({song, song});
    library->addSongs();
    ASSERT_EQ(pages().ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(pages().ListView1->topLevelItem(0)->text(0), "歌 1.wav");
    EXPECT_EQ(pages().ListView1->topLevelItem(0)->text(1), song);

    library->clearSong();  // no current track
    EXPECT_EQ(store.rows().size(), 2u);
    pages().ListView1->setCurrentItem(pages().ListView1->topLevelItem(1));
    library->clearSong();
    EXPECT_EQ(store.rows().size(), 1u);
    EXPECT_EQ(pages().ListView1->topLevelItemCount(), 1);

    prompter.queueAnswer(false);
    library->clearAll();
    EXPECT_EQ(store.rows().size(), 1u);
    prompter.queueAnswer(true);
    library->clearAll();
    EXPECT_TRUE(store.rows().empty());
    EXPECT_EQ(pages().ListView1->topLevelItemCount(), 0);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].text, "真的要删除全部列表?");
    library->clearAll();  // an empty list asks nothing
    EXPECT_EQ(prompter.shown().size(), 2u);
}

TEST_F(Library, FoldersThatDoNotExistBecomeTheProgramFolder) {
    const QString f = folder("real", {"a.wav"});
    library->setFolders(path("nowhere"), f);
    EXPECT_EQ(library->defaultFolder().folder(), services.programDir);
    EXPECT_EQ(library->timedFolder().folder(), f);
    EXPECT_EQ(pages().DefaultListBox1->toolTip(), QStringLiteral("默认目录") + services.programDir);
    EXPECT_EQ(pages().Listbox1->toolTip(), QStringLiteral("当前目录") + f);
    EXPECT_EQ(pages().Listbox1->count(), 1);
}

TEST_F(Library, ListNextEventsNameTheSourceAndIndex) {
    const QString f = folder("trace", {"a.wav", "b.wav"});
    library->setFolders(f, f);
    library->sequentialPlay(MusicLibrary::TimedFolder);
    run(3);
    const auto next = trace.events("list.next");
    ASSERT_GE(next.size(), 2u);
    EXPECT_EQ(next[0].value("source").toInt(), 3);
    EXPECT_EQ(next[0].value("index").toInt(), 0);
    EXPECT_EQ(next[1].value("index").toInt(), 1);
    EXPECT_EQ(statusPanels[1], "顺序播放-指定目录");
}

}  // namespace
}  // namespace bellstest
