#include "cgt/rules/event_kinds.h"

#include <algorithm>

namespace cgt {

namespace {

const std::vector<const char*> kSharesElements = {
    "1 - Purchase/Acquisition cost",
    "1D - Instalment payment",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "5 - Capital expenditure - maintain ownership",
};
const std::vector<const char*> kTrustElements = {
    "1 - Purchase/Acquisition cost",
    "1D - Purchase by instalments",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "5 - Capital expenditure - maintain ownership",
};
// Real estate, other assets and depreciating assets.
const std::vector<const char*> kPropertyElements = {
    "1 - Purchase/Acquisition cost",
    "2A - Incidentals re holding and acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increases value",
    "5 - Capital expenditure - maintain ownership",
    "6C - Adjustments to the cost base",
    "6R - Adjustments to the reduced cost base",
};
const std::vector<const char*> kPersonalUseElements = {
    "1 - Purchase/Acquisition cost",
    "2A - Incidentals re holding and acquisition",
    "2B - Incidentals re specific CGT event",
    "4 - Capital expenditure - increases value",
    "5 - Capital expenditure - maintain ownership",
};
const std::vector<const char*> kRightsElements = {
    "1 - Original Purchase",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increase value",
    "5 - Capital expenditure - maintain title",
    "6C - Adjustments to the cost base",
    "6R -  Adjustments to the reduced cost base",
};
const std::vector<const char*> kCeasingResidencyElements = {
    "1 - Original Purchase",
    "1D - Purchase by instalments",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increase value",
    "5 - Capital expenditure - maintain title",
    "6C - Adjustments to the cost base",
    "6R -  Adjustments to the reduced cost base",
};
// Any other worksheet.
const std::vector<const char*> kGeneralElements = {
    "1 - Purchase/Acquisition cost",
    "1D - Instalments payment",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increase value",
    "5 - Capital expenditure - maintain ownership",
};

const std::vector<EventKind>& Kinds() {
    static const std::vector<EventKind> kinds = {
        {.worksheet = wkShares,
         .section = "Shares",
         .registration = RegistrationKind{.typeLine = "Registered asset Type: Shares in a company",
                                          .helpTopic = 192,
                                          .types = {"SA - Active asset - Shares",
                                                    "SN - Non-active asset - Shares"},
                                          .defaultType = 1},
         .costElements = &kSharesElements,
         .instalments = true,
         .eventCodes = {"A1", "C2", "E1", "E2", "G2", "G3", "K4", "K6"},
         .payments = PaymentKind::Shares,
         .scripForScrip = true,
         .gain = GainVariant::Standard,
         .paymentsPrintout = true,
         .receiptRows = true},
        {.worksheet = wkTrustInterests,
         .section = "Trusts",
         .registration = RegistrationKind{.typeLine = "Registered asset Type: Trust interest",
                                          .helpTopic = 194,
                                          .types = {"UA - Active asset - Units in a unit trust",
                                                    "UN - Non-active asset - Units in a unit trust",
                                                    "OA - Active asset - Other trust",
                                                    "ON - Non-active asset - Other trust"},
                                          .defaultType = 1},
         .costElements = &kTrustElements,
         .instalments = true,
         .eventCodes = {"A1", "C2", "E1", "E2", "K3", "K4", "K6"},
         .payments = PaymentKind::TrustInterests,
         .scripForScrip = true,
         .gain = GainVariant::Standard,
         .paymentsPrintout = true,
         .receiptRows = true,
         .trustComponents = true},
        {.worksheet = wkOtherTrusts,
         .section = "Other trust",
         .registration =
             RegistrationKind{
                 .typeLine = "Registered asset Type: Interest in a trust other than a unit trust",
                 .helpTopic = 194,
                 .types = {kOtherActiveItem, kOtherNonActiveItem},
                 .defaultType = 1,
                 .acquisitionDate = false},
         .costElements = &kGeneralElements,
         .receiptRows = true,
         .trustComponents = true},
        {.worksheet = wkRealEstate,
         .section = "Real estate",
         .registration = RegistrationKind{.typeLine = "Registered asset Type: Real estate",
                                          .helpTopic = 256,
                                          .types = {"RA - Active asset - Real estate",
                                                    "RN - Non-active asset - Real estate"},
                                          .defaultType = 1},
         .costElements = &kPropertyElements,
         .eventCodes = {"A1", "B1", "C1", "E1", "E2", "K3", "K4"},
         .mainResidence = true,
         .gain = GainVariant::Standard},
        {.worksheet = wkPersonalUse,
         .section = "Personal use",
         .registration =
             RegistrationKind{.typeLine =
                                  "Registered asset Type: Personal use or collectable assets",
                              .helpTopic = 307,
                              .types = {"A  - Collectables", "P  - Personal use assets"},
                              .defaultType = -1},
         .costElements = &kPersonalUseElements,
         .eventCodes = {"A1", "B1", "C1", "K3", "K4", "K5"},
         .exemption = false,
         .gain = GainVariant::Standard},
        {.worksheet = wkOtherAssets,
         .section = "Other assets",
         .registration =
             RegistrationKind{
                 .typeLine = "Registered asset Type:<X150>Intangible property, contractual rights, "
                             "leases and any other asset\r\nnot previously mentioned. ",
                 .helpTopic = 318,
                 .types = {"G  - Goodwill on sale of business", kOtherActiveItem,
                           kOtherNonActiveItem},
                 .defaultType = 2,
                 .acquisitionSection = 2},
         .costElements = &kPropertyElements,
         .eventCodes = {"A1", "B1", "C1", "C2", "C3", "D1", "D2", "D3", "E1", "E2", "F1", "F2",
                        "F3", "F5", "K3", "K4"},
         .wordings = {{"B1", "B1 - use and enjoyment before title passes - hire purchase"}},
         .gain = GainVariant::Standard,
         .paymentsPrintout = true,
         .receiptRows = true},
        {.worksheet = wkRights,
         .section = "Creation of rights",
         .registration =
             RegistrationKind{.typeLine =
                                  "Registered asset Type: Rights you created in another entity",
                              .helpTopic = 318,
                              .types = {kOtherActiveItem, kOtherNonActiveItem},
                              .defaultType = 1},
         .costElements = &kRightsElements,
         .eventCodes = {"A1", "B1", "C1", "C2", "C3", "D1", "D2", "D3", "K3", "K4"},
         .wordings = {{"A1", "A1 - disposal or assignment"},
                      {"C2", "C2 - cancellation, surrender or a similar ending"}},
         .receiptRows = true},
        {.worksheet = wkDepreciating,
         .section = "Depreciating assets",
         .registration = RegistrationKind{.typeLine = "Registered asset Type: Depreciating Assets",
                                          .helpTopic = 354,
                                          .types = {"P - Personal use asset", kOtherNonActiveItem},
                                          .defaultType = 1,
                                          .acquisitionSection = 3,
                                          .depreciatingSection = 1},
         .costElements = &kPropertyElements,
         .exemption = false,
         .gain = GainVariant::Depreciating},
        {.worksheet = wkSmallBusiness, .section = "SB status", .costElements = &kGeneralElements},
        {.worksheet = wkBankruptcy, .section = "Bankrupt", .costElements = &kGeneralElements},
        {.worksheet = wkCeasingResidency,
         .section = "Residency",
         .registration =
             RegistrationKind{
                 .typeLine = "Registered asset Type: Ceasing to be an Australian resident",
                 .helpTopic = 318,
                 .types = {"UA - Active asset - Units in a unit trust",
                           "UN - Non-active asset - Units in a unit trust",
                           "SA - Active asset - Shares", "SN - Non-active asset - Shares",
                           "RA - Active asset - Real estate", "RN - Non-active asset - Real estate",
                           "G  - Goodwill", "A  - Collectables", "P  - Personal-use assets",
                           kOtherActiveItem, kOtherNonActiveItem},
                 .defaultType = 10,
                 .acquisitionSection = 2,
                 .depreciatingSection = 2},
         .costElements = &kCeasingResidencyElements,
         .instalments = true,
         .eventCodes = {"I1"},
         .wordings = {{"I1", "I1 - individual or company stops being a resident"}},
         .proceedsNote = 2,
         .nothingRegistered = kRouteRollOver},
        {.worksheet = wkReceipts, .section = "Other cap pay", .costElements = &kGeneralElements},
    };
    return kinds;
}

} // namespace

std::span<const EventKind> EventKinds() {
    return Kinds();
}

const EventKind* FindEventKind(int worksheet) {
    const auto& kinds = Kinds();
    auto it = std::find_if(kinds.begin(), kinds.end(),
                           [&](const EventKind& k) { return k.worksheet == worksheet; });
    return it == kinds.end() ? nullptr : &*it;
}

const RegistrationKind* FindRegistrationKind(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind && kind->registration ? &*kind->registration : nullptr;
}

std::string_view AssetTypeCode(std::string_view item) {
    return item.substr(0, 2);
}

std::string_view DefaultTypeItem(const RegistrationKind& kind) {
    if (kind.defaultType < 0 || kind.defaultType >= static_cast<int>(kind.types.size())) return {};
    return kind.types[static_cast<std::size_t>(kind.defaultType)];
}

const std::vector<const char*>& CostElementPicklist(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind ? *kind->costElements : kGeneralElements;
}

std::span<const int> GainWorksheetKinds() {
    static const std::vector<int> kinds = [] {
        std::vector<int> out;
        for (const EventKind& kind : Kinds())
            if (kind.gain) out.push_back(kind.worksheet);
        return out;
    }();
    return kinds;
}

GainVariant GainVariantOf(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind && kind->gain ? *kind->gain : GainVariant::Standard;
}

PaymentKind PaymentKindOf(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind && kind->payments ? *kind->payments : PaymentKind::Shares;
}

} // namespace cgt
