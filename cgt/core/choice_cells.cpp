#include "cgt/core/choice_cells.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>

#include "cgt/core/choice_table.h"
#include "cgt/core/shown_values.h"
#include "store/worksheet_rows.h"

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

void EditWorksheetRows(int worksheet, std::span<const int> keys,
                       const std::function<void(int key)>& edit) {
    Worksheet* sheet = EnsureWorksheet(worksheet);
    if (!sheet || keys.empty()) return;
    std::set<int> pending(keys.begin(), keys.end());
    std::vector<WorksheetItem> rebuilt;
    rebuilt.reserve(sheet->size() + pending.size());
    auto store = [&](int key) {
        CopyRowToScratch(sheet, key);
        edit(key);
        Worksheet stored;
        StoreScratchAsRow(stored, key);
        auto& items = stored.mutableItems();
        std::move(items.begin(), items.end(), std::back_inserter(rebuilt));
    };
    for (std::uint16_t key : sheet->rowKeys()) {
        if (pending.erase(key)) {
            store(key);
            continue;
        }
        for (std::uint32_t pos : sheet->rowPositions(key))
            rebuilt.push_back(sheet->items()[pos]);
    }
    for (int key : pending)
        if (key >= 1 && key <= 0xFFFF) store(key);
    sheet->mutableItems().swap(rebuilt);
    ZeroFillScratchTags();
}

bool OpenEventIsFifteenYearExempt() {
    return FieldChecked(tag::event::kFifteenYearExemption) &&
           IsActiveType(GetFieldStr(tag::event::kAssetType)) &&
           GetFieldVal(tag::event::kCapitalLoss) <= 0;
}

} // namespace cgt
