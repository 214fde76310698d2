#include "speaker/timeann/timeann.h"

#include <QFile>

// The resource lives in an object library linked into this one; naming it here keeps the
// linker from dropping it.
static void initChimeResource() {
    Q_INIT_RESOURCE(chime);
}

namespace timeann {

QByteArray chimeWav() {
    initChimeResource();
    QFile file(QStringLiteral(":/sounds/clock.wav"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace timeann
