// Background music in the whole program: the panel of the text page over the shipped tracks,
// and a rehearsal in which the music ducks under a reading and rises after it.
#include "appfixture.h"
#include "sim/options.h"
#include "sim/rehearsal.h"
#include "speaker/app/mainwindow.h"
#include "speaker/bells/backgroundmusic.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSpinBox>
#include <QToolButton>

#include <cstdlib>

namespace {

// The staged background tracks, copied into `folder`/mp3files.
void copyTracks(const QString& folder) {
    const QDir from(QStringLiteral(SPEAKER_PROGRAM_DIR "/mp3files"));
    QDir(folder).mkpath(QStringLiteral("mp3files"));
    for (const QString& name : from.entryList({QStringLiteral("*.mp3")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(from.filePath(name), folder + "/mp3files/" + name));
}

class BgmAppTest : public AppTest {};

TEST_F(BgmAppTest, ThePanelListsTheProgramsTracksAndKeepsTheVolumesWhenShownAgain) {
    installDatabase();
    copyTracks(dir.path());
    writeIni(QStringLiteral("[System]\ndefault_volume=5\ndefault_volume1=3\n"));
    start();
    auto* main = windows->f_speaker.get();
    ASSERT_NE(main->backgroundMusic(), nullptr);
    auto* list = main->findChild<QListWidget*>(QStringLiteral("BJListBox1"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(list->count(), 3);
    for (const char* name : {"bj_stop", "bj_prev", "bj_play", "bj_ok", "bj_next"})
        EXPECT_NE(main->findChild<QToolButton*>(QString::fromLatin1(name)), nullptr) << name;
    // A stored pair below the defaults arrives as stored.
    EXPECT_EQ(main->bj_v->value(), 5);
    EXPECT_EQ(main->bj_v1->value(), 3);

    main->bj_v->setValue(70);
    main->hide();
    main->show();
    EXPECT_EQ(main->bj_v->value(), 70);
}

std::vector<QJsonObject> rehearse(const QStringList& args) {
    QString error;
    const auto options = sim::parseOptions(args, &error);
    EXPECT_TRUE(options) << error.toStdString();
    std::vector<QJsonObject> events;
    if (options) sim::rehearse(*options, [&](const QJsonObject& e) { events.push_back(e); });
    return events;
}

qint64 ms(const QJsonObject& e) {
    return QDateTime::fromString(e.value(QStringLiteral("t")).toString(),
                                 QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
        .toMSecsSinceEpoch();
}

TEST(BgmRehearsal, TheMusicDucksUnderAReadingAndRisesAfterIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            dir.filePath(QStringLiteral("draft.dat"))));
    copyTracks(dir.path());
    const auto events =
        rehearse({QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
                  QStringLiteral("2026-12-14 09:10:00"), QStringLiteral("--to"),
                  QStringLiteral("2026-12-14 09:10:45"), QStringLiteral("--do"),
                  QStringLiteral("09:10:05 bj_play"), QStringLiteral("--set"),
                  QStringLiteral("09:10:10 Memo1=各位同事上午好，现在播放一段通知。"),
                  QStringLiteral("--do"), QStringLiteral("09:10:12 sb_jexu")});
    std::vector<QJsonObject> plays, volumes, readings;
    for (const auto& e : events) {
        const QString ev = e.value(QStringLiteral("ev")).toString();
        if (ev == QLatin1String("bgm.play")) plays.push_back(e);
        if (ev == QLatin1String("bgm.volume")) volumes.push_back(e);
        if (ev.startsWith(QLatin1String("reading."))) readings.push_back(e);
    }
    ASSERT_EQ(plays.size(), 2u);  // the first track, then the next when it ended
    EXPECT_TRUE(plays[0].value(QStringLiteral("file")).toString().endsWith("mp3files/breeze.mp3"));
    EXPECT_TRUE(plays[1].value(QStringLiteral("file")).toString().endsWith("mp3files/morning.mp3"));
    ASSERT_EQ(readings.size(), 2u);
    ASSERT_GE(volumes.size(), 3u);
    // Started at the reading volume, it rose to the music volume in (90 - 10) x 20 ms.
    EXPECT_EQ(volumes[0].value(QStringLiteral("volume")).toInt(), 90);
    EXPECT_NEAR(ms(volumes[0]) - ms(plays[0]), 1600, 20);
    // Down to the reading volume within a few ticks of the reading's start ...
    EXPECT_EQ(volumes[1].value(QStringLiteral("volume")).toInt(), 10);
    EXPECT_LE(std::abs(ms(volumes[1]) - ms(readings[0])), 200);
    // ... and back up after its end.
    EXPECT_EQ(volumes[2].value(QStringLiteral("volume")).toInt(), 90);
    EXPECT_NEAR(ms(volumes[2]) - ms(readings[1]), 1600, 60);
}

}  // namespace
