#pragma once
// The string table of the worksheet grids' column hints: a column description names a hint by
// number and the grid shows its text over the title row. Screens register their texts once.

#include <string>
#include <string_view>

namespace cgt {

void SetColumnHint(int number, std::string_view text);
// Empty for 0 and for numbers without a text.
std::string ColumnHintText(int number);
void ClearColumnHints();

} // namespace cgt
