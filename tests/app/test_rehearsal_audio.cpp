// A reading rehearsed with --wav: the recorded mix holds the speech, and the pauses after the
// break marks are silent where the segment events put them.
#include "sim/options.h"
#include "sim/rehearsal.h"
#include "tests/platform/audio/fixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(RehearsalAudio, ReadingIsHeardAndItsPausesFollowTheBreakMarks) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            dir.filePath(QStringLiteral("draft.dat"))));
    const QString wav = dir.filePath(QStringLiteral("day.wav"));
    QString error;
    const auto options = sim::parseOptions(
        {QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
         QStringLiteral("2026-12-14 08:00:00"), QStringLiteral("--to"),
         QStringLiteral("2026-12-14 08:00:20"), QStringLiteral("--wav"), wav,
         QStringLiteral("--set"), QStringLiteral("08:00:01 Memo1=上午好，欢迎光临。祝您愉快。"),
         QStringLiteral("--do"), QStringLiteral("08:00:02 sb_jexu")},
        &error);
    ASSERT_TRUE(options) << error.toStdString();
    std::vector<QJsonObject> segments;
    ASSERT_EQ(sim::rehearse(*options,
                            [&](const QJsonObject& e) {
                                if (e.value(QStringLiteral("ev")).toString() ==
                                    QLatin1String("speech.segment"))
                                    segments.push_back(e);
                            }),
              0);
    ASSERT_EQ(segments.size(), 3u);

    const auto sound = audiotest::readSound(wav);
    ASSERT_GT(sound.rate, 0);
    const auto frameAt = [&](const QJsonObject& e, int offsetMs) {
        const QTime t = QTime::fromString(e.value(QStringLiteral("t")).toString().mid(11),
                                          QStringLiteral("hh:mm:ss.zzz"));
        return (long long)(QTime(8, 0, 0).msecsTo(t) + offsetMs) * sound.rate / 1000;
    };
    // Length of the silence that ends right where segment `i` starts.
    const auto silenceBefore = [&](size_t i) {
        const long long startFrame = frameAt(segments[i], 0);
        const long long step = sound.rate / 100;  // 10 ms
        long long f = startFrame;
        while (f - step >= 0 && audiotest::rms(sound, f - step, f) < 0.001) f -= step;
        return (startFrame - f) * 1000 / sound.rate;
    };
    // Before the reading: silence.
    EXPECT_LT(audiotest::rms(sound, 0, sound.rate), 0.001);
    ASSERT_EQ(segments[0].value(QStringLiteral("pause")).toInt(), 0);    // after "，"
    ASSERT_EQ(segments[1].value(QStringLiteral("pause")).toInt(), 300);  // after "。"
    for (const auto& segment : segments) {
        // Speech right after each segment starts.
        EXPECT_GT(audiotest::rms(sound, frameAt(segment, 50), frameAt(segment, 600)), 0.01);
    }
    // The pause of "。" lengthens the silence before the next segment by its 300 ms.
    const long long afterComma = silenceBefore(1), afterStop = silenceBefore(2);
    EXPECT_GE(afterStop - afterComma, 250) << afterComma << " " << afterStop;
    EXPECT_LE(afterStop - afterComma, 350) << afterComma << " " << afterStop;
}
