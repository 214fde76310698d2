#include "sim/options.h"

#include <QRegularExpression>

namespace sim {

namespace {
QDateTime parseStamp(const QString& text) {
    return QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
}  // namespace

std::optional<std::pair<QDateTime, QString>> parseTimed(const QString& text, const QDate& firstDay) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:(\\d{4}-\\d{2}-\\d{2})\\s+)?(\\d{2}:\\d{2}:\\d{2})\\s+(.+)$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate day = m.captured(1).isEmpty()
                          ? firstDay
                          : QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(m.captured(2), QStringLiteral("HH:mm:ss"));
    if (!day.isValid() || !time.isValid()) return std::nullopt;
    return std::make_pair(QDateTime(day, time), m.captured(3).trimmed());
}

std::optional<Options> parseOptions(const QStringList& args, QString* error) {
    Options o;
    std::vector<std::pair<bool, QString>> ordered;  // (isSet, text) in command-line order
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto next = [&](QString* into) {
            if (i + 1 >= args.size()) return false;
            *into = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--folder")) {
            if (!next(&o.folder)) return fail(QStringLiteral("--folder needs a folder"));
        } else if (a == QLatin1String("--from") || a == QLatin1String("--to")) {
            if (!next(&v)) return fail(a + QStringLiteral(" needs \"YYYY-MM-DD hh:nn:ss\""));
            const QDateTime t = parseStamp(v);
            if (!t.isValid()) return fail(a + QStringLiteral(": not \"YYYY-MM-DD hh:nn:ss\": ") + v);
            (a == QLatin1String("--from") ? o.from : o.to) = t;
        } else if (a == QLatin1String("--answer")) {
            if (!next(&v) || (v != QLatin1String("yes") && v != QLatin1String("no")))
                return fail(QStringLiteral("--answer takes yes or no"));
            o.answerYes = v == QLatin1String("yes");
        } else if (a == QLatin1String("--password")) {
            if (!next(&o.password)) return fail(QStringLiteral("--password needs a text"));
        } else if (a == QLatin1String("--wav")) {
            if (!next(&o.wav)) return fail(QStringLiteral("--wav needs a file"));
        } else if (a == QLatin1String("--do") || a == QLatin1String("--set")) {
            if (!next(&v)) return fail(a + QStringLiteral(" needs \"[YYYY-MM-DD ]hh:nn:ss ...\""));
            ordered.push_back({a == QLatin1String("--set"), v});
        } else {
            return fail(QStringLiteral("unknown option: ") + a);
        }
    }
    if (o.folder.isEmpty()) return fail(QStringLiteral("--folder is required"));
    if (!o.from.isValid() || !o.to.isValid()) return fail(QStringLiteral("--from and --to are required"));
    if (o.to < o.from) return fail(QStringLiteral("--to is before --from"));
    for (const auto& [isSet, text] : ordered) {
        const auto timed = parseTimed(text, o.from.date());
        if (!timed) return fail(QStringLiteral("cannot read the time of: ") + text);
        Action act;
        act.at = timed->first;
        act.isSet = isSet;
        if (isSet) {
            const int eq = timed->second.indexOf(QLatin1Char('='));
            if (eq <= 0) return fail(QStringLiteral("--set needs NAME=VALUE: ") + text);
            act.name = timed->second.left(eq).trimmed();
            act.value = timed->second.mid(eq + 1);
        } else {
            act.name = timed->second;
        }
        o.actions.push_back(act);
    }
    return o;
}

}  // namespace sim
