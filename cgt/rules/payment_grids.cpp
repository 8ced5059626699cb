#include "cgt/rules/payment_grids.h"

#include <string>
#include <utility>

#include "base/dates.h"

namespace cgt {

namespace {

// Amounts in dollars and cents, never negative.
constexpr const char* kAmountColumn = "|1|1|12|0|F|F|2|F|0|0";
// A worked-out or hidden column: not reached by Tab, read-only.
constexpr const char* kDerivedDate = "|0|2|10|0|T|F|0||0|0|0|0|0|T|T";
constexpr const char* kHiddenAmount = "|1|1|12|0|T|F|2|F|0|0|0|0|0|F|T";

} // namespace

const StringList& PaymentGridDisplay(PaymentKind kind) {
    static const StringList shares = {
        "Date of CGT event|0|2|10",
        "Date of receipt|0|2|10",
        "Description|0|0|40",
        std::string("Amount") + kAmountColumn,
        std::string("Amount excluded") + kAmountColumn,
        "Comments|0|0|40",
    };
    static const StringList trusts = {
        "Date of Payment|0|2|10",
        std::string("Date of CGT event") + kDerivedDate,
        "Description|0|0|40",
        std::string("Total non- assessable amount") + kHiddenAmount,
        std::string("CGT concession amounts") + kAmountColumn,
        std::string("Tax\rfree\ramounts") + kAmountColumn,
        std::string("Tax\rexempted\ramounts") + kAmountColumn,
        std::string("Tax\rdeferred\ramounts") + kAmountColumn,
    };
    return kind == PaymentKind::Shares ? shares : trusts;
}

std::string_view PaymentSortKeys(PaymentKind kind) {
    return kind == PaymentKind::Shares ? "0,1" : "0";
}

std::optional<TrustRowRules> AssistTrustRow(CellTable& rows, int row) {
    const std::optional<DateTime> paid = ParseDate(rows.Cell(tpPaymentDate, row));
    if (!paid) {
        if (!rows.Cell(tpEventDate, row).empty()) rows.SetCell(tpEventDate, row, {});
        return std::nullopt;
    }
    const TrustRowRules rules = TrustRowRulesFor(*paid);
    if (std::string date = FormatDate(rules.eventDate); rows.Cell(tpEventDate, row) != date)
        rows.SetCell(tpEventDate, row, std::move(date));
    const auto empty = [&](int col) {
        if (!rows.Cell(col, row).empty()) rows.SetCell(col, row, {});
    };
    if (rules.concessionEmptied) empty(tpConcession);
    if (rules.taxFreeLocked) empty(tpTaxFree);
    if (rules.exemptedLocked) empty(tpExempted);
    return rules;
}

void AssistTrustRows(CellTable& rows) {
    for (int row = 1; row < rows.RowCount(); ++row)
        AssistTrustRow(rows, row);
}

} // namespace cgt
