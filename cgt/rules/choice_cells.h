#pragma once
// Cell values shared by the choice table, the concession grids and the schedule: amounts read
// from cells, whole dollars, and the fixed-point texts these tables write.

#include <string>

#include "controls/core/cell_table.h"

namespace cgt {

// The cell's number; 0 when it is empty or no number.
Extended CellAmount(const CellTable& table, int col, int row);
// The cell trimmed.
std::string CellText(const CellTable& table, int col, int row);
bool CellIsYes(const CellTable& table, int col, int row);
// Nearest whole dollar, halves to even.
long long RoundedWhole(Extended value);
// Whole dollars, truncated towards zero.
long long TruncatedDollars(Extended value);
// Fixed-point text right-aligned in a width of 10 with `decimals` decimals.
std::string FixedText10(Extended value, int decimals);

} // namespace cgt
