#pragma once
// A CGT event as the rules read it: one row of an asset worksheet, typed. Its kind and row, what
// was registered, the cost base already known, the cost elements, the non-assessable payments,
// the event and its proceeds (the depreciating-asset figures included), the roll-over answers,
// the proceeds and costs of a right or receipt, and what the calculations and the choice table
// left in it. The rules take events and return results or refusals; cgt/records moves them to
// and from the store.
//
// Amounts keep the stored convention: 0 is nothing entered, ExplicitZero an amount entered (or
// worked out) as nil (base/amounts.h). Dates are kept as entered: a text that may or may not be
// a date.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/amounts.h"
#include "base/dates.h"
#include "base/extended.h"
#include "base/text.h"

namespace cgt {

// A date field as entered.
struct DateEntry {
    DateEntry() = default;
    DateEntry(std::string entered) : text(std::move(entered)) {}
    DateEntry(const char* entered) : text(entered) {}

    std::string text;

    // The date, when the text is a valid date.
    std::optional<DateTime> Date() const { return ParseDate(text); }
    // Anything but blanks or the empty date mask was entered (an invalid date counts).
    bool Entered() const { return !TrimBlanks(text).empty() && text != kEmptyDateMask; }
};

// A question answered by one of two check boxes.
struct YesNo {
    bool yes = false;
    bool no = false;
    bool Answered() const { return yes || no; }
};

// The three kinds of cost base, in the order of the worksheet's totals.
struct CostBases {
    Extended nonIndexed = 0;
    Extended indexed = 0;
    Extended reduced = 0;
};

// One element of the cost element list (eight strings per element).
struct CostElement {
    std::string text;     // the element as chosen, e.g. "2A - Incidentals …"
    bool entered = false; // its text is not blank; an element without one is skipped
    std::string code;     // the first two characters of its text, trimmed
    std::string dateIncurred;
    std::string datePaid;
    std::string description;
    Extended amount = 0;   // 0 when the text does not convert
    Extended excluded = 0; // excluded from the cost base and from the reduced cost base
    std::string comments;
};

// The components of a trust distribution as the trustee reports them, indexed, discounted
// (grossed up) and other, of collectables, other assets and active assets.
struct TrustComponents {
    bool recorded = false; // the row records a trust distribution
    Extended collectableIndexed = 0, otherIndexed = 0, activeIndexed = 0;
    Extended collectableDiscount = 0, otherDiscount = 0, activeDiscount = 0;
    Extended collectableOther = 0, otherOther = 0, activeOther = 0;
};

// A method's result as the worksheet left it: the method is not available, the result is nil,
// or an amount.
class MethodResult {
public:
    enum class Kind { NotAvailable, Nil, Amount };

    MethodResult() = default; // not available
    static MethodResult NotAvailable() { return MethodResult(Kind::NotAvailable, 0); }
    static MethodResult Nil() { return MethodResult(Kind::Nil, 0); }
    static MethodResult Of(Extended amount) { return MethodResult(Kind::Amount, amount); }
    // From the stored convention: 0 not available, ExplicitZero nil, else the amount.
    static MethodResult FromStored(Extended stored);

    Kind kind() const { return kind_; }
    bool Available() const { return kind_ != Kind::NotAvailable; }
    bool IsNil() const { return kind_ == Kind::Nil; }
    // The amount; 0 when nil or not available.
    Extended Amount() const { return kind_ == Kind::Amount ? amount_ : 0; }
    // A result the worksheet worked out: nil, or an amount above zero.
    bool Present() const { return kind_ == Kind::Nil || (kind_ == Kind::Amount && amount_ > 0); }
    // An amount above the nil: a result that counts as entered.
    bool AboveNil() const { return kind_ == Kind::Amount && AmountEntered(amount_); }
    // Back to the stored convention.
    Extended Stored() const;

