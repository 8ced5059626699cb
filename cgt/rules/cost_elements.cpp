#include "cgt/rules/cost_elements.h"

#include <array>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_messages.h"
#include "controls/core/cell_table.h"

namespace cgt {

namespace {

struct ElementTopic {
    std::string_view code;
    int topic;
};
constexpr std::array<ElementTopic, 10> kElementTopics = {{
    {"1", 21},
    {"1D", 378},
    {"2A", 22},
    {"2B", 379},
    {"3A", 23},
    {"3B", 24},
    {"4", 25},
    {"5", 26},
    {"6C", 380},
    {"6R", 381},
}};

// Help sections of the columns; the date incurred has its own on worksheets with instalments.
constexpr std::array<int, kCostElementColumns> kColumnSections = {1, 9, 3, 4, 5, 6, 7, 8};
constexpr int kInstalmentDateSection = 2;

bool OffersInstalments(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind && kind->instalments;
}

bool Present(const std::string& cell) {
    return !TrimBlanks(cell).empty();
}

// An amount cell as a number; a text that does not convert counts as 0.
Extended Amount(const std::string& cell) {
    return TextToFloat(TrimText(cell), 0);
}

// The first rule of a row that its cells break; the column to focus in `col`.
const char* RowRefusal(const CellTable& rows, const Event& event, int row, int& col) {
    const std::optional<DateTime> acquired = event.acquisitionDate.Date();
    const std::optional<DateTime> costBaseDate = event.costBaseDate.Date();
    const std::string code = ElementCode(rows.Cell(ceElement, row));
    const std::optional<DateTime> incurred = ParseDate(rows.Cell(ceDateIncurred, row));
    const std::optional<DateTime> paid = ParseDate(rows.Cell(ceDatePaid, row));
    const std::string& amount = rows.Cell(ceAmount, row);
    const std::string& excluded = rows.Cell(ceExcluded, row);
    col = ceElement;

    // With a cost base already known, the purchase itself is in it; only instalments are not.
    if (costBaseDate && code == "1") return msg::kElementOneAfterCostBase;
    if (Precedes(incurred, acquired)) return msg::kExpenseBeforeAcquisition;
    if (Precedes(incurred, costBaseDate)) return msg::kExpenseBeforeCostBaseDate;
    if (IsBefore(incurred, CgtStartDate()) || IsBefore(paid, CgtStartDate()))
        return msg::kAcquiredBeforeCgt;
    // A cost adds to the cost base: only the adjustments take it away.
    if (!IsAdjustmentElement(code) && Amount(amount) < 0) {
        col = ceAmount;
        return msg::kNegativeElementAmount;
    }
    if (Present(amount) && Present(excluded) && Amount(amount) < Amount(excluded)) {
        col = ceAmount;
        return msg::kExclusionExceedsAmount;
    }
    // Date, element and amount come together; a row with none of them (a description or a
    // comment alone) is no element, which the calculation skips.
    const int parts = (incurred ? 1 : 0) + (code.empty() ? 0 : 1) + (Present(amount) ? 1 : 0);
    if (parts != 0 && parts != 3) return msg::kIncompleteElement;
    if (IsAdjustmentElement(code) && Amount(amount) > 0) return msg::kAdjustmentNotNegative;
    return nullptr;
}

} // namespace

std::string ElementCode(std::string_view elementText) {
    return TrimText(elementText.substr(0, 2));
}

bool IsAdjustmentElement(std::string_view code) {
    return code == "6C" || code == "6R";
}

int CostElementHelpTopic(std::string_view code) {
    for (const ElementTopic& t : kElementTopics)
        if (t.code == code) return t.topic;
    return 0;
}

int CostElementHelpSection(int col, int worksheet) {
    if (col < 0 || col >= kCostElementColumns) return kColumnSections[0];
    if (col == ceDateIncurred && OffersInstalments(worksheet)) return kInstalmentDateSection;
    return kColumnSections[static_cast<std::size_t>(col)];
}

std::optional<Refusal> CheckCostElements(const CellTable& rows, const Event& event) {
    if (!event.Described()) return std::nullopt;
    for (int row = 1; row < rows.RowCount(); ++row) {
        int col = ceElement;
        if (const char* message = RowRefusal(rows, event, row, col))
            return Refusal{message, EventField::CostElements, row, col};
    }
    return std::nullopt;
}

} // namespace cgt
