// speaker-sim: rehearses the broadcasting day of a program folder on a virtual clock and
// prints what the program would do as JSON Lines.

#include "sim/options.h"
#include "sim/rehearsal.h"

#include <QApplication>
#include <QJsonDocument>

#include <cstdio>

namespace {
const char* const kUsage =
    "usage: speaker-sim --folder DIR --from \"YYYY-MM-DD hh:nn:ss\" --to \"YYYY-MM-DD hh:nn:ss\"\n"
    "                   [--answer yes|no] [--password TEXT] [--wav FILE]\n"
    "                   [--do \"[YYYY-MM-DD ]hh:nn:ss NAME\"]...\n"
    "                   [--set \"[YYYY-MM-DD ]hh:nn:ss NAME=VALUE\"]...\n";
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without TZ the C library checks /etc/localtime on every local-time conversion, and a
    // rehearsed day converts millions of times; read the zone once instead.
    if (!qEnvironmentVariableIsSet("TZ")) qputenv("TZ", ":/etc/localtime");
    QApplication application(argc, argv);
    QString error;
    const auto options = sim::parseOptions(QApplication::arguments().mid(1), &error);
    if (!options) {
        std::fprintf(stderr, "speaker-sim: %s\n%s", qPrintable(error), kUsage);
        return 2;
    }
    return sim::rehearse(*options, [](const QJsonObject& event) {
        const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact);
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    });
}
