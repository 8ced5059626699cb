#include "summary/registration_kinds.h"

#include <algorithm>

namespace cgt {

namespace {

constexpr const char* kOtherActive = "OA - Active asset - Other asset or CGT event";
constexpr const char* kOtherNonActive = "ON - Non-active asset - Other asset or CGT event";

const std::vector<RegistrationKind>& Kinds() {
    static const std::vector<RegistrationKind> kinds = {
        {.worksheet = 451,
         .typeLine = "Registered asset Type: Shares in a company",
         .helpTopic = 192,
         .types = {"SA - Active asset - Shares", "SN - Non-active asset - Shares"},
         .defaultType = 1,
         .skip = 8},
        {.worksheet = 452,
         .typeLine = "Registered asset Type: Trust interest",
         .helpTopic = 194,
         .types = {"UA - Active asset - Units in a unit trust",
                   "UN - Non-active asset - Units in a unit trust",
                   "OA - Active asset - Other trust", "ON - Non-active asset - Other trust"},
         .defaultType = 1,
         .skip = 8},
        {.worksheet = 453,
         .typeLine = "Registered asset Type: Interest in a trust other than a unit trust",
         .helpTopic = 194,
         .types = {kOtherActive, kOtherNonActive},
         .defaultType = 1,
         .acquisitionDate = false,
         .skip = 8},
        {.worksheet = 454,
         .typeLine = "Registered asset Type: Real estate",
         .helpTopic = 256,
         .types = {"RA - Active asset - Real estate", "RN - Non-active asset - Real estate"},
         .defaultType = 1},
        {.worksheet = 455,
         .typeLine = "Registered asset Type: Personal use or collectable assets",
         .helpTopic = 307,
         .types = {"A  - Collectables", "P  - Personal use assets"},
         .defaultType = -1},
        {.worksheet = 456,
         .typeLine = "Registered asset Type:<X150>Intangible property, contractual rights, "
                     "leases and any other asset\r\nnot previously mentioned. ",
         .helpTopic = 318,
         .types = {"G  - Goodwill on sale of business", kOtherActive, kOtherNonActive},
         .defaultType = 2,
         .acquisitionSection = 2},
        {.worksheet = 457,
         .typeLine = "Registered asset Type: Rights you created in another entity",
         .helpTopic = 318,
         .types = {kOtherActive, kOtherNonActive},
         .defaultType = 1},
        {.worksheet = 458,
         .typeLine = "Registered asset Type: Depreciating Assets",
         .helpTopic = 354,
         .types = {"P - Personal use asset", kOtherNonActive},
         .defaultType = 1,
         .acquisitionSection = 3,
         .depreciatingSection = 1},
        {.worksheet = 461,
         .typeLine = "Registered asset Type: Ceasing to be an Australian resident",
         .helpTopic = 318,
         .types = {"UA - Active asset - Units in a unit trust",
                   "UN - Non-active asset - Units in a unit trust", "SA - Active asset - Shares",
                   "SN - Non-active asset - Shares", "RA - Active asset - Real estate",
                   "RN - Non-active asset - Real estate", "G  - Goodwill", "A  - Collectables",
                   "P  - Personal-use assets", kOtherActive, kOtherNonActive},
         .defaultType = 10,
         .acquisitionSection = 2,
         .depreciatingSection = 2,
         .skip = 5},
    };
    return kinds;
}

} // namespace

const RegistrationKind* FindRegistrationKind(int worksheet) {
    const auto& kinds = Kinds();
    auto it = std::find_if(kinds.begin(), kinds.end(),
                           [&](const RegistrationKind& k) { return k.worksheet == worksheet; });
    return it == kinds.end() ? nullptr : &*it;
}

} // namespace cgt
