#pragma once
// Cell values shared by the choice table, the concession grids and the schedule: amounts read
// from cells and tags, whole dollars, and the fixed-point texts these tables write.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "cgt/records/event_records.h"
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
// A whole-dollar number read from the open scratch tags, truncated.
long long TagDollars(int tag);

// Every stored row of worksheets first..last in worksheet order, then row key, each loaded
// into the scratch tags for `visit` (left zero-filled afterwards).
void ForEachEventRow(int first, int last, const std::function<void(int worksheet, int key)>& visit);

// The event open in the scratch tags is an active asset with the 15-year exemption and no
// capital loss: its gain is disregarded.
bool OpenEventIsFifteenYearExempt();

} // namespace cgt
