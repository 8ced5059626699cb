#pragma once
// How the registration screen of a CGT event fits the worksheet it registers into: the
// "Registered asset Type" line, the help topic of its examples link, the asset types offered
// and the one taken when none is chosen, which texts it shows and how far an empty
// registration skips.

#include <string_view>
#include <vector>

namespace cgt {

struct RegistrationKind {
    int worksheet;
    std::string_view typeLine; // mark-up line(s); "\r\n" starts a new line
    int helpTopic;             // replaces "DynamicHelpLink" in the examples link
    std::vector<const char*> types;
    int defaultType;             // index into types; -1: none
    bool acquisitionDate = true; // the date of acquisition is asked
    int acquisitionSection = 1;  // section of the acquisition-date question
    int depreciatingSection = 0; // section of the depreciating-assets paragraph; 0: hidden
    int skip = 6;                // index advance when nothing is registered
};

// The kind of a worksheet; nullptr for a worksheet that has no registration.
const RegistrationKind* FindRegistrationKind(int worksheet);

} // namespace cgt
