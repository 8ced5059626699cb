#pragma once
// The manual calculation table: gains and losses the user worked out himself, one
// row per CGT event, in the 21 columns of the choice table, of which the user edits the
// description, the asset type, the indexed, discount and other gains, the loss and the two
// deferral answers; the choice table writes the rest.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cgt/rules/refusal.h"
#include "controls/core/cell_table.h"

namespace cgt {

inline constexpr int kManualCells = 21;
enum ManualCell : int {
    mcSection = 0,
    mcDescription = 1,
    mcType = 2,
    mcIndexed = 3,
    mcDiscount = 4,
    mcOther = 7,
    mcLoss = 8,
    mcCanDefer = 9,
    mcDeferAuto = 10,
};

// The column descriptions of the table's 21 columns.
const StringList& ManualTableDisplay();
// The columns the user sees, with their widths; the others are hidden.
struct ShownColumn {
    int col;
    int width;
};
std::span<const ShownColumn> ManualTableShownColumns();

// The section of a row by its asset type ("Shares" for SA and SN …); empty without a type.
std::string SectionOfType(std::string_view type);

// A row was clicked or a cell left: the section cell of a described row follows its type, and
// "Defer auto?" is "No" while a gain can be deferred and blank otherwise.
void UpdateManualRow(CellTable& table, int row);

// Leaving cell (col, row): the indexed gain above the discount gain, a loss on a personal use
// asset, or "Defer auto?" without "Yes" to deferring, each emptied with its message; the
// refusal's cell is where the cursor goes.
std::optional<Refusal> LeaveManualCell(CellTable& table, int col, int row);

// Leaving the screen: rows holding nothing but a section are emptied; the first row that
// breaks a rule is refused.
std::optional<Refusal> CheckManualTable(CellTable& table);

} // namespace cgt
