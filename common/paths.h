#pragma once
#include <QString>

namespace common {

// Appends "/" unless the text is empty or already ends with it.
QString addbackslash(const QString& path);
// The last n characters of a text (all of it when shorter).
QString rightstr(const QString& text, int n);
// The system's temporary folder, with a trailing "/".
QString tempdir();

}  // namespace common
