#include "cgt/rules/event_row.h"

#include "base/dates.h"
#include "base/text.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace cgt {

using namespace tag::event;

bool EventRow::Described() const {
    return !TrimBlanks(GetFieldStr(kName)).empty();
}

std::string EventRow::TypeCode() const {
    return TrimText(GetFieldStr(kAssetType));
}

bool EventRow::AcquisitionDateEntered() const {
    const std::string date = AcquisitionDate();
    return !TrimBlanks(date).empty() && date != kEmptyDateMask;
}

std::string EventRow::AcquisitionDate() const {
    return GetFieldStr(kAcquisitionDate);
}

std::string EventRow::EventDate() const {
    return GetFieldStr(kEventDate);
}

Extended EventRow::Proceeds() const {
    return GetFieldVal(kOtherProceeds);
}

Extended EventRow::Costs() const {
    return GetFieldVal(kOtherCostBase);
}

Extended EventRow::Gain() const {
    return GetFieldVal(kOtherGain);
}

Extended EventRow::Loss() const {
    return GetFieldVal(kCapitalLoss);
}

bool EventRow::Answered(int yesTag, int noTag) {
    return FieldChecked(yesTag) || FieldChecked(noTag);
}

std::string AssetNameText(std::string_view name) {
    return std::string(TrimBlanks(name).empty() ? std::string_view(kNoAssetSelected) : name);
}

} // namespace cgt
