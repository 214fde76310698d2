// The bell page of the main window: the playback channel and the music library wired to the
// data module, the status bar and the unplayable-file check.
#include "appfixture.h"

#include "platform/audio/audioengine.h"
#include "speaker/app/mainwindow.h"
#include "speaker/bells/channelbar.h"
#include "speaker/bells/librarypages.h"
#include "speaker/bells/musiclibrary.h"
#include "speaker/bells/playbackchannel.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

namespace {

class BellPage : public AppTest {
protected:
    BellPage() { services.audio = engine.get(); }
    ~BellPage() override { windows.reset(); }

    std::unique_ptr<platform::AudioEngine> engine = platform::makeNullAudioEngine(clock);
};

TEST_F(BellPage, TheChannelAndTheLibraryCarryTheirNamesOnTheBellPage) {
    installDatabase();
    auto* main = start().f_speaker.get();
    for (const char* name : {"mp3_player", "mp3_pause", "mp3_stop", "mp3_check", "TrackBar3",
                             "TrackBar4", "Label31", "ListView1", "DefaultListBox1", "Listbox1"})
        EXPECT_NE(main->TabSheet2->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(main->TrackBar4, main->channel().bar()->TrackBar4);
    ASSERT_EQ(main->RzPageControl2->count(), 3);
    EXPECT_EQ(main->RzPageControl2->tabText(0), "音乐列表");
    EXPECT_EQ(main->RzPageControl2->tabText(2), "定时目录");
    EXPECT_EQ(main->RzPageControl2->currentIndex(), 1);
    // Both folders default to the program folder.
    EXPECT_EQ(main->library().defaultFolder().folder(), services.programDir);
    EXPECT_EQ(main->library().timedFolder().folder(), services.programDir);
    // The null device passes the start-up check without a message.
    for (const auto& box : prompter.shown()) EXPECT_NE(box.text, "初始化错误");
}

TEST_F(BellPage, SongsAddedToTheMusicListAreKeptInTheDatabase) {
    installDatabase();
    const QString song = dir.filePath("上课 铃.mp3");
    prompter.queueFiles({song});
    int shipped = 0;
    {
        auto* main = start().f_speaker.get();
        shipped = main->library().pages()->ListView1->topLevelItemCount();
        main->library().addSongs();
        ASSERT_EQ(main->library().pages()->ListView1->topLevelItemCount(), shipped + 1);
    }
    windows.reset();
    auto* main = start().f_speaker.get();
    auto* list = main->library().pages()->ListView1;
    ASSERT_EQ(list->topLevelItemCount(), shipped + 1);
    // Sorted by file name: the Chinese name follows the shipped ASCII ones.
    EXPECT_EQ(list->topLevelItem(shipped)->text(1), song);
}

TEST_F(BellPage, FailuresOfTheChannelShowInTheStatusBar) {
    installDatabase();
    auto* main = start().f_speaker.get();
    const QString missing = dir.filePath("gone.wav");
    main->channel().bassplay(missing, 80);
    EXPECT_EQ(main->statusText(3), QStringLiteral("文件：") + missing + QStringLiteral(" 不存在"));
    const QString bad = dir.filePath("x.mp3");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("text");
    f.close();
    main->channel().bassplay(bad, 80);
    EXPECT_EQ(main->statusText(3), QStringLiteral("不能播放:") + bad);
}

TEST_F(BellPage, TheCheckButtonOpensTheCheckWindow) {
    installDatabase();
    int opened = 0;
    prompter.setDialogScript(QStringLiteral("Fcheckunplay"), [&](QDialog&) {
        ++opened;
        return QDialog::Accepted;
    });
    auto* main = start().f_speaker.get();
    main->channel().bar()->mp3_check->click();
    EXPECT_EQ(opened, 1);
}

}  // namespace
