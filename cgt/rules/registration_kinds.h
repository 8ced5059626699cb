#pragma once
// How the registration of a CGT event fits the worksheet it registers into: the "Registered
// asset Type" line, the help topic of its examples link, the asset types offered and the one
// taken when none is chosen, and which texts the registration screen shows. The type lists are
// the module's asset-type lists: other event screens offer the list of their worksheet.

#include <string_view>
#include <vector>

namespace cgt {

// The other asset or CGT event, active and non-active, as the type lists show them.
inline constexpr const char* kOtherActiveItem = "OA - Active asset - Other asset or CGT event";
inline constexpr const char* kOtherNonActiveItem =
    "ON - Non-active asset - Other asset or CGT event";

struct RegistrationKind {
    int worksheet;
    std::string_view typeLine; // mark-up line(s); "\r\n" starts a new line
    int helpTopic;             // replaces "DynamicHelpLink" in the examples link
    std::vector<const char*> types;
    int defaultType;             // index into types; -1: none
    bool acquisitionDate = true; // the date of acquisition is asked
    int acquisitionSection = 1;  // section of the acquisition-date question
    int depreciatingSection = 0; // section of the depreciating-assets paragraph; 0: hidden
    // A worksheet without an events question of its own: the index advance to its another-event
    // screen when nothing is registered (0: the route of the screen).
    int skipWhenEmpty = 0;
};

// The kind of a worksheet; nullptr for a worksheet that has no registration.
const RegistrationKind* FindRegistrationKind(int worksheet);

// The asset type code of a list item: its first two characters.
std::string_view AssetTypeCode(std::string_view item);
// The list item of a kind's default type; empty when it has none.
std::string_view DefaultTypeItem(const RegistrationKind& kind);

} // namespace cgt
