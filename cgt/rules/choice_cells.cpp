#include "cgt/rules/choice_cells.h"

#include <cmath>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/shown_values.h"

namespace cgt {

Extended CellAmount(const CellTable& table, int col, int row) {
    const auto value = ParseNumber(table.Cell(col, row));
    return value ? *value : 0;
}

std::string CellText(const CellTable& table, int col, int row) {
    return TrimText(table.Cell(col, row));
}

bool CellIsYes(const CellTable& table, int col, int row) {
    return TrimBlanks(table.Cell(col, row)) == "Yes";
}

long long RoundedWhole(Extended value) {
    return static_cast<long long>(RoundedDollars(value));
}

long long TruncatedDollars(Extended value) {
    return static_cast<long long>(std::trunc(value));
}

std::string FixedText10(Extended value, int decimals) {
    const std::string text = FormatFixed(value, 15, decimals);
    return text.size() < 10 ? std::string(10 - text.size(), ' ') + text : text;
}

} // namespace cgt
