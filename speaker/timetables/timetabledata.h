#pragma once
// The statements of the timetable dialogs. Every name travels as a bound parameter, so blanks,
// quotes and any characters are stored and found exactly.

#include <QString>

namespace core {
class Dataset;
}
namespace platform {
class Database;
}

namespace timetables {

// A row of table scheduling holds exactly `name` (blanks kept).
bool timetableExists(platform::Database& db, const QString& name);
// Inserts a copy of every row of `entries` into timetable `trimmedName` (new ids, txtplay
// false). False, with the database's text in `error`, when a row cannot be stored.
bool copyEntries(platform::Database& db, const core::Dataset& entries, const QString& trimmedName,
                 QString* error);
// Deletes the entries of timetable `trimmedName`.
bool deleteEntries(platform::Database& db, const QString& trimmedName, QString* error);
// Table filelist (the music list) holds no rows.
bool musicListEmpty(platform::Database& db);

}  // namespace timetables
