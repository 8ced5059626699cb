#pragma once
// The kinds of CGT event, one row per asset worksheet (451–462): what the rules and the screens
// ask of an event by the worksheet that records it. Its section in the choice table, how it is
// registered (the "Registered asset Type" line, the asset types offered and the default), the
// cost elements offered, the CGT events that can happen to it, its non-assessable payments,
// the roll-over questions it is asked, the gain worksheet it ends with and which rows it gives
// the choice table. A fact about a kind is written here once; code asks the row.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/worksheet_kinds.h"
#include "cgt/rules/routes.h"

namespace cgt {

// Non-assessable payments: capital payments for shares (CGT event G1) or for trust interests
// (CGT event E4).
enum class PaymentKind { Shares, TrustInterests };

// The gain calculation worksheet: the standard one, or the depreciating-asset variant.
enum class GainVariant { Standard, Depreciating };

// The other asset or CGT event, active and non-active, as the type lists show them.
inline constexpr const char* kOtherActiveItem = "OA - Active asset - Other asset or CGT event";
inline constexpr const char* kOtherNonActiveItem =
    "ON - Non-active asset - Other asset or CGT event";

// How an event of the kind is registered.
struct RegistrationKind {
    std::string_view typeLine; // mark-up line(s); "\r\n" starts a new line
    int helpTopic;             // replaces "DynamicHelpLink" in the examples link
    std::vector<const char*> types;
    int defaultType;             // index into types; -1: none
    bool acquisitionDate = true; // the date of acquisition is asked
    int acquisitionSection = 1;  // section of the acquisition-date question
    int depreciatingSection = 0; // section of the depreciating-assets paragraph; 0: hidden
};

// A CGT event as a worksheet words it in its own list.
struct EventWording {
    std::string_view code;
    const char* text;
};

struct EventKind {
    int worksheet;
    std::string_view section; // the choice table's section of its rows
    std::optional<RegistrationKind> registration;
    const std::vector<const char*>* costElements; // the cost elements offered, in order
    bool instalments = false;                     // elements may be paid by instalments
    std::vector<std::string_view> eventCodes; // the CGT events that can happen; empty: every one
    std::vector<EventWording> wordings;       // entries of that list in the kind's own words
    int proceedsNote = 1; // section of the note beside the proceeds (2: no proceeds received)
    std::optional<PaymentKind> payments; // its non-assessable payments, when it has them
    bool exemption = true;               // the 15-year active asset exemption is asked
    bool scripForScrip = false;          // a roll-over may be a scrip for scrip one
    bool mainResidence = false;      // the gain may be partly or fully exempt as a main residence
    std::optional<GainVariant> gain; // its events end with this gain worksheet
    // Its gain worksheet offers the non-assessable payments printout (usable with payments).
    bool paymentsPrintout = false;
    // The route a registration takes when nothing is registered (cgt/rules/routes.h).
    std::string_view nothingRegistered = kRouteAnotherEvent;
    bool receiptRows = false;     // gains from non-assessable receipts are choice rows
    bool trustComponents = false; // a row may hold a trust distribution's components
};

// Every kind, by worksheet number.
std::span<const EventKind> EventKinds();
// The kind of a worksheet; nullptr for a number that is no asset worksheet.
const EventKind* FindEventKind(int worksheet);

// The registration of a worksheet; nullptr for a worksheet that has no registration.
const RegistrationKind* FindRegistrationKind(int worksheet);
// The asset type code of a list item: its first two characters.
std::string_view AssetTypeCode(std::string_view item);
// The list item of a kind's default type; empty when it has none.
std::string_view DefaultTypeItem(const RegistrationKind& kind);

// The cost elements offered for a worksheet, in order; the general list for a number that is no
// asset worksheet.
const std::vector<const char*>& CostElementPicklist(int worksheet);

// The worksheets whose events end with a gain calculation worksheet, in their order.
std::span<const int> GainWorksheetKinds();
// The worksheet's variant of the gain calculation worksheet.
GainVariant GainVariantOf(int worksheet);
// The payment kind of a worksheet with payments: trust interests for 452, else shares.
PaymentKind PaymentKindOf(int worksheet);

} // namespace cgt
