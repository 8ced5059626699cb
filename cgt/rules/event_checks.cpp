#include "cgt/rules/event_checks.h"

#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/event_row.h"
#include "cgt/rules/receipts.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace cgt {

using namespace tag::event;

namespace {

bool DateAsked(const RegistrationKind* kind) {
    return !kind || kind->acquisitionDate;
}

// The description and an amount of a right or a receipt; nothing entered needs no check.
std::optional<Refusal> CheckReceiptEntries(bool& entered) {
    const EventRow row;
    const GainOrLoss result = ReceiptGainOrLoss(row.Proceeds(), row.Costs());
    entered = row.Described() || AmountEntered(result.gain);
    if (!entered) return std::nullopt;
    if (!row.Described()) return Refusal{msg::kNoReceiptDescription, kName};
    if (!AmountEntered(result.gain) && !AmountEntered(result.loss))
        return Refusal{msg::kNoAmount, kOtherProceeds};
    return std::nullopt;
}

} // namespace

RegistrationState RegistrationStateOf(const RegistrationKind* kind) {
    const EventRow row;
    if (row.Described()) return RegistrationState::Described;
    if (row.HasType() || (DateAsked(kind) && row.AcquisitionDateEntered()))
        return RegistrationState::Undescribed;
    return RegistrationState::Empty;
}

std::string DefaultTypeFor(const RegistrationKind* kind, bool described, bool hasType) {
    if (!kind || !described || hasType) return {};
    return std::string(AssetTypeCode(DefaultTypeItem(*kind)));
}

void ApplyDefaultType(const RegistrationKind* kind) {
    const EventRow row;
    const std::string code = DefaultTypeFor(kind, row.Described(), row.HasType());
    if (!code.empty()) SetFieldStr(kAssetType, code);
}

std::optional<Refusal> CheckRegistration(const RegistrationKind* kind) {
    const EventRow row;
    const RegistrationState state = RegistrationStateOf(kind);
    if (state == RegistrationState::Empty) return std::nullopt;
    if (state == RegistrationState::Undescribed) return Refusal{msg::kNoDescription, kName};
    if (DateAsked(kind) && DateBeforeCgtStart(row.AcquisitionDate()))
        return Refusal{msg::kAcquiredBeforeCgt, kAcquisitionDate};
    if (!row.HasType()) return Refusal{msg::kNoType, kAssetType};
    if (DateAsked(kind) && !row.AcquisitionDateEntered())
        return Refusal{msg::kNoAcquisitionDate, kAcquisitionDate};
    return std::nullopt;
}

std::optional<Refusal> CheckRegistrationNext(const RegistrationKind* kind) {
    if (RegistrationStateOf(kind) == RegistrationState::Undescribed)
        return Refusal{msg::kNothingToRegister, kName};
    return std::nullopt;
}

std::optional<Refusal> CheckRightsEvent() {
    bool entered = false;
    if (auto refusal = CheckReceiptEntries(entered); refusal || !entered) return refusal;
    if (!EventRow::Answered(kRollOverYes, kRollOverNo))
        return Refusal{msg::kNoRollOverAnswer, kRollOverYes};
    if (FieldChecked(kRollOverYes) &&
        !EventRow::Answered(kMarriageBreakdownYes, kMarriageBreakdownNo))
        return Refusal{msg::kNoYesNoAnswer, kMarriageBreakdownYes};
    return std::nullopt;
}

std::optional<Refusal> CheckReceiptEvent() {
    bool entered = false;
    if (auto refusal = CheckReceiptEntries(entered); refusal || !entered) return refusal;
    if (DateBeforeCgtStart(EventRow().EventDate()))
        return Refusal{msg::kEventBeforeCgt, kEventDate};
    return std::nullopt;
}

} // namespace cgt
