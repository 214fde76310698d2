// Figures of the speech engine, each as a ratio measured in this run, on the same 2000
// characters of Chinese written to a WAV file with the same Mandarin voice:
//  - our in-process engine against the `espeak-ng` program (also against the program with its
//    start-up, measured on a one-character text, taken off);
//  - our real-time factor: synthesis time over the duration of the speech.
#include "platform/speech/speechengine.h"
#include "platform/speech/wavfileoutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr const char* kVoice = "sit/cmn-Latn-pinyin";
constexpr int kRuns = 5;

QString chineseText(int chars) {
    const QString base = QStringLiteral(
        "同学们早上好，现在是早读时间，请大家拿出语文课本，认真朗读第三课。"
        "今天天气晴朗，最高气温二十五度，请注意适当增减衣服。"
        "下午第三节课后举行全校大扫除，请各班按照分工做好准备。"
        "图书馆本周六照常开放，欢迎同学们前往借阅。");
    QString text;
    while (text.size() < chars) text += base;
    return text.left(chars);
}

// Best (least disturbed) milliseconds of `fn` over kRuns runs; -1 when it failed.
template <typename Fn>
double bestMs(Fn fn) {
    double best = -1;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        if (!fn()) return -1;
        const double ms = double(t.nsecsElapsed()) / 1e6;
        best = best < 0 ? ms : std::min(best, ms);
    }
    return best;
}

bool runProgram(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("espeak-ng"), args);
    return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString textFile = dir.filePath(QStringLiteral("text.txt"));
    const QString shortFile = dir.filePath(QStringLiteral("short.txt"));
    const QString text = chineseText(2000);
    for (const auto& [path, content] :
         {std::pair{textFile, text}, {shortFile, QStringLiteral("好")}}) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(content.toUtf8()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    platform::SpeechEngine engine;
    int voice = -1;
    for (size_t i = 0; i < engine.voices().size(); ++i)
        if (engine.voices()[i].id == QLatin1String(kVoice)) voice = static_cast<int>(i);
    if (!engine.available() || voice < 0 || !engine.selectVoice(voice)) {
        std::fprintf(stderr, "the voice %s is not available\n", kVoice);
        return 1;
    }

    size_t frames = 0;
    const double ours = bestMs([&] {
        auto file = std::make_shared<platform::WavFileSpeechOutput>(dir.filePath("ours.wav"));
        engine.setOutput(file);
        engine.speakAsync(text);
        const bool ok = engine.waitUntilDone() && file->close();
        frames = file->framesWritten();
        return ok;
    });
    const QString theirsWav = dir.filePath(QStringLiteral("theirs.wav"));
    const double theirs = bestMs([&] {
        return runProgram({"-v", kVoice, "-w", theirsWav, "-f", textFile});
    });
    const double startup = bestMs([&] {
        return runProgram({"-v", kVoice, "-w", theirsWav, "-f", shortFile});
    });
    if (ours < 0 || theirs < 0 || startup < 0 || frames == 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    const double speechSeconds = double(frames) / platform::kSpeechSampleRate;
    std::printf("text: %lld characters, %.1f s of speech (best of %d runs)\n",
                static_cast<long long>(text.size()), speechSeconds, kRuns);
    std::printf("synthesis to WAV, ours / espeak-ng program:            %.2f (target <= 1.2)\n",
                ours / theirs);
    std::printf("synthesis to WAV, ours / program without its start-up:  %.2f\n",
                ours / std::max(theirs - startup, 1e-3));
    std::printf("  (ours %.0f ms, program %.0f ms, its start-up %.0f ms)\n", ours, theirs, startup);
    std::printf("real-time factor (synthesis time / speech duration):   %.4f\n",
                ours / 1000.0 / speechSeconds);
    return 0;
}
