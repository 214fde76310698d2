#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sim {

// One scripted user action: click or trigger NAME, or set NAME to VALUE, at a virtual time.
struct Action {
    QDateTime at;
    QString name;
    bool isSet = false;
    QString value;
};

struct Options {
    QString folder;
    QDateTime from;
    QDateTime to;
    bool answerYes = true;
    QString password;
    QString wav;  // where the mix of everything played is written; empty: nowhere
    std::vector<Action> actions;  // in the order given
};

// Parses the command line (argv[0] excluded). On error returns nothing and fills `error`.
std::optional<Options> parseOptions(const QStringList& args, QString* error);

// "[YYYY-MM-DD ]hh:nn:ss REST": the time (on `firstDay` when no date is given) and REST.
std::optional<std::pair<QDateTime, QString>> parseTimed(const QString& text, const QDate& firstDay);

}  // namespace sim
