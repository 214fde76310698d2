#pragma once
#include <QString>

namespace platform {

struct MemoryStatus {
    qint64 totalKb = 0;   // physical memory
    int loadPercent = 0;  // share of it in use
};

// Reads /proc/meminfo (or the given text of that form).
MemoryStatus memoryStatus();
MemoryStatus parseMeminfo(const QString& text);

}  // namespace platform
