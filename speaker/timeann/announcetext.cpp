#include "speaker/timeann/timeann.h"

namespace timeann {

QString announcementText(const QString& hhnn) {
    const QString prefix = QStringLiteral("现在是北京时间");
    const QString hour = hhnn.left(2);
    const QString minutes = hhnn.mid(3, 2);
    if (hour != QLatin1String("00"))
        return prefix + hhnn + (minutes == QLatin1String("00") ? QStringLiteral("正") : QString());
    if (hhnn == QLatin1String("00:00")) return prefix + QStringLiteral(" 零点正");
    if (hhnn == QLatin1String("00:30")) return prefix + QStringLiteral(" 零点30");
    return {};
}

}  // namespace timeann
