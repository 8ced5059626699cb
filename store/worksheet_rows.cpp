#include "store/worksheet_rows.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace cgt {

namespace {

// Removes the row's items; returns the list position of its first item, or the end of the list
// for a row that has none.
std::size_t RemoveRowItems(Worksheet& sheet, std::uint16_t row) {
    const auto positions = sheet.rowPositions(row);
    const std::size_t pos = positions.empty() ? sheet.size() : positions.front();
    sheet.removeRow(row);
    return std::min(pos, sheet.size());
}

void LowerLaterRows(Worksheet& sheet, std::uint16_t row) {
    const auto& items = sheet.items();
    if (std::none_of(items.begin(), items.end(), [row](const auto& i) { return i.row > row; }))
        return;
    for (auto& item : sheet.mutableItems())
        if (item.row > row) --item.row;
}

std::uint16_t RowKey(int row) {
    return static_cast<std::uint16_t>(row);
}

} // namespace

Worksheet* EnsureWorksheet(int worksheet) {
    const int tag = WorksheetTag(worksheet);
    if (!ValidTag(tag)) return nullptr;
    FieldEntry& e = Store().entry(tag);
    if (e.type != dtWorksheet || !e.sheet) {
        e.zeroFill();
        e.type = dtWorksheet;
        e.sheet = std::make_shared<Worksheet>();
    }
    return e.sheet.get();
}

void CopyRowToScratch(const Worksheet* sheet, int row) {
    ZeroFillScratchTags();
    if (!sheet) return;
    for (std::uint32_t pos : sheet->rowPositions(RowKey(row))) {
        const WorksheetItem& item = sheet->items()[pos];
        if (ValidTag(item.tag)) Store().entry(item.tag) = item.entry;
    }
}

std::vector<WorksheetItem> ScratchRowItems(int row) {
    std::vector<WorksheetItem> items;
    for (auto [first, last] : kScratchRanges)
        for (int tag = first; tag <= last; ++tag) {
            const FieldEntry& e = Store().entry(tag);
            if (EntryHasDisplayText(e)) items.push_back(WorksheetItem{RowKey(row), tag, e});
        }
    return items;
}

void StoreScratchAsRow(Worksheet& sheet, int row) {
    const std::size_t pos = RemoveRowItems(sheet, RowKey(row));
    std::vector<WorksheetItem> fresh = ScratchRowItems(row);
    if (fresh.empty()) return;
    auto& items = sheet.mutableItems();
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(pos),
                 std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
}

void DeleteRow(Worksheet& sheet, int row) {
    sheet.removeRow(RowKey(row));
    LowerLaterRows(sheet, RowKey(row));
}

std::string DefaultRowName(int row) {
    return "Worksheet No." + std::to_string(row);
}

std::vector<std::string> RowNames(const Worksheet* sheet) {
    std::vector<std::string> names;
    if (!sheet) return names;
    for (const WorksheetItem& item : sheet->items()) {
        if (item.tag != tag::event::kName) continue;
        names.push_back(IsTextType(item.entry.type) ? EntryDisplayText(item.entry) : std::string());
    }
    return names;
}

void FetchRow(int worksheet, int row) {
    CopyRowToScratch(EnsureWorksheet(worksheet), row);
}

void PutRow(int worksheet, int row) {
    if (Worksheet* sheet = EnsureWorksheet(worksheet)) StoreScratchAsRow(*sheet, row);
    ZeroFillScratchTags();
}

} // namespace cgt
