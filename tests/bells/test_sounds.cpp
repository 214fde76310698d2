// The sounds the installation carries: every file the initial database's timetables and plans
// name is in the built program folder, named relative to it, and plays.
#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/store/store.h"
#include "speaker/bells/folderlist.h"
#include "speaker/bells/musiclibrary.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef SPEAKER_PROGRAM_DIR

namespace {

const QString kProgramDir = QStringLiteral(SPEAKER_PROGRAM_DIR "/");

class ShippedSounds : public ::testing::Test {
protected:
    void SetUp() override {
        // A copy, so the test never touches the database the build staged.
        ASSERT_TRUE(QFile::copy(kProgramDir + "draft.dat", dir.filePath("draft.dat")));
        ASSERT_TRUE(db.open(dir.filePath("draft.dat"), QStringLiteral("482604")));
    }
    QStringList column(const QString& sql) {
        QStringList out;
        platform::Statement st(db, sql);
        while (st.step() == platform::StepResult::Row) out << st.value(0).toString();
        return out;
    }
    // Seconds of sound in `path` as the player opens it; -1 when it does not open.
    double opened(const QString& path) {
        const platform::AudioHandle h = engine->openFile(path);
        if (h < platform::AudioEngine::kFirstHandle) return -1;
        const double s = engine->bytesToSeconds(h, engine->length(h));
        engine->release(h);
        return s;
    }

    QTemporaryDir dir;
    platform::Database db;
    platform::VirtualClock clock{QDateTime(QDate(2026, 12, 14), QTime(8, 0))};
    std::unique_ptr<platform::AudioEngine> engine = platform::makeNullAudioEngine(clock);
};

TEST_F(ShippedSounds, EveryTimetableFileAndFolderResolvesInTheProgramFolderAndPlays) {
    const QStringList paths = column(QStringLiteral("select filepath from sch_det order by id"));
    ASSERT_FALSE(paths.isEmpty());
    int files = 0;
    int folders = 0;
    for (const QString& p : paths) {
        SCOPED_TRACE(p.toStdString());
        if (p == QStringLiteral("播放列表框音乐")) continue;  // the music list, not a file
        if (p.startsWith(QStringLiteral("目录"))) {
            const QString folder = bells::MusicLibrary::entryFolder(p);
            EXPECT_TRUE(QFileInfo(folder).isRelative());
            const bells::FolderList list(QDir(kProgramDir).filePath(folder));
            EXPECT_GE(list.count(), 2);
            for (int i = 0; i < list.count(); ++i) EXPECT_GT(opened(list.path(i)), 20.0);
            ++folders;
            continue;
        }
        EXPECT_TRUE(QFileInfo(p).isRelative());
        const double seconds = opened(QDir(kProgramDir).filePath(p));
        EXPECT_GT(seconds, 2.0);
        EXPECT_LT(seconds, 15.0);
        ++files;
    }
    EXPECT_GT(files, 10);
    EXPECT_GT(folders, 0);
}

TEST_F(ShippedSounds, EachBellHasARecordingOfItsOwn) {
    const QStringList names{"qichuang", "shangke", "xiake",  "yanbao", "wuxiu",
                            "fangxue",  "yubei",   "kaikao", "tixing", "shoujuan"};
    QSet<QByteArray> digests;
    for (const QString& n : names) {
        QFile f(kProgramDir + "bells/" + n + ".wav");
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n.toStdString();
        digests.insert(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256));
    }
    EXPECT_EQ(digests.size(), names.size());
}

TEST_F(ShippedSounds, ThePlansSampleMusicIsShipped) {
    const QStringList paths =
        column(QStringLiteral("select filepath from draft where filepath is not null"));
    ASSERT_FALSE(paths.isEmpty());
    for (const QString& p : paths) {
        SCOPED_TRACE(p.toStdString());
        EXPECT_TRUE(QFileInfo(p).isRelative());
        const double seconds = opened(QDir(kProgramDir).filePath(p));
        EXPECT_GT(seconds, 30.0);
        EXPECT_LT(seconds, 60.0);
    }
}

}  // namespace

#endif
