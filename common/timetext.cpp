#include "common/timetext.h"

namespace common {

namespace {
// The two ASCII digits at `pos`, or -1 (a sign or a blank is not a digit).
int twoDigits(const QString& text, int pos) {
    const QChar hi = text.at(pos);
    const QChar lo = text.at(pos + 1);
    if (hi < QLatin1Char('0') || hi > QLatin1Char('9') || lo < QLatin1Char('0') ||
        lo > QLatin1Char('9'))
        return -1;
    return (hi.unicode() - '0') * 10 + (lo.unicode() - '0');
}
}  // namespace

bool isTimeText(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() != 8 || t.at(2) != QLatin1Char(':') || t.at(5) != QLatin1Char(':')) return false;
    const int h = twoDigits(t, 0);
    const int m = twoDigits(t, 3);
    const int s = twoDigits(t, 6);
    return h >= 0 && h <= 23 && m >= 0 && m < 60 && s >= 0 && s < 60;
}

}  // namespace common
