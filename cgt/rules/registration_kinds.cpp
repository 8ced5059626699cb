#include "cgt/rules/registration_kinds.h"

#include <algorithm>

#include "store/tags.h"

namespace cgt {

namespace {

const std::vector<RegistrationKind>& Kinds() {
    static const std::vector<RegistrationKind> kinds = {
        {.worksheet = wkShares,
         .typeLine = "Registered asset Type: Shares in a company",
         .helpTopic = 192,
         .types = {"SA - Active asset - Shares", "SN - Non-active asset - Shares"},
         .defaultType = 1},
        {.worksheet = wkTrustInterests,
         .typeLine = "Registered asset Type: Trust interest",
         .helpTopic = 194,
         .types = {"UA - Active asset - Units in a unit trust",
                   "UN - Non-active asset - Units in a unit trust",
                   "OA - Active asset - Other trust", "ON - Non-active asset - Other trust"},
         .defaultType = 1},
        {.worksheet = wkOtherTrusts,
         .typeLine = "Registered asset Type: Interest in a trust other than a unit trust",
         .helpTopic = 194,
         .types = {kOtherActiveItem, kOtherNonActiveItem},
         .defaultType = 1,
         .acquisitionDate = false,
         .skipWhenEmpty = 8},
        {.worksheet = wkRealEstate,
         .typeLine = "Registered asset Type: Real estate",
         .helpTopic = 256,
         .types = {"RA - Active asset - Real estate", "RN - Non-active asset - Real estate"},
         .defaultType = 1},
        {.worksheet = wkPersonalUse,
         .typeLine = "Registered asset Type: Personal use or collectable assets",
         .helpTopic = 307,
         .types = {"A  - Collectables", "P  - Personal use assets"},
         .defaultType = -1},
        {.worksheet = wkOtherAssets,
         .typeLine = "Registered asset Type:<X150>Intangible property, contractual rights, "
                     "leases and any other asset\r\nnot previously mentioned. ",
         .helpTopic = 318,
         .types = {"G  - Goodwill on sale of business", kOtherActiveItem, kOtherNonActiveItem},
         .defaultType = 2,
         .acquisitionSection = 2},
        {.worksheet = wkRights,
         .typeLine = "Registered asset Type: Rights you created in another entity",
         .helpTopic = 318,
         .types = {kOtherActiveItem, kOtherNonActiveItem},
         .defaultType = 1},
        {.worksheet = wkDepreciating,
         .typeLine = "Registered asset Type: Depreciating Assets",
         .helpTopic = 354,
         .types = {"P - Personal use asset", kOtherNonActiveItem},
         .defaultType = 1,
         .acquisitionSection = 3,
         .depreciatingSection = 1},
        {.worksheet = wkCeasingResidency,
         .typeLine = "Registered asset Type: Ceasing to be an Australian resident",
         .helpTopic = 318,
         .types = {"UA - Active asset - Units in a unit trust",
                   "UN - Non-active asset - Units in a unit trust", "SA - Active asset - Shares",
                   "SN - Non-active asset - Shares", "RA - Active asset - Real estate",
                   "RN - Non-active asset - Real estate", "G  - Goodwill", "A  - Collectables",
                   "P  - Personal-use assets", kOtherActiveItem, kOtherNonActiveItem},
         .defaultType = 10,
         .acquisitionSection = 2,
         .depreciatingSection = 2,
         .skipWhenEmpty = 5},
    };
    return kinds;
}

} // namespace

std::string_view AssetTypeCode(std::string_view item) {
    return item.substr(0, 2);
}

std::string_view DefaultTypeItem(const RegistrationKind& kind) {
    if (kind.defaultType < 0 || kind.defaultType >= static_cast<int>(kind.types.size())) return {};
    return kind.types[static_cast<std::size_t>(kind.defaultType)];
}

const RegistrationKind* FindRegistrationKind(int worksheet) {
    const auto& kinds = Kinds();
    auto it = std::find_if(kinds.begin(), kinds.end(),
                           [&](const RegistrationKind& k) { return k.worksheet == worksheet; });
    return it == kinds.end() ? nullptr : &*it;
}

} // namespace cgt
