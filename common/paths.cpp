#include "common/paths.h"

#include <QDir>

namespace common {

QString addbackslash(const QString& path) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/'))) return path;
    return path + QLatin1Char('/');
}

QString rightstr(const QString& text, int n) {
    if (n <= 0) return {};
    return text.size() <= n ? text : text.right(n);
}

QString tempdir() {
    return addbackslash(QDir::tempPath());
}

}  // namespace common
