#include "cgt/rules/payment_checks.h"

#include "base/text.h"
#include "cgt/rules/event_dates.h"
#include "cgt/rules/event_messages.h"

namespace cgt {

namespace {

bool Present(const std::string& cell) {
    return !TrimBlanks(cell).empty();
}

const char* RowRefusal(const CellTable& rows, const Event& event, int row, PaymentKind kind) {
    const std::optional<DateTime> d = ParseDate(rows.Cell(0, row));
    if (Precedes(d, event.acquisitionDate.Date())) return msg::kReceiptBeforeAcquisition;
    if (const auto costBase = event.costBaseDate.Date(); d && costBase && *costBase >= *d)
        return msg::kReceiptBeforeCostBaseDate;
    const bool shares = kind == PaymentKind::Shares;
    const bool checked = Present(rows.Cell(shares ? int(spAmount) : int(tpDescription), row));
    if (!((!d && !checked) || (Present(rows.Cell(0, row)) && checked)))
        return msg::kIncompleteElement;
    if (shares && (IsBefore(d, CgtStartDate()) ||
                   IsBefore(ParseDate(rows.Cell(spReceiptDate, row)), CgtStartDate())))
        return msg::kEventBeforeCgt;
    return nullptr;
}

} // namespace

std::optional<Refusal> CheckPayments(const CellTable& rows, const Event& event, PaymentKind kind) {
    if (!event.Described()) return std::nullopt;
    for (int row = 1; row < rows.RowCount(); ++row)
        if (const char* message = RowRefusal(rows, event, row, kind))
            return Refusal{message, EventField::Payments, row, 0};
    return std::nullopt;
}

std::optional<Refusal> CheckAdjustmentDates(const CellTable& grid) {
    for (int row = 1; row < grid.RowCount(); ++row)
        for (int col = acSortDate; col <= acEventDate; ++col)
            if (IsBefore(ParseDate(grid.Cell(col, row)), CgtStartDate()))
                return Refusal{msg::kEventBeforeCgt, EventField::AdjustmentGrid, row, 0};
    return std::nullopt;
}

} // namespace cgt
