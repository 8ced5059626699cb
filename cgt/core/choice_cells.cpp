#include "cgt/core/choice_cells.h"

#include <cmath>

#include "store/field_store.h"
#include "store/number_format.h"
#include "store/text.h"

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

long long RoundedDollars(Extended value) {
    return static_cast<long long>(RoundHalfEven(value));
}

long long TruncatedDollars(Extended value) {
    return static_cast<long long>(std::trunc(value));
}

std::string FixedText10(Extended value, int decimals) {
    const std::string text = FormatFixed(value, 15, decimals);
    return text.size() < 10 ? std::string(10 - text.size(), ' ') + text : text;
}

long long TagDollars(int tag) {
    return TruncatedDollars(GetFieldVal(tag));
}

} // namespace cgt
