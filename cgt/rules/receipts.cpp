#include "cgt/rules/receipts.h"

#include "base/dates.h"
#include "cgt/rules/event_kinds.h"

namespace cgt {

namespace {

Extended Present(Extended amount) {
    return AmountEntered(amount) ? amount : 0;
}

} // namespace

GainOrLoss ReceiptGainOrLoss(Extended proceeds, Extended costs) {
    const Extended result = Present(proceeds) - Present(costs);
    if (result < 0) return {0, -result};
    return {result, 0};
}

std::string_view ReceiptAssetType(bool disposal) {
    return disposal ? AssetTypeCode(kOtherNonActiveItem) : std::string_view();
}

bool DateBeforeCgtStart(std::string_view text) {
    static const DateTime start = *EncodeDate(1985, 9, 20);
    const std::optional<DateTime> date = ParseDate(text);
    return date && *date < start;
}

} // namespace cgt
