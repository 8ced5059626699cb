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

} // namespace cgt::msg
