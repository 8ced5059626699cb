#include "cgt/rules/cost_base.h"

#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_messages.h"
#include "cgt/rules/event_row.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace cgt {

using namespace tag::event;

namespace {

// An amount below the explicit zero: nothing entered.
bool Empty(Extended amount) {
    return amount < ExplicitZero && !IsExplicitZero(amount);
}

} // namespace

void NormaliseDeceasedEstate() {
    const TFieldDataType type = GetFieldType(kDeceasedEstate);
    if (type != dtNumeric) {
        const Extended kept = IsNumberType(type) ? GetFieldVal(kDeceasedEstate) : 0;
        ClearField(kDeceasedEstate);
        SetFieldType(kDeceasedEstate, dtNumeric);
        SetFieldVal(kDeceasedEstate, kept);
    }
    if (FieldIsEmpty(kDeceasedEstate)) SetFieldVal(kDeceasedEstate, kDeceasedEstateNo);
}

int DeceasedEstateAnswer() {
    const long long answer = GetFieldInt(kDeceasedEstate);
    return answer == kDeceasedEstateYes || answer == kDeceasedEstateNo ? static_cast<int>(answer)
                                                                       : 0;
}

void StoreDeceasedEstateAnswer(bool yes) {
    SetFieldVal(kDeceasedEstate, yes ? kDeceasedEstateYes : kDeceasedEstateNo);
}

RollOverDate RollOverDateKind() {
    const std::optional<DateTime> date = DateOf(kRolledOverAcquisitionDate);
    if (!date) return RollOverDate::None;
    return IsIndexationEnd(date) ? RollOverDate::IndexationEnd : RollOverDate::Other;
}

bool IndexedCostBaseOpenOnShow() {
    const std::optional<DateTime> acquired = DateOf(kAcquisitionDate);
    if (IsBefore(acquired, IndexationEndDate())) return true;
    if (acquired && FieldChecked(kIndexedCostBaseAllowed)) return true;
    const std::optional<DateTime> rolledOver = DateOf(kRolledOverAcquisitionDate);
    return IsBefore(rolledOver, IndexationEndDate()) ||
           (IsIndexationEnd(rolledOver) && FieldChecked(kAcquiredBeforeCutOff));
}

bool IndexedCostBaseOpenAfterRollOverDate() {
    return IsBefore(DateOf(kRolledOverAcquisitionDate), IndexationEndDate());
}

std::optional<Refusal> CheckCostBase(bool deceasedAnswered) {
    if (!EventRow().Described()) return std::nullopt;
    const std::optional<DateTime> rolledOver = DateOf(kRolledOverAcquisitionDate);
    const std::optional<DateTime> acquired = DateOf(kAcquisitionDate);
    const std::optional<DateTime> costBaseDate = DateOf(kCostBaseDate);
    const Extended indexed = GetFieldVal(kSectionTwoIndexed);
    const Extended nonIndexed = GetFieldVal(kSectionTwoNonIndexed);
    const Extended reduced = GetFieldVal(kSectionTwoReduced);

    if (rolledOver && Empty(indexed) && Empty(nonIndexed))
        return Refusal{msg::kNoRollOverCostBase, kSectionTwoIndexed};
    // An amount entered as 0 is refused beside an amount of the other method.
    if (AmountEntered(indexed) && IsExplicitZero(nonIndexed))
        return Refusal{msg::kZeroNonIndexedCostBase, kSectionTwoNonIndexed};
    if (IsExplicitZero(indexed) && AmountEntered(nonIndexed))
        return Refusal{msg::kZeroIndexedCostBase, kSectionTwoIndexed};
    if (IsIndexationEnd(rolledOver) &&
        !EventRow::Answered(kAcquiredAfterCutOff, kAcquiredBeforeCutOff))
        return Refusal{msg::kNoAcquisitionTimeAnswer, kAcquiredAfterCutOff};
    if (rolledOver && !deceasedAnswered)
        return Refusal{msg::kNoDeceasedEstateAnswer, kDeceasedEstate};
    if (IsBefore(rolledOver, CgtStartDate()))
        return Refusal{msg::kEventBeforeCgt, kRolledOverAcquisitionDate};
    // A personal use asset has no reduced cost base: its losses are disregarded.
    if (reduced == 0 && rolledOver && EventRow().TypeCode() != "P")
        return Refusal{msg::kNoRollOverReducedCostBase, kSectionTwoReduced};
    if (Precedes(acquired, rolledOver))
        return Refusal{msg::kRolledOverAfterAcquisition, kRolledOverAcquisitionDate};
    if (indexed > 0 &&
        (FieldChecked(kAcquiredAfterCutOff) || IsAfter(rolledOver, IndexationEndDate())))
        return Refusal{msg::kIndexedCostBaseAfterCutOff, kSectionTwoIndexed};
    if ((indexed > 0 || nonIndexed > 0 || reduced > 0) && !costBaseDate)
        return Refusal{msg::kNoCostBaseDate, kCostBaseDate};
    if (Precedes(costBaseDate, acquired))
        return Refusal{msg::kCostBaseBeforeAcquisition, kCostBaseDate};
    return std::nullopt;
}

} // namespace cgt
