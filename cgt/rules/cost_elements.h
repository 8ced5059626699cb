#pragma once
// The cost elements of an event (section 3): one grid row per cost, eight cells a row, stored
// with eight strings per element. The element picklist of each worksheet, the
// element code of a row, its help topic, the help section of each column, the order the rows
// are kept in, and the entry checks of the rows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cgt/rules/event.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/refusal.h"

namespace cgt {

class CellTable;

// The columns of the grid, in the order of the stored strings.
enum CostElementColumn : int {
    ceElement = 0,
    ceDateIncurred = 1,
    ceDatePaid = 2,
    ceDescription = 3,
    ceAmount = 4,
    ceExcluded = 5,        // excluded from the cost base
    ceExcludedReduced = 6, // excluded from the reduced cost base
    ceComments = 7,
};
inline constexpr int kCostElementColumns = 8;

// Date incurred, then date paid, then the element.
inline constexpr std::string_view kCostElementSortKeys = "1,2,0";

// The element code of an element text: its first two characters, trimmed ("1", "2A", "6C").
std::string ElementCode(std::string_view elementText);
// The adjustments of the cost base and of the reduced cost base, entered as negative amounts.
bool IsAdjustmentElement(std::string_view code);

// The help topic of an element code; 0 for a row without a known code.
int CostElementHelpTopic(std::string_view code);
// The section of the grid's help label for a column (the date incurred explains the instalment
// exception on the worksheets that offer instalments).
int CostElementHelpSection(int col, int worksheet);

// Leaving the cost elements other than by Prev: every row of the grid, empty ones included, in
// order; the first row that breaks a rule is refused with the cell to focus. Nothing is
// checked without a registered asset.
std::optional<Refusal> CheckCostElements(const CellTable& rows, const Event& event);

} // namespace cgt
