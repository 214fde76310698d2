#pragma once
#include <QString>

namespace common {

// True for a time of day "HH:MM:SS" (blanks around it allowed): exactly eight characters,
// ':' as 3rd and 6th, two ASCII digits in each field, hours 0..23, minutes and seconds 0..59.
// Signs, blanks inside, one-digit hours and trailing characters are refused, because the
// schedules compare these texts character by character.
bool isTimeText(const QString& text);

}  // namespace common
