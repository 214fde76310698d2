#include "speaker/speech/markup.h"

#include <QLocale>

namespace speech {

std::optional<QString> formatDate(const QDateTime& now, int datetimetype) {
    // Names as a Chinese system gives them, whatever the machine's own locale is.
    const QLocale zh(QLocale::Chinese, QLocale::China);
    switch (datetimetype) {
        case 1:
            return zh.toString(now, QStringLiteral("yyyy-MM-dd"));
        case 2:
            return zh.toString(now, QStringLiteral("H:mm:ss"));
        case 3:  // the short time of a Chinese system
            return zh.toString(now, QStringLiteral("H:mm"));
        case 4:
            return zh.toString(now.date(), QStringLiteral("MM月dd日"));
        case 5:
            return zh.toString(now, QStringLiteral("yyyy-MM-dd HH:mm"));
        case 6:
            return zh.dayName(now.date().dayOfWeek(), QLocale::ShortFormat);
        case 7:
            return zh.monthName(now.date().month(), QLocale::LongFormat);
        case 8:
            return zh.toString(now.date(), QStringLiteral("yyyy年MM月dd日 ")) +
                   zh.dayName(now.date().dayOfWeek(), QLocale::LongFormat);
        default:
            return std::nullopt;
    }
}

}  // namespace speech
