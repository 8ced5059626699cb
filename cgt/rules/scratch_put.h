#pragma once
// Storing calculated results in the open row's scratch tags whatever type the tag held before
// (stored data may hold another).

#include <string_view>

#include "base/extended.h"
#include "cgt/rules/gain_worksheet.h"
#include "controls/core/cell_table.h"

namespace cgt {

void PutCents(int tag, Extended value); // an amount with cents
void PutCents(const int (&tags)[3], const CostBases& b);
void PutAmount(int tag, Extended value);
void PutText(int tag, std::string_view text);
void PutRows(int tag, const CellTable& table); // the table's rows as a new list
void PutCheck(int tag, bool on);

} // namespace cgt
