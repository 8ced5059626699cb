#include "cgt/core/receipts.h"

#include "store/dates.h"

namespace cgt {

GainOrLoss ReceiptGainOrLoss(Extended proceeds, Extended costs) {
    const Extended result = proceeds - costs;
    if (result < 0) return {0, -result};
    return {result, 0};
}

bool DateBeforeCgtStart(std::string_view text) {
    static const DateTime start = *EncodeDate(1985, 9, 20);
    const std::optional<DateTime> date = ParseDate(text);
    return date && *date < start;
}

} // namespace cgt
