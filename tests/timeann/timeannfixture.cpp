#include "timeannfixture.h"

#include "common/paths.h"

#include <QFile>

void StampedSpeechOutput::queued(uint64_t id) {
    (void)id;
    std::lock_guard lk(mutex_);
    ticks_.push_back(clock_.tickMs());
}

std::vector<qint64> StampedSpeechOutput::requestTicks() const {
    std::lock_guard lk(mutex_);
    return ticks_;
}

TimeAnnTest::TimeAnnTest(const QDateTime& start) : clock(start) {
    trace.setKeep(true);
    prompter.setTrace(&trace);
    audio = platform::makeNullAudioEngine(clock);
    spoken = std::make_shared<StampedSpeechOutput>(clock);
    speech = std::make_unique<platform::SpeechEngine>(spoken);
    services.programDir = common::addbackslash(dir.path());
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
    services.audio = audio.get();
    services.speech = speech.get();
}

void TimeAnnTest::SetUp() {
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            services.programFile(QStringLiteral("draft.dat"))));
    dm = core::DM::create(services.programDir, prompter);
    ASSERT_TRUE(dm);
    ASSERT_TRUE(speech->available()) << speech->errorText().toStdString();
}

void TimeAnnTest::switchRow(const QString& stime, bool on) {
    core::Dataset& table = dm->Q_telltime();
    ASSERT_TRUE(table.locate(QStringLiteral("stime"), stime));
    ASSERT_TRUE(table.setField(QStringLiteral("isplay"), on));
    ASSERT_TRUE(table.post());
}

timeann::TimeAnnouncer& TimeAnnTest::announcer() {
    if (!announcer_) {
        announcer_ = std::make_unique<timeann::TimeAnnouncer>(services, dm->Q_telltime(), nullptr);
        announcer_->getsgrid3data();
    }
    return *announcer_;
}

std::vector<std::pair<QString, QString>> TimeAnnTest::events(const QString& ev) const {
    std::vector<std::pair<QString, QString>> list;
    for (const QJsonObject& e : trace.events(ev))
        list.emplace_back(e.value(QStringLiteral("t")).toString().mid(11),
                          e.value(QStringLiteral("text")).toString());
    return list;
}
