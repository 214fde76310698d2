// The audition of the entry editor: a stream of its own on the audio engine, beside whatever
// the shared playback channel plays, and the warning for entries without a file.
#include "timetablesfixture.h"

#include "speaker/bells/playbackchannel.h"
#include "speaker/timetables/entriesmodel.h"
#include "tests/platform/audio/fixtures.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

namespace {

using State = platform::AudioEngine::State;
const QString kTable = QStringLiteral("试听表");

class Audition : public TimetablesTest {
protected:
    void SetUp() override {
        TimetablesTest::SetUp();
        bell = services.programFile(QStringLiteral("上课 铃.wav"));
        ASSERT_TRUE(audiotest::writeTone(bell, {}));
        music = services.programFile(QStringLiteral("music.wav"));
        ASSERT_TRUE(audiotest::writeTone(music, {10.0}));
        editor->setSchname(kTable);
        editor->FormShow();
        editor->show();
    }

    // Adds an entry playing `filepath` (stored as given) and makes it the current row.
    void addEntry(const QString& filepath) {
        core::Dataset& entries = dm->Q_mp3();
        ASSERT_TRUE(entries.append());
        entries.setField("name", QStringLiteral("铃"));
        entries.setField("filepath", filepath);
        entries.setField("playtime", QStringLiteral("08:00:00"));
        entries.setField("endtime", QStringLiteral("08:00:30"));
        entries.setField("scheduling", kTable);
        ASSERT_TRUE(entries.post());
    }

    QString bell, music;
};

TEST_F(Audition, PlaysOnAStreamOfItsOwnBesideTheSharedChannel) {
    bells::PlaybackChannel channel(services, {});
    channel.bassplay(music, 80);
    ASSERT_TRUE(channel.hasStream());
    const platform::AudioHandle shared = channel.mp3stream;

    addEntry(bell);
    editor->N_audition->trigger();
    EXPECT_TRUE(messages().isEmpty());
    ASSERT_TRUE(editor->audition().isOpen());
    EXPECT_NE(editor->audition().handle(), shared);
    EXPECT_EQ(audio->state(editor->audition().handle()), State::Playing);
    EXPECT_FALSE(editor->mp3_player->isEnabled());
    EXPECT_TRUE(editor->mp3_stop->isEnabled());
    // The channel keeps its stream and goes on playing.
    EXPECT_EQ(channel.mp3stream, shared);
    EXPECT_EQ(audio->state(shared), State::Playing);
    ASSERT_EQ(trace.events("audition.play").size(), 1u);
    EXPECT_EQ(trace.events("audition.play").front().value("file").toString(), bell);

    clock.advance(500);
    editor->mp3_stop->click();
    EXPECT_EQ(audio->state(editor->audition().handle()), State::Stopped);
    EXPECT_TRUE(editor->mp3_player->isEnabled());
    EXPECT_FALSE(editor->mp3_stop->isEnabled());
    EXPECT_EQ(audio->state(shared), State::Playing);

    // Play starts the opened file again from its beginning.
    editor->mp3_player->click();
    EXPECT_EQ(audio->state(editor->audition().handle()), State::Playing);
    EXPECT_EQ(audio->position(editor->audition().handle()), 0);
    EXPECT_EQ(trace.events("audition.play").size(), 2u);

    // Closing the dialog closes the player; the channel is untouched.
    const platform::AudioHandle own = editor->audition().handle();
    editor->Btn_close->click();
    EXPECT_FALSE(editor->audition().isOpen());
    EXPECT_EQ(audio->length(own), -1);
    EXPECT_FALSE(editor->mp3_player->isEnabled());
    EXPECT_FALSE(editor->mp3_stop->isEnabled());
    EXPECT_EQ(audio->state(shared), State::Playing);
    EXPECT_EQ(trace.events("channel.stop").size(), 0u);
}

TEST_F(Audition, AFileRelativeToTheProgramFolderIsFound) {
    addEntry(QStringLiteral("上课 铃.wav"));
    editor->auditionClick();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(editor->audition().isOpen());
}

struct MissingCase {
    const char* label;
    QString filepath;
};

class NoFile : public Audition, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(NoFile, IsReportedAndNothingPlays) {
    const QString path = GetParam().filepath;
    addEntry(path);
    editor->auditionClick();
    EXPECT_EQ(messages(), QStringList{path + " 文件不存在!"});
    EXPECT_EQ(prompter.shown().front().kind, platform::MessageKind::Warning);
    EXPECT_FALSE(editor->audition().isOpen());
    EXPECT_FALSE(editor->mp3_stop->isEnabled());
    EXPECT_TRUE(trace.events("audition.play").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Audition, NoFile,
    ::testing::Values(MissingCase{"Missing", QStringLiteral("/nowhere/铃.wav")},
                      MissingCase{"MusicList", QStringLiteral("播放列表框音乐")},
                      MissingCase{"Folder", QStringLiteral("目录/tmp")},
                      MissingCase{"Empty", QString()}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Audition, AFileThatCannotBeDecodedIsReportedAndNothingPlays) {
    const QString bad = services.programFile(QStringLiteral("bad.mp3"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a sound");
    f.close();
    addEntry(bad);
    editor->auditionClick();
    EXPECT_EQ(messages(), QStringList{"不能播放:" + bad});
    EXPECT_FALSE(editor->audition().isOpen());
    EXPECT_FALSE(editor->mp3_player->isEnabled());
}

TEST_F(Audition, AnEntryWhoseFileIsMissingCanStillBeStored) {
    editor->edit1->setEditText(QStringLiteral("上课"));
    editor->statusPanel->setText(QStringLiteral("/nowhere/铃.wav"));
    editor->Btn_addClick();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(entryCount(kTable), 1);
}

}  // namespace
