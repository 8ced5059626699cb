#include "cgt/rules/choice_cells.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "cgt/rules/choice_table.h"
#include "cgt/rules/shown_values.h"
#include "store/worksheet_rows.h"

#include "base/number_format.h"
#include "base/text.h"
#include "store/field_store.h"

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

long long TagDollars(int tag) {
    return TruncatedDollars(GetFieldVal(tag));
}

void ForEachEventRow(int first, int last,
                     const std::function<void(int worksheet, int key)>& visit) {
    for (int worksheet = first; worksheet <= last; ++worksheet) {
        const Worksheet* sheet = WorksheetOf(worksheet);
        if (!sheet || sheet->empty()) continue;
        std::vector<std::uint16_t> keys = sheet->rowKeys();
        std::sort(keys.begin(), keys.end());
        for (std::uint16_t key : keys) {
            CopyRowToScratch(sheet, key);
            visit(worksheet, key);
        }
    }
    ZeroFillScratchTags();
}

bool OpenEventIsFifteenYearExempt() {
    return FieldChecked(tag::event::kFifteenYearExemption) &&
           IsActiveType(GetFieldStr(tag::event::kAssetType)) &&
           GetFieldVal(tag::event::kCapitalLoss) <= 0;
}

} // namespace cgt
