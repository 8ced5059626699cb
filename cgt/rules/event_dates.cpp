#include "cgt/rules/event_dates.h"

namespace cgt {

DateTime CgtStartDate() {
    static const DateTime start = *EncodeDate(1985, 9, 20);
    return start;
}

DateTime IndexationEndDate() {
    static const DateTime end = *EncodeDate(1999, 9, 21);
    return end;
}

DateTime IncomeYearStart() {
    static const DateTime start = *EncodeDate(2003, 7, 1);
    return start;
}

DateTime IncomeYearEnd() {
    static const DateTime end = *EncodeDate(2004, 6, 30);
    return end;
}

bool IsBefore(std::optional<DateTime> date, DateTime limit) {
    return date && *date < limit;
}

bool IsAfter(std::optional<DateTime> date, DateTime limit) {
    return date && *date > limit;
}

bool IsIndexationEnd(std::optional<DateTime> date) {
    return date && *date == IndexationEndDate();
}

bool Precedes(std::optional<DateTime> earlier, std::optional<DateTime> later) {
    return earlier && later && *earlier < *later;
}

} // namespace cgt
