#pragma once
// Results that do not need a cost base: a right created in another entity and another capital
// receipt (CGT event H2), whose capital gain is the capital proceeds less the incidental
// costs; and the start date of CGT.

#include <string_view>

#include "base/amounts.h"

namespace cgt {

// A right created in another entity, or another capital receipt.
enum class ReceiptKind { Rights, Receipt };

struct GainOrLoss {
    Extended gain = 0;
    Extended loss = 0;
};

// gain = proceeds - costs; a negative result is a loss of its opposite and no gain. An amount
// that is not present (0 or an entered nil) counts as 0.
GainOrLoss ReceiptGainOrLoss(Extended proceeds, Extended costs);

// The asset type a receipt takes when it is done: the non-active other asset "ON" when it has a
// disposal result (its proceeds are present), none without.
std::string_view ReceiptAssetType(bool disposal);

// A valid date text ("dd/mm/yyyy") before 20 September 1985, when CGT began. Empty or invalid
// text is not before it.
bool DateBeforeCgtStart(std::string_view text);

} // namespace cgt
