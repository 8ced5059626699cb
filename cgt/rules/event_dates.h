#pragma once
// The dates of an event row as the entry checks read them, and the two dates of the CGT rules:
// 20 September 1985, when CGT began, and 21 September 1999, when indexation ended and the
// discount began (on that day the time 11.45am legal time in the ACT matters).

#include <optional>

#include "base/dates.h"

namespace cgt {

DateTime CgtStartDate();
DateTime IndexationEndDate();

// The date held by a date tag of the row; nullopt when it is blank or not a valid date.
std::optional<DateTime> DateOf(int tag);
// The date tag holds text that is neither blank nor the empty date mask (an invalid date
// counts as entered).
bool DateEntered(int tag);

// Comparisons of a date that may be missing: false when it is.
bool IsBefore(std::optional<DateTime> date, DateTime limit);
bool IsAfter(std::optional<DateTime> date, DateTime limit);
bool IsIndexationEnd(std::optional<DateTime> date);
// Both dates are present and `earlier` lies strictly before `later`.
bool Precedes(std::optional<DateTime> earlier, std::optional<DateTime> later);

} // namespace cgt
