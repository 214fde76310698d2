// The unplayable-file check over 1000 files (most of them tiny valid WAVs, some damaged),
// against a plain libsndfile open/close loop over the same files in the same run.
#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/check/fcheckunplay.h"
#include "speaker/core/services.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <sndfile.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kFiles = 1000;
constexpr int kBadEvery = 20;  // one file in twenty is damaged

bool writeWav(const QString& path) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f) return false;
    std::vector<short> samples(800, 1000);  // a tenth of a second
    sf_write_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(f);
    return true;
}

bool writeBad(const QString& path, int kind) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (kind == 1) f.write("plain text given a sound file's name\n");
    if (kind == 2) f.write(QByteArray(3000, '\x33'));
    return true;  // kind 0: zero length
}

double plainLoopMs(const QStringList& paths) {
    QElapsedTimer t;
    t.start();
    int opened = 0;
    for (const QString& p : paths) {
        SF_INFO info{};
        if (SNDFILE* f = sf_open(QFile::encodeName(p).constData(), SFM_READ, &info)) {
            ++opened;
            sf_close(f);
        }
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    std::printf("plain loop: %d of %lld opened\n", opened, static_cast<long long>(paths.size()));
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < kFiles; ++i) {
        const bool bad = i % kBadEvery == 0;
        const QString p = dir.filePath(QStringLiteral("%1 音乐.%2")
                                           .arg(i, 4, 10, QLatin1Char('0'))
                                           .arg(i % 3 ? "wav" : "WAV"));
        if (!(bad ? writeBad(p, (i / kBadEvery) % 3) : writeWav(p))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(p));
            return 1;
        }
        paths << p;
    }

    platform::VirtualClock clock(QDateTime(QDate(2026, 12, 14), QTime(8, 0)));
    platform::Trace trace(clock);
    platform::ScriptedPrompter prompter;
    auto engine = platform::makeNullAudioEngine(clock);
    core::Services services;
    services.programDir = dir.path() + QLatin1Char('/');
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
    services.audio = engine.get();
    bells::PlaybackChannel channel(services, {});
    check::TFcheckunplay window(channel, prompter);
    window.setFolder(dir.path());

    // Warm the file cache for both, then time each twice and keep the better run.
    plainLoopMs(paths);
    double plain = 1e300, checked = 1e300;
    for (int round = 0; round < 2; ++round) {
        plain = std::min(plain, plainLoopMs(paths));
        QElapsedTimer t;
        t.start();
        window.Button9Click();
        checked = std::min(checked, double(t.nsecsElapsed()) / 1e6);
    }
    const int failed = window.Memo1->toPlainText().split('\n', Qt::SkipEmptyParts).size();
    std::printf("check: %d files, %d listed as unplayable (expected %d)\n", kFiles, failed,
                kFiles / kBadEvery);
    std::printf("per file: check / plain libsndfile open+close = %.2f\n", checked / plain);
    return failed == kFiles / kBadEvery ? 0 : 1;
}
