#include "appfixture.h"

#include "controls/ledfont.h"
#include "speaker/app/mainwindow.h"

#include <QLabel>

class DateChangeTest : public AppTest {
protected:
    DateChangeTest() : AppTest(QDateTime(QDate(2026, 12, 14), QTime(23, 58, 30))) {}
};

TEST_F(DateChangeTest, MidnightRebuildsTheDayOnceWithinAMinute) {
    installDatabase();
    auto& w = start();
    int rebuilds = 0;
    QObject::connect(w.f_speaker.get(), &app::Tf_speaker::dateChanged,
                     [&](const QDate& d) {
                         ++rebuilds;
                         EXPECT_EQ(d, QDate(2026, 12, 15));
                     });
    clock.runUntil(QDateTime(QDate(2026, 12, 14), QTime(23, 59, 59)));
    EXPECT_EQ(w.f_speaker->LED1->text(), QStringLiteral("23"));
    EXPECT_EQ(w.f_speaker->LED3->text(), QStringLiteral("59"));
    EXPECT_EQ(rebuilds, 0);  // start-up wrote today's date: the checks before midnight do nothing
    clock.runUntil(QDateTime(QDate(2026, 12, 15), QTime(0, 0, 0, 200)));
    EXPECT_EQ(w.f_speaker->StaticText12->text(), QStringLiteral("2026-12-15 星期二"));
    clock.runUntil(QDateTime(QDate(2026, 12, 15), QTime(0, 1, 0)));
    EXPECT_EQ(rebuilds, 1);
    clock.runUntil(QDateTime(QDate(2026, 12, 15), QTime(0, 5, 0)));
    EXPECT_EQ(rebuilds, 1);
    const auto events = trace.events(QStringLiteral("datechange"));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value(QStringLiteral("date")).toString(), QStringLiteral("2026-12-15"));
    EXPECT_TRUE(readIni().contains(QStringLiteral("Opendate=2026-12-15")));
}

TEST_F(DateChangeTest, SettingTheComputerClockToAnotherDayAlsoCounts) {
    installDatabase();
    start();
    clock.advance(1000);
    clock.setWallTime(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));  // set back four days
    clock.advance(61000);
    const auto events = trace.events(QStringLiteral("datechange"));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value(QStringLiteral("date")).toString(), QStringLiteral("2026-12-10"));
}