    bool operator==(const MethodResult&) const = default;

private:
    MethodResult(Kind kind, Extended amount) : kind_(kind), amount_(amount) {}
    Kind kind_ = Kind::NotAvailable;
    Extended amount_ = 0;
};

// What the gain calculation worksheet and the payments' worksheet left in the row.
struct EventResults {
    MethodResult indexedGain, discountGain, otherGain, capitalLoss;
    CostBases costBase;            // non-indexed, indexed, reduced
    Extended discountProceeds = 0; // the discount column's proceeds and cost base
    Extended discountCostBase = 0;
    std::string firstMessage, secondMessage;
    bool disposal = false; // the capital proceeds are above zero
    std::string baseDate;  // the date the worksheets index from
    // Gains from non-assessable payments, [this income year, prior income years], by method.
    bool paymentGainThisYear = false;
    std::array<Extended, 2> paymentIndexedGain{}, paymentDiscountGain{}, paymentOtherGain{};
};

// What the choice table and the concession screens stored in the row.
struct EventChoices {
    std::string method;    // "Indexed", "Discount" or as stored
    std::string deferment; // "Yes", "No" or as stored
    StringList lossesApplied;
    StringList concessionElections;
    Extended replacementMarketValue = 0; // scrip for scrip
    Extended cashConsideration = 0;
};

struct Event {
    int kind = 0; // the worksheet that records it (cgt/rules/event_kinds.h)
    int row = 0;  // its row key, from 1

    // Registration.
    std::string name;
    std::string typeCode; // trimmed; empty when none was chosen
    DateEntry acquisitionDate;

    // The cost base already known.
    bool withholdIndexation = false;
    bool indexedCostBaseAllowed = false; // indexes an asset acquired from 21/9/1999
    DateEntry costBaseDate;
    DateEntry rolledOverDate;  // acquisition date of the asset rolled over
    int deceasedEstate = 0;    // 1 Yes, 2 No, 0 not answered
    YesNo acquiredAfterCutOff; // acquired on 21/9/1999 after 11.45am (yes) or before (no)
    CostBases sectionTwo;

    std::vector<CostElement> elements;

    // Non-assessable payments: eight or nine strings a payment, and their CGT event code.
    StringList payments;
    std::string paymentEventCode;
    // The cost base as the payments' worksheet left it.
    std::string adjustedDate;
    CostBases adjusted;

    // The event and its proceeds.
    DateEntry eventDate;
    YesNo eventAfterCutOff; // on 21/9/1999 after 11.45am (yes) or before (no)
    Extended proceeds = 0;  // the termination value for depreciating assets
    Extended percentDisposed = 0;
    Extended daysNotExempt = 0;
    Extended totalDays = 0;

    // Depreciating assets.
    Extended taxableUse = 0; // percent
    Extended sumOfReductions = 0;
    Extended totalDecline = 0;
    Extended cost = 0;
    // Which of their fields show an entry (a nil entered counts).
    struct Shown {
        bool cost = false, proceeds = false, taxableUse = false, sumOfReductions = false,
             totalDecline = false;
    } shown;

    // Roll-over, exemption and deferral.
    YesNo rollOver;          // the gain or loss is eligible for a roll-over
    YesNo marriageBreakdown; // the roll-over results from a marriage breakdown
    YesNo scripForScrip;
    bool fifteenYearExemption = false;

    // A right created or another capital receipt: the proceeds and incidental costs.
    Extended receiptProceeds = 0;
    Extended receiptCosts = 0;

    TrustComponents trust;
    // An event made by the trade import: "FILE|SALE LINE|PARCEL FILE:LINE"; empty otherwise.
    std::string importSource;
    EventResults results;
    EventChoices choices;

    // The description holds more than blanks.
    bool Described() const { return !TrimBlanks(name).empty(); }
    bool HasType() const { return !typeCode.empty(); }
};

// What a screen shows for an event's asset: its name, or "No Asset Selected" when it is blank.
inline constexpr const char* kNoAssetSelected = "No Asset Selected";
std::string AssetNameText(std::string_view name);

// The fields of an event that a refusal can name, for the screen to put the cursor in.
enum class EventField {
    None,
    Name,
    AssetType,
    AcquisitionDate,
    CostBaseDate,
    RolledOverDate,
    DeceasedEstate,
    AcquiredAfterCutOff,
    SectionTwoIndexed,
    SectionTwoNonIndexed,
    SectionTwoReduced,
    CostElements,
    Payments,
    AdjustmentGrid,
    EventDate,
    EventAfterCutOff,
    Proceeds,
    DepreciatingCost,
    TaxableUse,
    SumOfReductions,
    TotalDecline,
    RollOverYes,
    MarriageBreakdownYes,
    ScripForScripYes,
    FifteenYearExemption,
    ReceiptProceeds,
};

} // namespace cgt
