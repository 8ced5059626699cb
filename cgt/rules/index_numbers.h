#pragma once
// Consumer price index numbers by calendar quarter and the indexation factor built from them.

#include <array>

#include "base/dates.h"
#include "base/extended.h"

namespace cgt {

// The income year of the module; the index table's first row is this year.
inline constexpr int kIndexIncomeYear = 2004;
inline constexpr int kIndexTableRows = 20; // 2004 down to 1985

// Index numbers one row per calendar year, from kIndexIncomeYear down (row = 2004 - year);
// columns are the quarters Jan-Mar, Apr-Jun, Jul-Sep, Oct-Dec. A 0.0 means no index number
// was published for the quarter. From Jul-Sep 1999 on the number stays at 123.4.
extern const std::array<std::array<double, 4>, kIndexTableRows> IndexTable;

// Index number of the calendar quarter that contains `date`; only year and month count.
// Dates in 2002 or later give 123.4, dates before 1985 give 71.3. Never fails.
Extended GetIndexNumber(DateTime date);

// Factor raising a cost from the quarter of `costIndex` to the quarter of `eventIndex`:
// never below 1, rounded to three decimals half away from zero on its 18-digit decimal
// expansion (the value the worksheets show). A zero cost index counts as the event index.
double IndexationFactor(Extended eventIndex, Extended costIndex);

// A whole-dollar amount raised by `factor`, rounded to whole dollars, halves to even.
Extended IndexedAmount(Extended amount, double factor);

} // namespace cgt
