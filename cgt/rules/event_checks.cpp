#include "cgt/rules/event_checks.h"

#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/receipts.h"

namespace cgt {

namespace {

bool DateAsked(const RegistrationKind* kind) {
    return !kind || kind->acquisitionDate;
}

// The description and an amount of a right or a receipt; nothing entered needs no check.
std::optional<Refusal> CheckReceiptEntries(const Event& event, bool& entered) {
    const GainOrLoss result = ReceiptGainOrLoss(event.receiptProceeds, event.receiptCosts);
    entered = event.Described() || AmountEntered(result.gain);
    if (!entered) return std::nullopt;
    if (!event.Described()) return Refusal{msg::kNoReceiptDescription, EventField::Name};
    if (!AmountEntered(result.gain) && !AmountEntered(result.loss))
        return Refusal{msg::kNoAmount, EventField::ReceiptProceeds};
    return std::nullopt;
}

} // namespace

RegistrationState RegistrationStateOf(const Event& event, const RegistrationKind* kind) {
    if (event.Described()) return RegistrationState::Described;
    if (event.HasType() || (DateAsked(kind) && event.acquisitionDate.Entered()))
        return RegistrationState::Undescribed;
    return RegistrationState::Empty;
}

std::string DefaultTypeFor(const RegistrationKind* kind, bool described, bool hasType) {
    if (!kind || !described || hasType) return {};
    return std::string(AssetTypeCode(DefaultTypeItem(*kind)));
}

std::optional<Refusal> CheckRegistration(const Event& event, const RegistrationKind* kind) {
    const RegistrationState state = RegistrationStateOf(event, kind);
    if (state == RegistrationState::Empty) return std::nullopt;
    if (state == RegistrationState::Undescribed)
        return Refusal{msg::kNoDescription, EventField::Name};
    if (DateAsked(kind) && DateBeforeCgtStart(event.acquisitionDate.text))
        return Refusal{msg::kAcquiredBeforeCgt, EventField::AcquisitionDate};
    if (!event.HasType()) return Refusal{msg::kNoType, EventField::AssetType};
    if (DateAsked(kind) && !event.acquisitionDate.Entered())
        return Refusal{msg::kNoAcquisitionDate, EventField::AcquisitionDate};
    return std::nullopt;
}

std::optional<Refusal> CheckRegistrationNext(const Event& event, const RegistrationKind* kind) {
    if (RegistrationStateOf(event, kind) == RegistrationState::Undescribed)
        return Refusal{msg::kNothingToRegister, EventField::Name};
    return std::nullopt;
}

std::optional<Refusal> CheckRightsEvent(const Event& event) {
    bool entered = false;
    if (auto refusal = CheckReceiptEntries(event, entered); refusal || !entered) return refusal;
    if (!event.rollOver.Answered()) return Refusal{msg::kNoRollOverAnswer, EventField::RollOverYes};
    if (event.rollOver.yes && !event.marriageBreakdown.Answered())
        return Refusal{msg::kNoYesNoAnswer, EventField::MarriageBreakdownYes};
    return std::nullopt;
}

std::optional<Refusal> CheckReceiptEvent(const Event& event) {
    bool entered = false;
    if (auto refusal = CheckReceiptEntries(event, entered); refusal || !entered) return refusal;
    if (DateBeforeCgtStart(event.eventDate.text))
        return Refusal{msg::kEventBeforeCgt, EventField::EventDate};
    return std::nullopt;
}

} // namespace cgt
