#pragma once
// Results that do not need a cost base: a right created in another entity and another capital
// receipt (CGT event H2), whose capital gain is the capital proceeds less the incidental
// costs; and the start date of CGT.

#include <string_view>

#include "store/field_store.h"

namespace cgt {

struct GainOrLoss {
    Extended gain = 0;
    Extended loss = 0;
};

// gain = proceeds - costs; a negative result is a loss of its opposite and no gain. An amount
// that is not present (0 or an entered nil) counts as 0.
GainOrLoss ReceiptGainOrLoss(Extended proceeds, Extended costs);

// Stores the open row's gain and loss (tags 1138, 1141) from its proceeds and costs (1136,
// 1137).
void StoreReceiptGainOrLoss();

// Stores the open row's disposal result flag (1196: the proceeds are present) when the event
// is done. A receipt also takes its asset type from it: the non-active other asset "ON" with a
// disposal result, none without. Returns the flag.
enum class ReceiptKind { Rights, Receipt };
bool StoreDisposalResult(ReceiptKind kind);

// A valid date text ("dd/mm/yyyy") before 20 September 1985, when CGT began. Empty or invalid
// text is not before it.
bool DateBeforeCgtStart(std::string_view text);

} // namespace cgt
