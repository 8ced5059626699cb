#pragma once
// The messages with which the event screens refuse their entries.

namespace cgt::msg {

// Registration of an event.
inline constexpr const char* kNoDescription = "You must enter a description for this asset/event.";
inline constexpr const char* kAcquiredBeforeCgt =
    "Check your date. You cannot enter a date earlier than 20/09/1985. \r\n"
    "Assets acquired before 20 September 1985 are generally not subject to CGT although\r\n"
    "there is an exception for some shares and trust interests. If your asset falls within\r\n"
    "this exception, you should manually calculate your capital gain or capital loss";
inline constexpr const char* kNoType =
    "You must select the Asset/Event type from the drop down box.";
inline constexpr const char* kNoAcquisitionDate = "You must enter the acquisition date.";
inline constexpr const char* kNothingToRegister =
    "You must select a curent worksheet or enter a description for this asset/event.";

// Rights created in another entity and other capital receipts.
inline constexpr const char* kNoReceiptDescription = "Please enter a description for this receipt.";
inline constexpr const char* kNoAmount = "Please enter amount.";
inline constexpr const char* kNoRollOverAnswer =
    "You must advise if the gain or loss for this event can be deferred";
inline constexpr const char* kNoYesNoAnswer = "You must select either 'Yes' or 'No'.";
inline constexpr const char* kEventBeforeCgt =
    "Check your date. You cannot enter a date earlier than 20/09/1985. \r\n"
    "Assets acquired before 20 September 1985 are generally not subject to CGT although there\r\n"
    "is an exception for some shares and trust interests.  If your asset falls within this "
    "exception,\r\n"
    "you should manually calculate your capital gain or capital loss";

// The cost base already known (section 2).
inline constexpr const char* kNoRollOverCostBase =
    "You must enter the cost base of the asset at the time of roll-over.";
inline constexpr const char* kZeroNonIndexedCostBase =
    "You cannot enter a value of zero. If you do not wish to use the discount method then leave "
    "blank.";
inline constexpr const char* kZeroIndexedCostBase =
    "You cannot enter a value of zero. If you do not wish to use indexation then leave blank.";
inline constexpr const char* kNoAcquisitionTimeAnswer =
    "If acquisition date was 21/09/1999, you must answer Yes or No.";
inline constexpr const char* kNoDeceasedEstateAnswer =
    "If acquisition date is present, you must advise if asset was inherited.";
inline constexpr const char* kNoRollOverReducedCostBase =
    "You must enter the reduced cost base of the asset at the time of roll-over.";
inline constexpr const char* kRolledOverAfterAcquisition =
    "Check dates. The date of acquisition of the asset that was rolled over\r"
    "cannot be later than the date you acquired the current asset.";
inline constexpr const char* kIndexedCostBaseAfterCutOff =
    "Cannot have a Indexed cost base if the date original asset acquired was after 21/09/1999.";
inline constexpr const char* kNoCostBaseDate =
    "You must enter the effective date of the cost base and reduced cost base.";
inline constexpr const char* kCostBaseBeforeAcquisition =
    "The effective date of the cost base cannot be earlier than the date of acquisition.";

// The cost elements (section 3).
inline constexpr const char* kElementOneAfterCostBase =
    "If you completed Section 2, Cost element 1 can only be entered if purchased by instalments.";
inline constexpr const char* kExpenseBeforeAcquisition =
    "Check dates. An expense must be incurred no earlier than the acquisition date.";
inline constexpr const char* kExpenseBeforeCostBaseDate =
    "Check dates. An expense must be incurred no earlier than the effective date entered "
    "previously..";
inline constexpr const char* kExclusionExceedsAmount =
    "Check Cost Base adjustment amount entered.  Amount entered must not exceed original amount "
    "already entered.";
inline constexpr const char* kIncompleteElement =
    "If either dates and amount are present then all must be completed.";
inline constexpr const char* kAdjustmentNotNegative =
    "If cost element 6C or 6R is present, amount must be entered as a negative.";
inline constexpr const char* kNegativeElementAmount =
    "Check the amount entered. Only cost elements 6C and 6R are entered as a negative amount.";

// The CGT event and its capital proceeds or termination value (section 5).
inline constexpr const char* kEventBeforeExpense =
    "The date asset disposed of cannot be earlier than date an expense was incurred.";
inline constexpr const char* kNoEventDate = "You must enter the date of the CGT event.";
inline constexpr const char* kEventBeforeAcquisition =
    "Check dates. A CGT event cannot occur prior to acquisition.";
inline constexpr const char* kEventBeforeCostBaseDate =
    "Check dates. You cannot have a CGT event date prior to cost base effective date.";
inline constexpr const char* kNoProceeds = "You must enter the proceeds for this event.\r"
                                           "If gain or loss is being deferred you can enter 0";
inline constexpr const char* kNoEventTimeAnswer =
    "If CGT event date was 21/09/1999, you must answer Yes or No.";
inline constexpr const char* kDepreciatingEntriesMissing =
    "You must enter amounts in \"Cost\", \"Termination value\" and \"Date of CGT event\" before "
    "moving on.";
inline constexpr const char* kDepreciatingUseMissing =
    "You must fill in either \"Taxable use percentage\" or both \"Sum of reductions\" and \"Total "
    "decline\" before moving on.";
inline constexpr const char* kDepreciatingIncomplete =
    "Asset cost, Termination value and date of the CGT event must all be entered.";
inline constexpr const char* kNoTaxableUse =
    "Either taxable use percentage or sum of reductions and total decline must be entered.";
inline constexpr const char* kTaxableUseAndDecline =
    "Only one of taxable use percentage or sum of reductions and total decline can be present.";
inline constexpr const char* kDeclinePairIncomplete =
    "Both sum of reductions and total decline amount are required.";
inline constexpr const char* kDeclineBelowReductions =
    "Total decline amount must be greater than or equal to the sum of reductions amount.";

// Roll-over, exemption and deferral (section 6).
inline constexpr const char* kExemptionNotActive =
    "Asset must be of an Active type to claim 15 year active asset exemption.";

} // namespace cgt::msg
