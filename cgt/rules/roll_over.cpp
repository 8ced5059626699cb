#include "cgt/rules/roll_over.h"

#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/routes.h"

namespace cgt {

bool ActiveAssetRegistered(const Event& event) {
    return IsActiveAssetType(event.typeCode);
}

bool AsksExemption(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return !kind || kind->exemption;
}

std::optional<Refusal> CheckRollOver(const Event& event, bool scripForScrip) {
    if (!event.Described()) return std::nullopt;
    // Without an event date there is nothing to roll over yet.
    if (!event.rollOver.Answered() && event.eventDate.Date())
        return Refusal{msg::kNoRollOverAnswer, EventField::RollOverYes};
    if (event.rollOver.yes) {
        if (!event.marriageBreakdown.Answered())
            return Refusal{msg::kNoYesNoAnswer, EventField::MarriageBreakdownYes};
        if (scripForScrip && !event.scripForScrip.Answered())
            return Refusal{msg::kNoYesNoAnswer, EventField::ScripForScripYes};
    }
    if (event.fifteenYearExemption && !ActiveAssetRegistered(event))
        return Refusal{msg::kExemptionNotActive, EventField::FifteenYearExemption};
    return std::nullopt;
}

std::string_view RollOverNextRoute(const Event& event) {
    const EventKind* kind = FindEventKind(event.kind);
    return kind && kind->payments && !event.payments.empty() ? kRouteNonAssessablePayments
                                                             : kRouteGainCalculation;
}

} // namespace cgt
