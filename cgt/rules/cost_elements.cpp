#include "cgt/rules/cost_elements.h"

#include <array>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/event_row.h"
#include "controls/core/cell_table.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace cgt {

using namespace tag::event;

namespace {

const std::vector<const char*> kSharesElements = {
    "1 - Purchase/Acquisition cost",
    "1D - Instalment payment",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "5 - Capital expenditure - maintain ownership",
};
const std::vector<const char*> kTrustElements = {
    "1 - Purchase/Acquisition cost",
    "1D - Purchase by instalments",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "5 - Capital expenditure - maintain ownership",
};
// Real estate, other assets and depreciating assets.
const std::vector<const char*> kPropertyElements = {
    "1 - Purchase/Acquisition cost",
    "2A - Incidentals re holding and acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increases value",
    "5 - Capital expenditure - maintain ownership",
    "6C - Adjustments to the cost base",
    "6R - Adjustments to the reduced cost base",
};
const std::vector<const char*> kPersonalUseElements = {
    "1 - Purchase/Acquisition cost",
    "2A - Incidentals re holding and acquisition",
    "2B - Incidentals re specific CGT event",
    "4 - Capital expenditure - increases value",
    "5 - Capital expenditure - maintain ownership",
};
const std::vector<const char*> kRightsElements = {
    "1 - Original Purchase",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increase value",
    "5 - Capital expenditure - maintain title",
    "6C - Adjustments to the cost base",
    "6R -  Adjustments to the reduced cost base",
};
const std::vector<const char*> kCeasingResidencyElements = {
    "1 - Original Purchase",
    "1D - Purchase by instalments",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increase value",
    "5 - Capital expenditure - maintain title",
    "6C - Adjustments to the cost base",
    "6R -  Adjustments to the reduced cost base",
};
// Any other worksheet.
const std::vector<const char*> kGeneralElements = {
    "1 - Purchase/Acquisition cost",
    "1D - Instalments payment",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increase value",
    "5 - Capital expenditure - maintain ownership",
};

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
    return worksheet == wkShares || worksheet == wkTrustInterests ||
           worksheet == wkCeasingResidency;
}

bool Present(const std::string& cell) {
    return !TrimBlanks(cell).empty();
}

// An amount cell as a number; a text that does not convert counts as 0.
Extended Amount(const std::string& cell) {
    return TextToFloat(TrimText(cell), 0);
}

// The first rule of a row that its cells break; the column to focus in `col`.
const char* RowRefusal(const CellTable& rows, int row, int& col) {
    const std::optional<DateTime> acquired = DateOf(kAcquisitionDate);
    const std::optional<DateTime> costBaseDate = DateOf(kCostBaseDate);
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

const std::vector<const char*>& CostElementPicklist(int worksheet) {
    switch (worksheet) {
    case wkShares:
        return kSharesElements;
    case wkTrustInterests:
        return kTrustElements;
    case wkRealEstate:
    case wkOtherAssets:
    case wkDepreciating:
        return kPropertyElements;
    case wkPersonalUse:
        return kPersonalUseElements;
    case wkRights:
        return kRightsElements;
    case wkCeasingResidency:
        return kCeasingResidencyElements;
    default:
        return kGeneralElements;
    }
}

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

std::optional<Refusal> CheckCostElements(const CellTable& rows) {
    if (!EventRow().Described()) return std::nullopt;
    for (int row = 1; row < rows.RowCount(); ++row) {
        int col = ceElement;
        if (const char* message = RowRefusal(rows, row, col))
            return Refusal{message, kCostElements, row, col};
    }
    return std::nullopt;
}

} // namespace cgt
