// Cutting texts into reading segments, against a plain scan of the same text for its break
// marks: on 100 KB and on 1 MB (the same ratio means linear), and cutting each 500-byte
// window afresh against the segmenter.
#include "common/gbktext.h"
#include "speaker/speech/markup.h"
#include "speaker/speech/segmenter.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

speech::MarkList initialMarks() {
    speech::MarkList m;
    m.marks = {{u'。', 300}, {u'，', 0}, {u',', 0},  {u'；', 0}, {u';', 0},
               {u'？', 0},   {u'?', 0},  {u'！', 0}, {u'!', 0}};
    return m;
}

QString text(qsizetype size) {
    QString t;
    while (t.size() < size) t += QStringLiteral("今天天气很好，we read 一段文字。【语速3】");
    return t.left(size);
}

// Nanoseconds per character, best of five.
double segmenter(const QString& t, const speech::MarkList& m) {
    qint64 best = -1;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        speech::Segmenter s(t, m);
        qsizetype covered = 0;
        while (auto piece = s.next()) covered += piece->length;
        const qint64 ns = timer.nsecsElapsed();
        if (covered != t.size()) std::fprintf(stderr, "segmenter lost text\n");
        if (best < 0 || ns < best) best = ns;
    }
    return double(best) / double(t.size());
}

// The reference: one pass over the text counting its break marks.
double scan(const QString& t, const speech::MarkList& m) {
    qint64 best = -1;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        qsizetype found = 0;
        for (QChar c : t) found += m.pauseOf(c) ? 1 : 0;
        const qint64 ns = timer.nsecsElapsed();
        if (found < 0) std::fprintf(stderr, "impossible\n");
        if (best < 0 || ns < best) best = ns;
    }
    return double(best) / double(t.size());
}

double windows(const QString& t, const speech::MarkList& m) {
    qint64 best = -1;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        QStringView rest(t);
        while (!rest.isEmpty()) {
            const QStringView window = common::gbkTake(rest, speech::kWindowBytes);
            rest = rest.sliced(speech::nextsegment(window, m).text.size());
        }
        const qint64 ns = timer.nsecsElapsed();
        if (best < 0 || ns < best) best = ns;
    }
    return double(best) / double(t.size());
}

}  // namespace

int main() {
    const speech::MarkList m = initialMarks();
    const QString small = text(100 * 1024), large = text(1024 * 1024);
    const double perCharLarge = segmenter(large, m);
    std::printf("segmenter / plain scan, 100 KB: %.2f\n", segmenter(small, m) / scan(small, m));
    std::printf("segmenter / plain scan, 1 MB: %.2f\n", perCharLarge / scan(large, m));
    std::printf("windows cut afresh / segmenter, 1 MB: %.2f\n", windows(large, m) / perCharLarge);
    const QString dense(1024 * 1024, u'。');
    std::printf("windows cut afresh / segmenter, 1 MB of break marks: %.2f\n",
                windows(dense, m) / segmenter(dense, m));
    return 0;
}
