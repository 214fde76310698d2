#include "platform/system/meminfo.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>

namespace platform {

MemoryStatus parseMeminfo(const QString& text) {
    qint64 total = 0, available = -1, free = 0, buffers = 0, cached = 0;
    static const QRegularExpression line(QStringLiteral("^(\\w+):\\s+(\\d+)"),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString key = m.captured(1);
        const qint64 value = m.captured(2).toLongLong();
        if (key == QLatin1String("MemTotal")) total = value;
        else if (key == QLatin1String("MemAvailable")) available = value;
        else if (key == QLatin1String("MemFree")) free = value;
        else if (key == QLatin1String("Buffers")) buffers = value;
        else if (key == QLatin1String("Cached")) cached = value;
    }
    // Older kernels have no MemAvailable: free + buffers + cache is the usual estimate.
    if (available < 0) available = free + buffers + cached;
    MemoryStatus s;
    s.totalKb = total;
    if (total > 0) {
        const double used = double(total - std::min(available, total)) * 100.0 / double(total);
        s.loadPercent = int(std::lround(used));
    }
    return s;
}

MemoryStatus memoryStatus() {
    QFile f(QStringLiteral("/proc/meminfo"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return parseMeminfo(QString::fromLatin1(f.readAll()));
}

}  // namespace platform
