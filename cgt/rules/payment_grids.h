#pragma once
// The grids of the non-assessable payments: their columns, how Next orders their rows,
// and the assistance the trust payment grid gives a row from its date of payment.

#include <optional>
#include <string_view>

#include "cgt/rules/adjustment_worksheet.h"
#include "controls/core/cell_table.h"

namespace cgt {

// Payment grid columns: shares, then trust interests.
enum SharePaymentColumn : int {
    spEventDate,
    spReceiptDate,
    spDescription,
    spAmount,
    spExcluded,
    spComments,
    kSharePaymentColumns
};
enum TrustPaymentColumn : int {
    tpPaymentDate,
    tpEventDate,
    tpDescription,
    tpTotal,
    tpConcession,
    tpTaxFree,
    tpExempted,
    tpDeferred,
    kTrustPaymentColumns
};

// The column descriptions of a payment grid.
const StringList& PaymentGridDisplay(PaymentKind kind);
// The sort keys Next orders the rows by: shares by event date and date of receipt, trust
// interests by date of payment.
std::string_view PaymentSortKeys(PaymentKind kind);

// What the payment screens show of the payments' CGT event and asset type.
inline constexpr const char* kSharePaymentEvent = "G1 - Capital payment for shares";
inline constexpr const char* kTrustPaymentEvent = "E4 - Capital payment for trust interest";
inline constexpr const char* kSharePaymentEventCode = "G1";
inline constexpr const char* kTrustPaymentEventCode = "E4";
inline constexpr const char* kPaymentAssetTypes[] = {
    "OA - Active asset - Other asset or CGT event",
    "ON - Non-active asset - Other asset CGT event",
};
inline constexpr const char* kPaymentAssetTypeCode = "ON";

// Row `row` of the trust payment grid from its date of payment: the derived CGT event date is
// written, and the amounts that a payment of that date cannot hold are emptied. Nothing, and the
// derived date emptied, when the row has no valid date of payment.
std::optional<TrustRowRules> AssistTrustRow(CellTable& rows, int row);
// Every row, as the payments are stored.
void AssistTrustRows(CellTable& rows);

} // namespace cgt
