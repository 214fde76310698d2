// The page in the whole program: a rehearsal on a folder with 08:00 and 08:30 switched on.
#include "sim/rehearsal.h"
#include "timeannfixture.h"

#include <QJsonObject>

namespace {

using RehearsalTest = TimeAnnTest;

TEST_F(RehearsalTest, SwitchedOnTimesAreChimedAndSpokenThroughTheDay) {
    switchRow(QStringLiteral("08:00:00"), true);
    switchRow(QStringLiteral("08:30:00"), true);
    dm.reset();  // the rehearsal opens the folder itself

    sim::Options options;
    options.folder = dir.path();
    options.from = QDateTime(QDate(2026, 12, 14), QTime(7, 59, 30));
    options.to = QDateTime(QDate(2026, 12, 14), QTime(8, 31));
    std::vector<QJsonObject> seen;
    ASSERT_EQ(sim::rehearse(options, [&](const QJsonObject& e) { seen.push_back(e); }), 0);

    const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz");
    std::vector<std::pair<QString, QString>> announced;  // (second of the chime, text)
    QDateTime chime;
    for (const QJsonObject& e : seen) {
        const QDateTime t = QDateTime::fromString(e["t"].toString(), format);
        if (e["ev"] == QLatin1String("chime")) chime = t;
        if (e["ev"] != QLatin1String("announce")) continue;
        ASSERT_TRUE(chime.isValid());
        EXPECT_EQ(chime.msecsTo(t), 1300);
        announced.emplace_back(chime.toString("hh:mm:ss"), e["text"].toString());
        chime = {};
    }
    EXPECT_EQ(announced,
              (std::vector<std::pair<QString, QString>>{{"08:00:00", "现在是北京时间08:00正"},
                                                        {"08:30:00", "现在是北京时间08:30"}}));
}

}  // namespace
