#include "cgt/rules/receipts.h"

#include "base/dates.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_row.h"
#include "store/tags.h"

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

void StoreReceiptGainOrLoss() {
    const EventRow row;
    const GainOrLoss result = ReceiptGainOrLoss(row.Proceeds(), row.Costs());
    SetFieldVal(tag::event::kOtherGain, result.gain);
    SetFieldVal(tag::event::kCapitalLoss, result.loss);
}

bool StoreDisposalResult(ReceiptKind kind) {
    using namespace tag::event;
    const EventRow row;
    const bool disposal = AmountEntered(row.Proceeds());
    if (disposal)
        SetFieldChecked(kDisposalResult);
    else
        SetFieldUnchecked(kDisposalResult);
    if (kind == ReceiptKind::Receipt) {
        if (disposal)
            SetFieldStr(kAssetType, AssetTypeCode(kOtherNonActiveItem));
        else
            ClearField(kAssetType);
    }
    return disposal;
}

bool DateBeforeCgtStart(std::string_view text) {
    static const DateTime start = *EncodeDate(1985, 9, 20);
    const std::optional<DateTime> date = ParseDate(text);
    return date && *date < start;
}

} // namespace cgt
