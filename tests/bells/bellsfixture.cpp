#include "bellsfixture.h"

#include "tests/platform/audio/fixtures.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace bellstest {

std::vector<bells::MusicListRow> MemoryMusicList::rows() {
    auto sorted = rows_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.filename < b.filename; });
    return sorted;
}

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

BellsTest::BellsTest() {
    trace.setKeep(true);
    prompter.setTrace(&trace);
    services.programDir = dir.path() + QLatin1Char('/');
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
    services.audio = engine.get();
    auto status = [this](int panel, const QString& text) {
        if (panel >= 0 && panel < 4) statusPanels[static_cast<std::size_t>(panel)] = text;
    };
    channel = std::make_unique<bells::PlaybackChannel>(services, bells::ChannelHooks{status, {}});
    library = std::make_unique<bells::MusicLibrary>(services, *channel, store, status);
}

BellsTest::~BellsTest() {
    library.reset();
    channel.reset();
}

QString BellsTest::wav(const QString& name, double seconds) {
    const QString p = path(name);
    EXPECT_TRUE(audiotest::writeTone(p, {seconds, 8000, 1, 440.0, 0.5, 0})) << name.toStdString();
    return p;
}

QString BellsTest::mp3(const QString& name, double seconds) {
    const QString source = wav(name + QStringLiteral(".source.wav"), seconds);
    const QString p = path(name);
    EXPECT_TRUE(audiotest::encodeMp3(source, p)) << name.toStdString();
    QFile::remove(source);
    return p;
}

QString BellsTest::writeBytes(const QString& name, const QByteArray& bytes) {
    const QString p = path(name);
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return p;
}

void BellsTest::fillMusicList(const QStringList& paths) {
    for (const QString& p : paths) store.append(QFileInfo(p).fileName(), p);
    library->getfilelist();
}

QStringList BellsTest::played() const {
    QStringList out;
    for (const auto& e : trace.events("channel.play"))
        out << QFileInfo(e.value("file").toString()).fileName();
    return out;
}

}  // namespace bellstest
