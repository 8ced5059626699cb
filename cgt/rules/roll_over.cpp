#include "cgt/rules/roll_over.h"

#include <array>

#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/event_row.h"
#include "cgt/rules/routes.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace cgt {

using namespace tag::event;

namespace {

bool HasPayments() {
    const StringListRef payments = GetFieldLst(kPayments);
    return payments && !payments->empty();
}

} // namespace

bool ActiveAssetRegistered() {
    return IsActiveAssetType(EventRow().TypeCode());
}

bool AsksExemption(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return !kind || kind->exemption;
}

std::optional<Refusal> CheckRollOver(bool scripForScrip) {
    if (!EventRow().Described()) return std::nullopt;
    // Without an event date there is nothing to roll over yet.
    if (!EventRow::Answered(kRollOverYes, kRollOverNo) && DateOf(kEventDate))
        return Refusal{msg::kNoRollOverAnswer, kRollOverYes};
    if (FieldChecked(kRollOverYes)) {
        if (!EventRow::Answered(kMarriageBreakdownYes, kMarriageBreakdownNo))
            return Refusal{msg::kNoYesNoAnswer, kMarriageBreakdownYes};
        if (scripForScrip && !EventRow::Answered(kScripForScripYes, kScripForScripNo))
            return Refusal{msg::kNoYesNoAnswer, kScripForScripYes};
    }
    if (FieldChecked(kFifteenYearExemption) && !ActiveAssetRegistered())
        return Refusal{msg::kExemptionNotActive, kFifteenYearExemption};
    return std::nullopt;
}

std::string_view RollOverNextRoute(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind && kind->payments && HasPayments() ? kRouteNonAssessablePayments
                                                   : kRouteGainCalculation;
}

} // namespace cgt
