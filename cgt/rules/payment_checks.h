#pragma once
// The entry checks of the non-assessable payments and of the adjustment worksheet.

#include <optional>

#include "cgt/rules/adjustment_worksheet.h"
#include "cgt/rules/event.h"
#include "cgt/rules/payment_grids.h"
#include "cgt/rules/refusal.h"
#include "controls/core/cell_table.h"

namespace cgt {

// The first row of the payment grid that breaks a rule, focused on its first column; nothing
// when the event has no description.
std::optional<Refusal> CheckPayments(const CellTable& rows, const Event& event, PaymentKind kind);

// A date before 20/09/1985 in the first four columns of the adjustment grid.
std::optional<Refusal> CheckAdjustmentDates(const CellTable& grid);

namespace msg {
inline constexpr const char* kReceiptBeforeAcquisition =
    "Check dates. A non-assessable receipt cannot be received before the date of acquisition.";
inline constexpr const char* kReceiptBeforeCostBaseDate =
    "Check dates. A non-assessable receipt cannot be received before the cost base effective "
    "date.";
inline constexpr const char* kConcessionAfterJune2001 =
    "As the date of receipt of your non-assessable amount is after 30 June 2001,\r"
    "you do not have to enter the CGT concession amount";
} // namespace msg

} // namespace cgt
