#pragma once
// Results that do not need a cost base: receipts and rights created in another entity, whose
// capital gain is the proceeds less the incidental costs, and the start date of CGT.

#include <string_view>

#include "store/field_store.h"

namespace cgt {

struct GainOrLoss {
    Extended gain = 0;
    Extended loss = 0;
};

// gain = proceeds - costs; a negative result is a loss of its opposite and no gain.
GainOrLoss ReceiptGainOrLoss(Extended proceeds, Extended costs);

// A valid date text ("dd/mm/yyyy") before 20 September 1985, when CGT began. Empty or invalid
// text is not before it.
bool DateBeforeCgtStart(std::string_view text);

} // namespace cgt
