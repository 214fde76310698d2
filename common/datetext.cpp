#include "common/datetext.h"

namespace common {

QString weekdayName(const QDate& date) {
    static const char* const names[] = {"星期日", "星期一", "星期二", "星期三",
                                        "星期四", "星期五", "星期六"};
    // Qt numbers Monday 1 … Sunday 7.
    return QString::fromUtf8(names[date.dayOfWeek() % 7]);
}

QString dateWeekText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + weekdayName(date);
}

}  // namespace common
