#include "speaker/bellschedule/times.h"

#include "common/timetext.h"

#include <QTime>

namespace bellschedule {

QString shiftTimeText(const QString& text, int minutes) {
    if (!common::isTimeText(text)) return text;
    const QTime t = QTime::fromString(text.trimmed(), QStringLiteral("hh:mm:ss"));
    if (!t.isValid()) return text;
    constexpr int kDay = 24 * 60 * 60;
    int s = (t.msecsSinceStartOfDay() / 1000 + minutes * 60) % kDay;
    if (s < 0) s += kDay;
    return QTime::fromMSecsSinceStartOfDay(s * 1000).toString(QStringLiteral("hh:mm:ss"));
}

TimePairCheck checkTimePair(const QString& start, const QString& end) {
    // Exactly eight characters: a trailing character would break the text comparisons of
    // the due check.
    if (start.size() != 8 || end.size() != 8 || !common::isTimeText(start) ||
        !common::isTimeText(end))
        return TimePairCheck::BadForm;
    if (start > end) return TimePairCheck::StartAfterEnd;
    return TimePairCheck::Ok;
}

}  // namespace bellschedule
