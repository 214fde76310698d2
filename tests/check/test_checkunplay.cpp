// The unplayable-file check: the verdict, the list of failed files and its effect on the
// shared channel.
#include "speaker/check/fcheckunplay.h"

#include "tests/bells/bellsfixture.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class CheckUnplayable : public bellstest::BellsTest {
protected:
    QString folder(const QString& name) {
        QDir(dir.path()).mkpath(name);
        return path(name);
    }
    check::TFcheckunplay window{*channel, prompter};
};

TEST_F(CheckUnplayable, WindowNamesAndTexts) {
    EXPECT_EQ(window.objectName(), "Fcheckunplay");
    EXPECT_EQ(window.windowTitle(), "检查不能播放的音乐文件，以免播放时出错");
    EXPECT_EQ(window.Panel1->text(), "如果发现目录里有不能播放的文件请删除，以免播放时出错");
    EXPECT_EQ(window.Button8->text(), "选择音乐目录     ");
    EXPECT_EQ(window.Button9->text(), "开始检查(*.WAV;*.MP3)   ");
    EXPECT_TRUE(window.Edit1->isReadOnly());
    EXPECT_TRUE(window.Memo1->isReadOnly());
    EXPECT_EQ(window.folder(), QDir::currentPath());
    window.FormShow();
    EXPECT_EQ(window.Label1->text(), QString(39, ' '));
}

TEST_F(CheckUnplayable, OneGoodMp3AndOneTextFileNamedXmp3) {
    const QString f = folder("music");
    mp3("music/good.mp3", 2);
    const QString bad = writeBytes("music/x.mp3", "this is a text file, not music\n");
    prompter.queueFolder(f);
    window.Button8Click();
    EXPECT_EQ(window.Edit1->text(), f);
    ASSERT_EQ(window.DefaultListBox1->count(), 2);
    window.Button9Click();
    EXPECT_EQ(window.Memo1->toPlainText(), bad);
    EXPECT_EQ(window.Label1->text(), "以下文件不能播放，请删除!");
}

TEST_F(CheckUnplayable, AFolderWhoseFilesAllOpen) {
    const QString f = folder("良好 的 'files'");
    wav("良好 的 'files'/a.WAV", 1);
    mp3("良好 的 'files'/b.mp3", 1);
    writeBytes("良好 的 'files'/readme.txt", "not checked");
    window.setFolder(f);
    window.Button9Click();
    EXPECT_TRUE(window.Memo1->toPlainText().isEmpty());
    EXPECT_EQ(window.Label1->text(), "没有发现不能播放的音乐!");
}

TEST_F(CheckUnplayable, BadFilesOfEveryKindAreListedInOrder) {
    const QString f = folder("bad");
    const QString zero = writeBytes("bad/a zero.wav", {});
    wav("bad/b good.wav", 1);
    const QString random = writeBytes("bad/c random.MP3", QByteArray(4096, '\x5a'));
    const QString head = writeBytes("bad/d head.wav", "RIFF\x24\0\0\0WAVE");
    window.setFolder(f);
    window.Button9Click();
    EXPECT_EQ(window.Memo1->toPlainText(), QStringList({zero, random, head}).join('\n'));
    EXPECT_EQ(window.Label1->text(), "以下文件不能播放，请删除!");
}

TEST_F(CheckUnplayable, RunningTheCheckStopsWhatPlays) {
    channel->bassplay(wav("playing.wav", 5), 100);
    const auto playing = channel->mp3stream;
    const QString f = folder("one");
    wav("one/a.wav", 1);
    window.setFolder(f);
    window.Button9Click();
    EXPECT_EQ(engine->state(playing), platform::AudioEngine::State::Stopped);
    EXPECT_EQ(events("channel.stop"), 1);
    // The channel keeps the last probe's stream, not playing.
    ASSERT_TRUE(channel->hasStream());
    EXPECT_NE(engine->state(channel->mp3stream), platform::AudioEngine::State::Playing);
}

TEST_F(CheckUnplayable, AnEmptyFolderMakesTheCheckDoNothing) {
    window.setFolder(folder("empty"));
    window.FormShow();
    window.Button9Click();
    EXPECT_EQ(window.Label1->text(), QString(39, ' '));
    prompter.queueFolder(QString());  // a cancelled chooser keeps the folder
    window.Button8Click();
    EXPECT_EQ(window.folder(), path("empty"));
}

}  // namespace
