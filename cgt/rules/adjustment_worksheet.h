#pragma once
// The cost base adjustment worksheet of shares and trust interests. The non-assessable payments
// of an event reduce its cost bases in date order: each payment's pass indexes the cost base
// carried to its date, takes the receipt off, and turns what the receipt exceeds into a capital
// gain of this income year or of prior years. The results are what the gain calculation
// worksheet starts from; cgt/records stores them in the event's row.

#include <array>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/extended.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/gain_worksheet.h"
#include "controls/core/cell_table.h"

namespace cgt {

// Strings per payment in the payments list.
int PaymentStrings(PaymentKind kind);

// The CGT event date of a trust payment received on `payment`: the day itself up to 30/06/1998,
// else the last day of the income year in which it was received.
DateTime TrustPaymentEventDate(DateTime payment);

// What the trust payment grid does to a row whose date of payment is `payment`.
struct TrustRowRules {
    DateTime eventDate = 0;
    bool concessionLocked = false;  // before 21/09/1999: emptied and read-only
    bool concessionEmptied = false; // locked, or after 30/06/2001
    bool concessionMessage = false; // after 30/06/2001, told when that column is clicked
    bool taxFreeLocked = false;     // before 18/12/1986
    bool exemptedLocked = false;    // before 01/07/1990
};
TrustRowRules TrustRowRulesFor(DateTime payment);

// The adjustment grid's columns.
enum AdjustmentColumn : int {
    acSortDate,
    acEffectiveDate,
    acDatePaid,
    acEventDate,
    acDescription,
    acCode,
    acEvent,
    acAmount,
    acExcluded,
    acNet,
    acIndex,
    acEventIndex,
    acFactor,
    acIndexed,
    acReducedExcluded,
    acReduced,
    acReceipt,
    acReceiptCostBase,
    acReceiptReduced,
    acTotalNonIndexed,
    acTotalIndexed,
    acTotalReduced,
    acProcessed,
    kAdjustmentColumns
};
const StringList& AdjustmentColumns();

// What the worksheet reads: the event (its cost bases, cost elements, payments and their event
// code) and the kind of its payments.
struct AdjustmentInputs {
    PaymentKind kind = PaymentKind::Shares;
    Event event;
};

// What the last pass published. Gains are [this income year, prior income years].
struct AdjustmentResults {
    bool published = false;
    std::string date;   // the date of the last payment applied
    CostBases adjusted; // rounded
    std::array<Extended, 2> discountGain{};
    std::array<Extended, 2> indexedGain{};
    std::array<Extended, 2> otherGain{};
    bool indexedEnabled = true;  // false: indexation not available
    bool discountEnabled = true; // false: the discount not available
    bool gainThisYear = false;
};

// One row of the grid while the passes run.
struct AdjustmentRow {
    DateTime sortDate = 0; // column 0
    std::array<std::string, kAdjustmentColumns> cells;
};

struct AdjustmentWorksheet {
    PaymentKind kind = PaymentKind::Shares;
    std::string baseDate;
    std::vector<AdjustmentRow> rows; // sorted by date, then code
    AdjustmentResults results;
    CellTable Grid() const; // the rows as the grid shows them
};

// Fills the grid: the section 2 cost bases, the cost elements up to the last payment, and one
// receipt row per payment date (payments of one date form one receipt, amounts summed).
void FillAdjustmentWorksheet(const AdjustmentInputs& in, AdjustmentWorksheet& ws);
// Applies the receipts in date order and publishes the adjusted cost base and the gains.
void AdjustCostBase(const AdjustmentInputs& in, AdjustmentWorksheet& ws);
// Both steps.
AdjustmentWorksheet ComputeAdjustmentWorksheet(const AdjustmentInputs& in);

// The event holds payments with a date, so that the worksheet has work to do.
bool HasDatedPayments(const Event& event, PaymentKind kind);
// The event holds an adjusted cost base or gains of an earlier payments pass.
bool AdjustmentStored(const Event& event);

} // namespace cgt
