#pragma once
// Writing a table of texts as a one-sheet spreadsheet (.xlsx): a header row, then the rows.
// Cells that read as whole numbers are written as numbers, the rest as text.

#include <QString>
#include <QStringList>

#include <vector>

namespace plans {

// False when the file could not be written (nothing usable was left behind then).
bool writeXlsx(const QString& path, const QStringList& headers,
               const std::vector<QStringList>& rows);

}  // namespace plans
