// Build-time generator of the initial database: runs the seed SQL into a new keyed file.
// Usage: mkdraft SEED.sql OUT.dat KEY
#include <QFile>
#include <QString>

#include <cstdio>

#include "platform/store/database.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: mkdraft SEED.sql OUT.dat KEY\n");
        return 2;
    }
    const QString seedPath = QString::fromLocal8Bit(argv[1]);
    const QString outPath = QString::fromLocal8Bit(argv[2]);
    const QString key = QString::fromLocal8Bit(argv[3]);

    QFile seed(seedPath);
    if (!seed.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkdraft: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString sql = QString::fromUtf8(seed.readAll());

    // Built beside the target and renamed at the end, so a failed run never leaves a
    // half-filled database where the program looks for it.
    const QString partPath = outPath + QStringLiteral(".part");
    QFile::remove(partPath);
    {
        platform::Database db;
        if (!db.create(partPath, key) || !db.exec(sql)) {
            std::fprintf(stderr, "mkdraft: %s\n", qPrintable(db.errorText()));
            db.close();
            QFile::remove(partPath);
            return 1;
        }
    }
    QFile::remove(outPath);
    if (!QFile::rename(partPath, outPath)) {
        std::fprintf(stderr, "mkdraft: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
