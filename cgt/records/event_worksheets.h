#pragma once
// The worksheets of an event run on its row as its screens run them, the results stored in the
// row: one event open in the scratch tags, or every CGT event of a return without a window. The
// work grows with the number of events: each row is found through the worksheet's row index and
// the worksheet's item list is rebuilt once.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "cgt/rules/adjustment_worksheet.h"
#include "cgt/rules/gain_worksheet.h"

namespace cgt {

// The open row read, its gain calculation worksheet computed and the results stored: what the
// gain screens do when they are shown.
GainWorksheet RunGainWorksheet(GainVariant variant);
// The open row's payments worksheet computed and stored: what the payment summaries do when
// shown.
AdjustmentWorksheet RunAdjustmentWorksheet(PaymentKind kind);

// The worksheets of the open row of `worksheet` in the order the screens run them, results
// stored: the payments of shares and trust interests adjust the cost base before the gain
// calculation starts from it. A row whose payments are gone loses the adjustment they made.
GainWorksheet RunEventWorksheets(int worksheet, GainVariant variant);

// One recomputed event as its row now holds it.
struct RecomputedEvent {
    int worksheet = 0;
    int row = 0;
    std::string name;
    std::string type;
    std::array<MethodResult, kGainColumns> results{}; // by column of the result block
    CostBases costBase;
    std::vector<std::string> messages; // the first and second message that are not empty
    std::string error;                 // an input that ended the calculation
};

// Recomputes and stores every event row; the events in worksheet order, then row key. The
// scratch tags are left zero-filled.
std::vector<RecomputedEvent> RecomputeEvents();

} // namespace cgt
