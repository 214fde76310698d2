#pragma once
// Times of day as the bell grid holds them: "hh:nn:ss" text, compared as text.

#include <QString>

namespace bellschedule {

// `text` moved by `minutes` (negative: earlier), wrapping within the day, written back as
// "hh:nn:ss". A text that is not a time of day is returned as it is.
QString shiftTimeText(const QString& text, int minutes);

// The result of checking a start and end time typed into the temporary edit.
enum class TimePairCheck { Ok, BadForm, StartAfterEnd };
// Both must be "hh:nn:ss" (hours to 23, minutes and seconds to 59, digits only); the start
// may not be later than the end (equal passes). Blanks around the texts are the caller's.
TimePairCheck checkTimePair(const QString& start, const QString& end);

}  // namespace bellschedule
