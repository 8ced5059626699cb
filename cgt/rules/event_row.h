#pragma once
// The event row being edited, read through the named scratch tags: what the entry checks and
// the calculations ask of it.

#include <string>
#include <string_view>

#include "base/extended.h"

namespace cgt {

class EventRow {
public:
    // The description (tag 710) holds more than blanks.
    bool Described() const;
    // The asset type code (tag 714), trimmed; empty when none was chosen.
    std::string TypeCode() const;
    bool HasType() const { return !TypeCode().empty(); }
    // The acquisition date text (tag 726) is entered: neither blank nor the empty date mask. A
    // date that is not valid counts as entered.
    bool AcquisitionDateEntered() const;
    std::string AcquisitionDate() const;
    std::string EventDate() const;

    // Receipts and rights: capital proceeds and incidental costs (tags 1136, 1137), and the
    // gain or loss stored for them (1138, 1141).
    Extended Proceeds() const;
    Extended Costs() const;
    Extended Gain() const;
    Extended Loss() const;

    // A Yes/No question whose Yes or No box is checked.
    static bool Answered(int yesTag, int noTag);
};

// What a screen shows for the asset's name: the name, or "No Asset Selected" when it is blank.
inline constexpr const char* kNoAssetSelected = "No Asset Selected";
std::string AssetNameText(std::string_view name);

} // namespace cgt
