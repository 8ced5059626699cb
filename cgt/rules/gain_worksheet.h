#pragma once
// The gain calculation worksheet of one CGT event. From the event it builds the asset register
// and the CGT worksheet (two cell tables), indexes the cost bases, and computes the capital gain
// by the indexation, discount and other methods or the capital loss, with the event's two
// messages. cgt/records stores the results in the event's row.
//
// A result of ExplicitZero is a calculated nil; 0 means the method is not available to the
// event (its column is cleared): MethodResult says which. Values that the worksheet shows in
// entry fields and reads back are the values as shown (cgt/rules/shown_values.h).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/dates.h"
#include "base/extended.h"
#include "cgt/rules/event.h"
#include "cgt/rules/event_kinds.h"
#include "controls/core/cell_table.h"

namespace cgt {

// The result block's columns, in their order on the screen.
enum GainColumn : int { gcIndexed = 0, gcDiscount = 1, gcOther = 2, gcLoss = 3 };
inline constexpr int kGainColumns = 4;

// One column of the result block.
struct ResultColumn {
    Extended proceeds = 0;
    Extended costBase = 0;
    Extended result = 0; // the gain, or for the loss column the loss
    bool enabled = true; // false: cleared, the method is not available
};

// The rows of the depreciating-asset variant that the standard worksheet has not.
struct DepreciatingColumn {
    Extended cost = 0;
    Extended raw = 0;        // proceeds less cost (the loss: cost less proceeds)
    Extended taxableUse = 0; // the taxable use percentage as shown
    Extended reductions = 0; // sum of reductions over total decline, as a percentage
    Extended adjusted = 0;   // the raw result for the non-taxable use
};

// The remaining cost bases after a partial disposal.
struct PartialDisposal {
    bool shown = false;
    CostBases remaining;
};

// The working values that the asset register settles for the gain calculation.
struct GainBasis {
    std::optional<DateTime> base;       // the base date, when it converts
    std::optional<DateTime> rolledOver; // the rolled-over acquisition date, when it converts
    bool adjustedApplies = false;       // the cost base comes from the payments' adjustment
    bool sectionTwoApplies = false;     // else from the cost base already known
    DateTime costBaseDate = 0;
    CostBases costBaseAmounts;
    struct Element {
        std::size_t index; // into Event::elements
        DateTime incurred;
    };
    std::vector<Element> elements; // those that pass the element filter, in order
    std::optional<DateTime> event; // the event date, only with proceeds above zero
    Extended proceeds = 0;         // the proceeds when above zero
};

struct GainWorksheet {
    GainVariant variant = GainVariant::Standard;
    GainBasis basis;
    CellTable assetRegister; // 11 columns
    CellTable worksheet;     // 12 columns

    std::string baseDate;
    CostBases totals; // columns 4, 9 and 11
    CostBases balancing;
    CostBases costBase;
    CostBases adjusted;
    std::string eventDateCell;
    Extended eventIndex = 0;
    Extended proceedsCell = 0;
    Extended percentDisposed = 0;
    Extended daysNotExempt = 0;
    Extended totalDays = 0;

    std::array<ResultColumn, kGainColumns> columns;
    PartialDisposal partial;
    // Depreciating assets.
    std::array<DepreciatingColumn, kGainColumns> depreciating;
    Extended indexationComponent = 0;

    std::string firstMessage;
    std::string secondMessage;
    bool disposal = false; // the capital proceeds are above zero

    // An input that ends the calculation (a date that does not convert); the results are then
    // left cleared.
    std::string error;
};

// A number as the grids show it: fixed notation with `decimals` decimals, right-aligned in ten
// characters (FixedToText).
std::string WorksheetCellText(Extended value, int decimals);

// The description of a grid column the calculation fills: read-only, never typed; a number
// column right-aligned, allowing minus, totalled only when `totalled`. `type` is a ColumnType.
std::string WorkedColumn(const char* title, int type, int width, int decimals = 0,
                         bool totalled = false);

// The column descriptions of the two grids, one line per column.
const StringList& AssetRegisterColumns();
const StringList& WorksheetColumns();

// The two steps of the calculation, in this order. FillAssetRegister settles the basis and
// fills the asset register; CalculateGain builds the CGT worksheet and the results by the
// worksheet's variant. A date that does not convert ends a step with `error` set.
void FillAssetRegister(const Event& in, GainWorksheet& ws);
void CalculateGain(const Event& in, GainWorksheet& ws);

// Whole years from `base` to `event`: the event must fall after an anniversary for it to count.
int YearsHeld(DateTime base, DateTime event);
// Indexation is not available by the base date (the rolled-over acquisition date, else the
// acquisition date), the rolled-over acquisition date, indexation withheld or an acquisition on
// 21/09/1999 after 11.45am.
bool IndexationWithheld(const Event& in, std::optional<DateTime> base,
                        std::optional<DateTime> rolledOver);

// The worksheet of the inputs: the asset register, then the gain by the variant's rules.
GainWorksheet ComputeGainWorksheet(const Event& in, GainVariant variant);
// What the worksheet leaves in the event's row as its results (those of the payments' worksheet
// left as they were).
void TakeGainResults(const GainWorksheet& ws, EventResults& results);

// The first and second messages.
namespace msg {
inline constexpr const char* kNoGainOrLoss =
    "You have no gain or loss in respect of this CGT event";
inline constexpr const char* kDisregarded = "This gain or loss is disregarded this year";
inline constexpr const char* kFifteenYearExempt =
    "This gain is exempt as it qualifies for the 15 year active asset exemption";
inline constexpr const char* kSmallBusiness =
    "This gain may qualify for a small business concession. You will asked about this later in "
    "the interview.";
inline constexpr const char* kSmallBusinessDepreciating =
    "This gain may qualify for a small business concession. You will be asked about this later "
    "in the interview.";
inline constexpr const char* kMayDefer = "You will be able to choose if you want this gain or "
                                         "loss included this year or deferred to another year";
inline constexpr const char* kChooseMethod =
    "Later in the interview you will be required to choose between the indexed and discount gain.";
} // namespace msg

} // namespace cgt
