#include "bellschedfixture.h"

#include "tests/platform/audio/fixtures.h"

#include <QFile>
#include <QJsonObject>

namespace bellschedtest {

bool MemoryMusicList::append(const QString& filename, const QString& filepath) {
    rows_.push_back({next_++, filename, filepath});
    return true;
}

bool MemoryMusicList::remove(qint64 id) {
    return std::erase_if(rows_, [id](const auto& r) { return r.id == id; }) > 0;
}

bool MemoryMusicList::removeAll() {
    rows_.clear();
    return true;
}

BellSchedTest::BellSchedTest(const QDateTime& start) : clock(start) {
    trace.setKeep(true);
    prompter.setTrace(&trace);
    engine = platform::makeNullAudioEngine(clock);
    services.programDir = dir.path() + QLatin1Char('/');
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
    services.audio = engine.get();
}

BellSchedTest::~BellSchedTest() {
    bells.reset();
    library.reset();
    channel.reset();
}

void BellSchedTest::SetUp() {
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            services.programFile(QStringLiteral("draft.dat"))));
    dm = core::DM::create(services.programDir, prompter);
    ASSERT_TRUE(dm);
    auto status = [this](int panel, const QString& text) {
        if (panel >= 0 && panel < 4) statusPanels[size_t(panel)] = text;
    };
    channel = std::make_unique<bells::PlaybackChannel>(services, bells::ChannelHooks{status, {}});
    library = std::make_unique<bells::MusicLibrary>(services, *channel, store, status);
}

namespace {
QString sqlText(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}
}  // namespace

void BellSchedTest::addTimetable(const QString& name, const std::vector<Entry>& entries) {
    platform::Database& db = dm->conn1();
    ASSERT_TRUE(db.exec(
        QStringLiteral("INSERT INTO scheduling (scheduling) VALUES (%1)").arg(sqlText(name))));
    for (const Entry& e : entries) {
        QStringList days;
        for (bool d : e.days) days << (d ? QStringLiteral("-1") : QStringLiteral("0"));
        const QString sql =
            QStringLiteral(
                "INSERT INTO sch_det (name, filepath, playtime, endtime, Monday, Tuesday, "
                "Wednesday, Thursday, Friday, Saturday, Sunday, dumpplay, playmodel, scheduling, "
                "weather, voice) VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10)")
                .arg(sqlText(e.name), sqlText(e.file), sqlText(e.start), sqlText(e.end),
                     days.join(QLatin1Char(',')),
                     e.loop ? QStringLiteral("-1") : QStringLiteral("0"), sqlText(e.model),
                     sqlText(name), sqlText(e.weather))
                .arg(e.volume);
        ASSERT_TRUE(db.exec(sql)) << sql.toStdString();
    }
}

bellschedule::BellScheduler& BellSchedTest::start(const QString& name) {
    bells = std::make_unique<bellschedule::BellScheduler>(
        services, *dm, *channel, *library,
        bellschedule::BellWidgets{&Comb1, nullptr,
                                  [this](int panel, const QString& text) {
                                      if (panel >= 0 && panel < 4)
                                          statusPanels[size_t(panel)] = text;
                                  }},
        bellschedule::BellState{sunnymode, bellrunning, schindex, schname, nomusicday});
    bells->confirmPassword = [] { return true; };
    schindex = 0;
    bells->getschlist();
    const int at = Comb1.findText(name);
    EXPECT_GE(at, 0) << name.toStdString();
    // The selector's change reads the timetable and builds the grid.
    if (Comb1.currentIndex() == at)
        bells->Comb1Change();
    else
        Comb1.setCurrentIndex(at);
    EXPECT_EQ(schname, name);
    return *bells;
}

QString BellSchedTest::wav(const QString& name, double seconds, int rate) {
    const QString p = dir.filePath(name);
    EXPECT_TRUE(audiotest::writeTone(p, {seconds, rate, 1, 440.0, 0.5, 0})) << name.toStdString();
    return p;
}

void BellSchedTest::advanceTo(const QTime& t) {
    clock.advance(clock.now().time().msecsTo(t));
}

std::vector<Seen> BellSchedTest::bellEvents() const {
    std::vector<Seen> seen;
    for (const QJsonObject& e : trace.events()) {
        const QString ev = e.value(QStringLiteral("ev")).toString();
        if (!ev.startsWith(QStringLiteral("bell."))) continue;
        seen.push_back({ev, e.value(QStringLiteral("t")).toString().mid(11),
                        e.value(QStringLiteral("row")).toInt(),
                        e.value(QStringLiteral("reason")).toString()});
    }
    return seen;
}

QStringList BellSchedTest::messages() const {
    QStringList texts;
    for (const platform::MessageBox& box : prompter.shown()) texts << box.text;
    return texts;
}

}  // namespace bellschedtest
