#pragma once
// The dates of the CGT rules: 20 September 1985, when CGT began, and 21 September 1999, when
// indexation ended and the discount began (on that day the time 11.45am legal time in the ACT
// matters); the income year, 1 July 2003 to 30 June 2004; and comparisons of dates that may be
// missing.

#include <optional>

#include "base/dates.h"

namespace cgt {

DateTime CgtStartDate();
DateTime IndexationEndDate();
DateTime IncomeYearStart();
DateTime IncomeYearEnd();

// Comparisons of a date that may be missing: false when it is.
bool IsBefore(std::optional<DateTime> date, DateTime limit);
bool IsAfter(std::optional<DateTime> date, DateTime limit);
bool IsIndexationEnd(std::optional<DateTime> date);
// Both dates are present and `earlier` lies strictly before `later`.
bool Precedes(std::optional<DateTime> earlier, std::optional<DateTime> later);

} // namespace cgt
