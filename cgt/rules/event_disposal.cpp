#include "cgt/rules/event_disposal.h"

#include <array>
#include <cmath>
#include <string_view>

#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/event_messages.h"

namespace cgt {

namespace {

// Every CGT event. "\xA0" is a non-breaking space.
const std::vector<const char*> kAllEvents = {
    "A1 - Disposal of a CGT asset",
    "B1 - Use and enjoyment before title passes ",
    "C1- Loss or destruction of a CGT asset ",
    "C2 - Cancellation, surrender and similar endings ",
    "C3 - End of an option to acquire shares and so\xA0on *Does not apply to individual taxpayers",
    "D1 - Creating contractual or other rights ",
    "D2 - Granting an option ",
    "D3 - Granting a right to income from mining ",
    "E1 - Creating a trust over a CGT asset ",
    "E2 - Transferring a CGT asset to a trust ",
    "E3 - Converting a trust to a unit trust ",
    "E4 - Capital payment for trust interest ",
    "E5 - Beneficiary becoming entitled to a trust asset ",
    "E6 - Disposal to a beneficiary to end an income right ",
    "E7 - Disposal to a beneficiary to end capital interest ",
    "E8 - Disposal by a beneficiary of capital interest ",
    "E9 - Creating a trust over future property ",
    "F1 - Granting a lease ",
    "F2 - Granting a long term lease ",
    "F3 - Lessor pays lessee to get lease changed ",
    "F4 - Lessee receives payment for changing a lease ",
    "F5 - Lessor receives payment for changing a lease ",
    "G1 - Capital payment for shares ",
    "G2 - Shifts in share values ",
    "G3 - Liquidator declares shares worthless ",
    "H1 - Forfeiture of a deposit ",
    "H2 - Receipt for an event relating to a CGT asset ",
    "I1 - Individual or company stops being a resident ",
    "I2 - Trust stops being a resident trust *Does not apply to individual taxpayers",
    "J1 - Company stops being a member of a wholly owned group after a roll-over*Does not apply "
    "to individual taxpayers ",
    "J2 - Change in status of a CGT asset that was a replacement asset in a roll-over under "
    "Subdivision 152-E ",
    "J3 - A change happens in circumstances where a share in a company or an interest in a trust "
    "was a replacement asset in a roll-over under Subdivision 152-E ",
    "K1 - Partial realisation of an intellectual property right ",
    "K2 - Bankrupt pays an amount in relation to debt ",
    "K3 - Asset passing to a tax-advantaged entity ",
    "K4 - CGT asset starts being trading stock ",
    "K5 - Special capital loss from a collectable that has fallen in market value ",
    "K6 - Pre-CGT shares or trust interest ",
};

const char* EventText(const EventKind& kind, std::string_view code) {
    for (const EventWording& w : kind.wordings)
        if (w.code == code) return w.text;
    for (const char* item : kAllEvents)
        if (std::string_view(item).substr(0, 2) == code) return item;
    return nullptr;
}

// Each kind's list of events, in the order of the kinds; a kind without codes offers them all.
std::vector<std::vector<const char*>> BuildEventLists() {
    std::vector<std::vector<const char*>> lists;
    for (const EventKind& kind : EventKinds()) {
        std::vector<const char*>& list = lists.emplace_back();
        if (kind.eventCodes.empty()) list = kAllEvents;
        for (std::string_view code : kind.eventCodes)
            if (const char* text = EventText(kind, code)) list.push_back(text);
    }
    return lists;
}

// The asset types of a worksheet without a registration of its own.
const std::vector<const char*>& AllAssetTypes() {
    return FindRegistrationKind(wkCeasingResidency)->types;
}

// The row's event date in the order of the checks after the element scan.
std::optional<Refusal> CheckEventDates(const Event& event, std::optional<DateTime> eventDate) {
    if (Precedes(eventDate, event.acquisitionDate.Date()))
        return Refusal{msg::kEventBeforeAcquisition, EventField::EventDate};
    if (Precedes(eventDate, event.costBaseDate.Date()))
        return Refusal{msg::kEventBeforeCostBaseDate, EventField::EventDate};
    return std::nullopt;
}

// The depreciating asset's entries in the order the checks name them.
struct DepreciatingEntries {
    explicit DepreciatingEntries(const Event& event)
        : cost(event.shown.cost), termination(event.shown.proceeds),
          date(event.eventDate.Entered()), taxableUse(event.shown.taxableUse),
          reductions(event.shown.sumOfReductions), decline(event.shown.totalDecline) {}

    bool cost, termination, date, taxableUse, reductions, decline;

