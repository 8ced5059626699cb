#include "cgt/rules/cost_base.h"

#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_messages.h"

namespace cgt {

namespace {

// An amount below the explicit zero: nothing entered.
bool Empty(Extended amount) {
    return amount < ExplicitZero && !IsExplicitZero(amount);
}

} // namespace

RollOverDate RollOverDateKind(const Event& event) {
    const std::optional<DateTime> date = event.rolledOverDate.Date();
    if (!date) return RollOverDate::None;
    return IsIndexationEnd(date) ? RollOverDate::IndexationEnd : RollOverDate::Other;
}

bool IndexedCostBaseOpenOnShow(const Event& event) {
    const std::optional<DateTime> acquired = event.acquisitionDate.Date();
    if (IsBefore(acquired, IndexationEndDate())) return true;
    if (acquired && event.indexedCostBaseAllowed) return true;
    const std::optional<DateTime> rolledOver = event.rolledOverDate.Date();
    return IsBefore(rolledOver, IndexationEndDate()) ||
           (IsIndexationEnd(rolledOver) && event.acquiredAfterCutOff.no);
}

bool IndexedCostBaseOpenAfterRollOverDate(const Event& event) {
    return IsBefore(event.rolledOverDate.Date(), IndexationEndDate());
}

std::optional<Refusal> CheckCostBase(const Event& event, bool deceasedAnswered) {
    if (!event.Described()) return std::nullopt;
    const std::optional<DateTime> rolledOver = event.rolledOverDate.Date();
    const std::optional<DateTime> acquired = event.acquisitionDate.Date();
    const std::optional<DateTime> costBaseDate = event.costBaseDate.Date();
    const Extended indexed = event.sectionTwo.indexed;
    const Extended nonIndexed = event.sectionTwo.nonIndexed;
    const Extended reduced = event.sectionTwo.reduced;

    if (rolledOver && Empty(indexed) && Empty(nonIndexed))
        return Refusal{msg::kNoRollOverCostBase, EventField::SectionTwoIndexed};
    // An amount entered as 0 is refused beside an amount of the other method.
    if (AmountEntered(indexed) && IsExplicitZero(nonIndexed))
        return Refusal{msg::kZeroNonIndexedCostBase, EventField::SectionTwoNonIndexed};
    if (IsExplicitZero(indexed) && AmountEntered(nonIndexed))
        return Refusal{msg::kZeroIndexedCostBase, EventField::SectionTwoIndexed};
    if (IsIndexationEnd(rolledOver) && !event.acquiredAfterCutOff.Answered())
        return Refusal{msg::kNoAcquisitionTimeAnswer, EventField::AcquiredAfterCutOff};
    if (rolledOver && !deceasedAnswered)
        return Refusal{msg::kNoDeceasedEstateAnswer, EventField::DeceasedEstate};
    if (IsBefore(rolledOver, CgtStartDate()))
        return Refusal{msg::kEventBeforeCgt, EventField::RolledOverDate};
    // A personal use asset has no reduced cost base: its losses are disregarded.
    if (reduced == 0 && rolledOver && event.typeCode != "P")
        return Refusal{msg::kNoRollOverReducedCostBase, EventField::SectionTwoReduced};
    if (Precedes(acquired, rolledOver))
        return Refusal{msg::kRolledOverAfterAcquisition, EventField::RolledOverDate};
    if (indexed > 0 && (event.acquiredAfterCutOff.yes || IsAfter(rolledOver, IndexationEndDate())))
        return Refusal{msg::kIndexedCostBaseAfterCutOff, EventField::SectionTwoIndexed};
    if ((indexed > 0 || nonIndexed > 0 || reduced > 0) && !costBaseDate)
        return Refusal{msg::kNoCostBaseDate, EventField::CostBaseDate};
    if (Precedes(costBaseDate, acquired))
        return Refusal{msg::kCostBaseBeforeAcquisition, EventField::CostBaseDate};
    return std::nullopt;
}

} // namespace cgt
