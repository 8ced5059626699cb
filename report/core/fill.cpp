#include "report/core/fill.h"

#include <cmath>
#include <unordered_map>

#include "base/number_format.h"
#include "base/text.h"
#include "store/field_store.h"

namespace cgt::report {

namespace {

constexpr const char* kLineBreak = "\r\n";

std::string WithoutMinus(std::string text) {
    if (!text.empty() && text.front() == '-') text.erase(0, 1);
    return text;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += kLineBreak;
        out += lines[i];
    }
    return out;
}

// A cell or value shown as an amount: whole dollars (halves to even) or two decimals; a text
// that is no number stays as it is.
std::string AmountText(std::string_view text, bool cents) {
    const std::string trimmed = TrimText(text);
    const auto value = ParseNumber(trimmed);
    if (!value) return trimmed;
    return WithoutMinus(cents ? FormatFixed(*value, 15, 2)
                              : FormatFixed(RoundHalfEven(*value), 15, 0));
}

// Totals of a column are truncated towards zero (to cents for a cents column).
std::string TotalText(Extended total, bool cents) {
    const Extended truncated = cents ? std::trunc(total * 100) / 100 : std::trunc(total);
    return WithoutMinus(FormatFixed(truncated, 15, cents ? 2 : 0));
}

class Resolver {
public:
    std::string Text(const Record& field) {
        const int tag = field.i16(fld::kTag);
        const int type = field.u8(fld::kType);
        const bool inLoop = field.loopRow >= 0;
        const bool inFooter = field.loopRow == Record::kFooterRow;
        switch (type) {
        case dispSign:
            return IsNumberType(GetFieldType(tag)) && GetFieldVal(tag) < 0 ? "L" : " ";
        case dispList: {
            if (GetFieldType(tag) != dtList) return {};
            const StringListRef list = GetFieldLst(tag);
            return list ? Joined(*list) : std::string{};
        }
        case dispListColumn:
            if (inFooter) return {};
            if (inLoop) return RowValue(field, false, false);
            return Joined(ListColumn(tag, field.i16(fld::kColumn), field.u8(fld::kSize)));
        case dispRowText:
        case dispRowAmount:
        case dispRowCents:
            if (inFooter) return type == dispRowText ? std::string{} : Total(field);
            if (inLoop) return RowValue(field, type != dispRowText, type == dispRowCents);
            break;
        default:
            break;
        }
        return WithoutMinus(GetFieldText(tag));
    }

private:
    const Worksheet* Sheet(int tag) {
        if (GetFieldType(tag) != dtWorksheet) return nullptr;
        return Store().entry(tag).sheet.get();
    }

    const std::vector<std::uint16_t>& Keys(const Worksheet& sheet, int tag) {
        auto it = keys_.find(tag);
        if (it == keys_.end()) it = keys_.emplace(tag, sheet.rowKeys()).first;
        return it->second;
    }

    // The tag's value in row `row` (from 0) of the worksheet at `sheetTag`, or nullptr.
    const FieldEntry* Item(int sheetTag, int row, int tag) {
        const Worksheet* sheet = Sheet(sheetTag);
        if (sheet == nullptr) return nullptr;
        const auto& keys = Keys(*sheet, sheetTag);
        if (row < 0 || static_cast<std::size_t>(row) >= keys.size()) return nullptr;
        for (std::uint32_t pos : sheet->rowPositions(keys[static_cast<std::size_t>(row)]))
            if (sheet->items()[pos].tag == tag) return &sheet->items()[pos].entry;
        return nullptr;
    }

    std::string Cell(int tag, int row, int column, int columns) {
        if (GetFieldType(tag) != dtList || columns <= 0 || column < 0) return {};
        const StringListRef list = GetFieldLst(tag);
        const auto index = static_cast<std::size_t>(column) +
                           static_cast<std::size_t>(columns) * static_cast<std::size_t>(row);
        if (!list || index >= list->size()) return {};
        return TrimText((*list)[index]);
    }

    std::string RowValue(const Record& field, bool amount, bool cents) {
        const int tag = field.i16(fld::kTag);
        if (Sheet(field.loopTag) != nullptr) {
            const FieldEntry* entry = Item(field.loopTag, field.loopRow, tag);
            if (entry == nullptr) return {};
            if (amount && IsNumberType(entry->type)) {
                if (EntryIsEmpty(*entry)) return {};
                return AmountText(FormatFixed(entry->number(), 18, 2), cents);
            }
            return WithoutMinus(EntryDisplayText(*entry));
        }
        const std::string cell =
            Cell(tag, field.loopRow, field.i16(fld::kColumn), field.u8(fld::kSize));
        return amount ? AmountText(cell, cents) : cell;
    }

    std::string Total(const Record& field) {
        const int tag = field.i16(fld::kTag);
        const bool cents = field.u8(fld::kType) == dispRowCents;
        Extended total = 0;
        if (const Worksheet* sheet = Sheet(field.loopTag)) {
            const auto rows = static_cast<int>(Keys(*sheet, field.loopTag).size());
            for (int row = 0; row < rows; ++row)
                if (const FieldEntry* e = Item(field.loopTag, row, tag); e && IsNumberType(e->type))
                    total += e->number();
            return TotalText(total, cents);
        }
        const int columns = field.u8(fld::kSize);
        const int rows = LoopRows(tag, columns);
        for (int row = 0; row < rows; ++row)
            total += ParseNumber(Cell(tag, row, field.i16(fld::kColumn), columns)).value_or(0);
        return TotalText(total, cents);
    }

    std::unordered_map<int, std::vector<std::uint16_t>> keys_;
};

void Fill(Page& page, Resolver& resolver) {
    for (Record& record : page.records) {
        if (record.kind() != rkField) continue;
        std::string text = resolver.Text(record);
        Record filled = MakeRecord(rkText);
        filled.text = std::move(text);
        filled.hasText = true;
        filled.offset = record.offset;
        record = std::move(filled);
    }
}

} // namespace

std::string FieldText(const Record& field) {
    return Resolver().Text(field);
}

std::vector<std::string> ListColumn(int tag, int column, int columns) {
    std::vector<std::string> cells;
    if (GetFieldType(tag) != dtList || column < 0) return cells;
    const StringListRef list = GetFieldLst(tag);
    if (!list || list->empty()) return cells;
    if (columns <= 0) {
        if (static_cast<std::size_t>(column) < list->size())
            cells.push_back(TrimText((*list)[static_cast<std::size_t>(column)]));
        return cells;
    }
    const std::size_t step = static_cast<std::size_t>(columns);
    const std::size_t rows = (list->size() - 1) / step + 1;
    for (std::size_t row = 0; row < rows; ++row) {
        const std::size_t index = static_cast<std::size_t>(column) + step * row;
        cells.push_back(index < list->size() ? TrimText((*list)[index]) : std::string{});
    }
    return cells;
}

void FillPage(Page& page) {
    Resolver resolver;
    Fill(page, resolver);
}

void FillForm(PageList& pages) {
    Resolver resolver;
    for (Page& page : pages.pages())
        Fill(page, resolver);
}

} // namespace cgt::report