    bool Any() const { return cost || termination || date || taxableUse || reductions || decline; }
    bool UseGiven() const { return taxableUse || reductions || decline; }
};

} // namespace

const std::vector<const char*>& EventAssetTypes(int worksheet) {
    const RegistrationKind* kind = FindRegistrationKind(worksheet);
    return kind ? kind->types : AllAssetTypes();
}

const std::vector<const char*>& EventCodes(int worksheet) {
    static const std::vector<std::vector<const char*>> lists = BuildEventLists();
    const auto kinds = EventKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (kinds[i].worksheet == worksheet) return lists[i];
    return kAllEvents;
}

int ProceedsNoteSection(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind ? kind->proceedsNote : 1;
}

bool EventTimeAsked(const Event& event) {
    return IsIndexationEnd(event.eventDate.Date());
}

bool EventBeforeAnExpense(const Event& event) {
    const std::optional<DateTime> eventDate = event.eventDate.Date();
    if (!eventDate) return false;
    // Elements without an element text stand with the one before them, whose date is checked.
    for (const CostElement& element : event.elements) {
        if (element.text.empty()) continue;
        if (Precedes(eventDate, ParseDate(element.dateIncurred))) return true;
    }
    return false;
}

std::optional<Refusal> CheckEventAndProceeds(const Event& event) {
    if (!event.Described()) return std::nullopt;
    const std::optional<DateTime> eventDate = event.eventDate.Date();
    // Nothing entered is 0; proceeds entered as 0 are the explicit zero.
    const bool noProceeds = event.proceeds == 0;
    const bool beforeExpense = EventBeforeAnExpense(event);

    if (IsBefore(eventDate, CgtStartDate()))
        return Refusal{msg::kAcquiredBeforeCgt, EventField::EventDate};
    if (beforeExpense) return Refusal{msg::kEventBeforeExpense, EventField::EventDate};
    if (!eventDate && !noProceeds) return Refusal{msg::kNoEventDate, EventField::EventDate};
    if (auto refusal = CheckEventDates(event, eventDate)) return refusal;
    if (noProceeds && eventDate) return Refusal{msg::kNoProceeds, EventField::Proceeds};
    if (IsIndexationEnd(eventDate) && !event.eventAfterCutOff.Answered())
        return Refusal{msg::kNoEventTimeAnswer, EventField::EventAfterCutOff};
    return std::nullopt;
}

std::optional<Refusal> CheckDepreciatingEvent(const Event& event) {
    if (!event.Described()) return std::nullopt;
    const DepreciatingEntries entered(event);
    const std::optional<DateTime> eventDate = event.eventDate.Date();
    // Amounts compared with 0 exactly: an amount entered as 0 counts as given.
    const bool noTermination = event.proceeds == 0;
    const bool noCost = event.cost == 0;

    if (entered.Any()) {
        if (!entered.termination)
            return Refusal{msg::kDepreciatingEntriesMissing, EventField::Proceeds};
        if (!entered.cost)
            return Refusal{msg::kDepreciatingEntriesMissing, EventField::DepreciatingCost};
        if (!entered.date) return Refusal{msg::kDepreciatingEntriesMissing, EventField::EventDate};
        if (!entered.UseGiven())
            return Refusal{msg::kDepreciatingUseMissing, EventField::TaxableUse};
    }
    if (EventBeforeAnExpense(event))
        return Refusal{msg::kEventBeforeExpense, EventField::EventDate};
    if (!(!eventDate && noTermination && noCost) &&
        (!eventDate || !entered.termination || !entered.cost))
        return Refusal{msg::kDepreciatingIncomplete, EventField::DepreciatingCost};
    if (!noTermination) {
        if (!entered.UseGiven()) return Refusal{msg::kNoTaxableUse, EventField::TaxableUse};
        if (entered.taxableUse && (entered.reductions || entered.decline))
            return Refusal{msg::kTaxableUseAndDecline, EventField::TaxableUse};
        if (entered.reductions != entered.decline)
            return Refusal{msg::kDeclinePairIncomplete, EventField::SumOfReductions};
    }
    if ((entered.reductions || entered.decline) &&
        std::nearbyint(event.totalDecline) < std::nearbyint(event.sumOfReductions))
        return Refusal{msg::kDeclineBelowReductions, EventField::TotalDecline};
    if (!eventDate && !noTermination) return Refusal{msg::kNoEventDate, EventField::EventDate};
    if (auto refusal = CheckEventDates(event, eventDate)) return refusal;
    if (noTermination && eventDate) return Refusal{msg::kNoProceeds, EventField::Proceeds};
    return std::nullopt;
}

} // namespace cgt
