#include "cgt/rules/adjustment_worksheet.h"

#include <algorithm>
#include <map>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/index_numbers.h"

namespace cgt {

namespace {

constexpr int kShareStrings = 6;
constexpr int kTrustStrings = 8;
constexpr int kAmountDecimals = 2;
constexpr int kFactorDecimals = 3;
constexpr const char* kProcessed = "*";

DateTime Day(int year, int month, int day) {
    return *EncodeDate(year, month, day);
}

// A date of the row's texts, two-digit years read against the current year.
std::optional<DateTime> DateOf(std::string_view text) {
    return ParseDate(text, CurrentYear());
}

Extended Number(std::string_view text) {
    return TextToFloat(TrimBlanks(text), 0);
}

std::string Cell(Extended value) {
    return WorksheetCellText(value, kAmountDecimals);
}

// One payment of the list, read by its kind.
struct Payment {
    DateTime eventDate = 0;
    std::string received; // date of receipt (shares) or of payment (trust interests)
    Extended amount = 0;  // shares
    Extended excluded = 0;
    Extended concession = 0, taxFree = 0, deferred = 0; // trust interests
};

// The payments with a CGT event date, in list order.
std::vector<Payment> ReadPayments(const AdjustmentInputs& in) {
    std::vector<Payment> payments;
    const std::size_t per = static_cast<std::size_t>(PaymentStrings(in.kind));
    for (std::size_t i = 0; i + per <= in.event.payments.size(); i += per) {
        const std::string* s = in.event.payments.data() + i;
        Payment p;
        if (in.kind == PaymentKind::Shares) {
            const auto date = DateOf(s[0]);
            if (!date) continue;
            p.eventDate = *date;
            p.received = s[1];
            p.amount = Number(s[3]);
            p.excluded = Number(s[4]);
        } else {
            // The event date follows from the date of payment; the stored one serves a row
            // whose date of payment does not convert.
            const auto paid = DateOf(s[0]);
            const auto stored = DateOf(s[1]);
            if (!paid && !stored) continue;
            p.eventDate = paid ? TrustPaymentEventDate(*paid) : *stored;
            p.received = s[0];
            p.concession = Number(s[4]);
            p.taxFree = Number(s[5]);
            p.deferred = Number(s[7]);
        }
        payments.push_back(std::move(p));
    }
    return payments;
}

bool Earlier(const AdjustmentRow& a, const AdjustmentRow& b) {
    if (a.sortDate != b.sortDate) return a.sortDate < b.sortDate;
    return a.cells[acCode] < b.cells[acCode];
}

// Sorts by date, then code, keeping the order of equal rows, moving each row once.
void SortRows(std::vector<AdjustmentRow>& rows) {
    if (std::is_sorted(rows.begin(), rows.end(), Earlier)) return;
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return Earlier(rows[a], rows[b]); });
    std::vector<AdjustmentRow> sorted;
    sorted.reserve(rows.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

AdjustmentRow DatedRow(DateTime date, std::string description, std::string code) {
    AdjustmentRow row;
    row.sortDate = date;
    row.cells[acSortDate] = FormatDate(date);
    row.cells[acDescription] = std::move(description);
    row.cells[acCode] = std::move(code);
    return row;
}

// The base date (the rolled-over acquisition date when it converts, else the acquisition date)
// and the later of the acquisition date and the cost base date.
struct Dates {
    std::optional<DateTime> base, rolledOver, costBase;
};
Dates ReadDates(const Event& g) {
    Dates d;
    d.rolledOver = DateOf(g.rolledOverDate.text);
    d.base = d.rolledOver ? d.rolledOver : DateOf(g.acquisitionDate.text);
    const auto acquired = DateOf(g.acquisitionDate.text);
    const auto costBase = DateOf(g.costBaseDate.text);
    if (acquired && costBase)
        d.costBase = std::max(*acquired, *costBase);
    else
        d.costBase = costBase ? costBase : acquired;
    return d;
}

// The sums that the passes keep: [this income year, prior income years].
struct Gains {
    std::array<Extended, 2> discount{}, indexed{};
};

class Passes {
public:
    Passes(const AdjustmentInputs& in, AdjustmentWorksheet& ws) : in_(in), ws_(ws) {}
    void Run();

private:
    bool Pass();
    void AddCost(AdjustmentRow& row, Extended eventIndex);
    void Carry(DateTime p, const CostBases& adjusted);
    void Publish(DateTime p, const CostBases& adjusted);

    const AdjustmentInputs& in_;
    AdjustmentWorksheet& ws_;
    std::vector<AdjustmentRow> done_;    // processed, in grid order
    std::vector<AdjustmentRow> pending_; // still to come, the next row last
    std::size_t paymentsLeft_ = 0;
    Gains gains_;
    bool noIndexation_ = false;
    bool noDiscount_ = false;
    bool trust_ = false;
};

void Passes::AddCost(AdjustmentRow& row, Extended eventIndex) {
    auto& c = row.cells;
    const std::string& code = c[acCode];
    const Extended amount = Number(c[acAmount]);
    const bool all = code != "1A" && code != "1B" && code != "1C";
    if (all || code == "1A" || code == "1B") {
        const Extended net = RoundHalfEven(amount - Number(c[acExcluded]));
        if (all || code == "1B") c[acNet] = Cell(net);
        if (all || code == "1A") {
            const auto date = DateOf(c[acEffectiveDate]);
            const Extended own = date ? GetIndexNumber(*date) : eventIndex;
            const double factor = IndexationFactor(eventIndex, own);
            c[acIndex] = Cell(own);
            c[acEventIndex] = Cell(eventIndex);
            c[acFactor] = WorksheetCellText(factor, kFactorDecimals);
            c[acIndexed] = Cell(IndexedAmount(net, factor));
        }
    }
    if (all || code == "1C") c[acReduced] = Cell(amount - Number(c[acReducedExcluded]));
    c[acProcessed] = kProcessed;
}

// One payment's pass; false when the passes are over.
bool Passes::Pass() {
    if (paymentsLeft_ == 0) return false; // no receipt and no cost row above the last one
    // The rows down to the next receipt.
    std::size_t first = done_.size();
    while (!pending_.empty() && pending_.back().cells[acEventDate].empty()) {
        done_.push_back(std::move(pending_.back()));
        pending_.pop_back();
    }
    AdjustmentRow payment = std::move(pending_.back());
    pending_.pop_back();
    --paymentsLeft_;
    const auto& pc = payment.cells;
    const Extended receipt = Number(pc[acReceipt]);
    const Extended costAdjustment = receipt - Number(pc[acReceiptCostBase]);
    const Extended reducedAdjustment = receipt - Number(pc[acReceiptReduced]);
    payment.cells[acProcessed] = kProcessed;
    const DateTime p = DateOf(pc[acEventDate]).value_or(0);
    const Extended eventIndex = GetIndexNumber(p);

    CostBases total;
    for (std::size_t i = first; i < done_.size(); ++i) {
        AdjustmentRow& row = done_[i];
        if (row.cells[acEffectiveDate].empty()) continue;
        AddCost(row, eventIndex);
        const std::string& code = row.cells[acCode];
        if (code != "1B" && code != "1C") total.indexed += Number(row.cells[acIndexed]);
        if (code != "1A" && code != "1C") total.nonIndexed += Number(row.cells[acNet]);
        if (code != "1A" && code != "1B") total.reduced += Number(row.cells[acReduced]);
    }
    const bool stop = total.nonIndexed <= 0 && total.indexed <= 0 && total.reduced <= 0 &&
                      costAdjustment <= 0 && reducedAdjustment <= 0;
    if (stop) {
        done_.push_back(std::move(payment));
        return false;
    }

    // The rows of the pass dated P in their sorted place: totals "9", the receipt "B", then the
    // adjustments "X" and the adjusted cost base "Y".
    const std::string at = FormatDate(p);
    auto summary = [&](std::string description, const char* code, const CostBases& b) {
        AdjustmentRow row = DatedRow(p, std::move(description), code);
        row.cells[acTotalNonIndexed] = Cell(b.nonIndexed);
        row.cells[acTotalIndexed] = Cell(b.indexed);
        row.cells[acTotalReduced] = Cell(b.reduced);
        row.cells[acProcessed] = kProcessed;
        done_.push_back(std::move(row));
    };
    summary((trust_ ? "Cost bases at " : "Total Cost bases at ") + at, "9", total);
    done_.push_back(std::move(payment));
    summary("Receipt adjustments at " + at, "X",
            {costAdjustment, costAdjustment, reducedAdjustment});

    // What a receipt exceeds is a gain of the income year in which it was received.
    const int year = p < Day(2003, 7, 1) ? 1 : 0;
    CostBases adjusted{total.nonIndexed - costAdjustment, total.indexed - costAdjustment,
                       total.reduced - reducedAdjustment};
    if (adjusted.nonIndexed < 0) {
        gains_.discount[year] -= adjusted.nonIndexed;
        adjusted.nonIndexed = 0;
        if (year == 0) ws_.results.gainThisYear = true;
    }
    if (adjusted.indexed < 0) {
        gains_.indexed[year] -= adjusted.indexed;
        adjusted.indexed = 0;
        if (year == 0) ws_.results.gainThisYear = true;
    }
    if (adjusted.reduced < 0) adjusted.reduced = 0;
    summary("Adjusted Costbase " + at, "Y", adjusted);
    Carry(p, adjusted);
    Publish(p, adjusted);
    return true;
}

// The adjusted bases carried to the next pass, from the day after the payment. A share's
// indexed base is indexed from that day's quarter, a trust interest's from the payment's.
void Passes::Carry(DateTime p, const CostBases& adjusted) {
    const std::string at = FormatDate(p);
    const DateTime next = p + 1;
    const std::string effective = FormatDate(trust_ ? p : next);
    const std::pair<std::string, Extended> carried[] = {
        {"Cost base - Indexed at " + at, adjusted.indexed},
        {"Cost base - non-indexed  at " + at, adjusted.nonIndexed},
        {"Reduced cost base at " + at, adjusted.reduced},
    };
    const char* codes[] = {"1A", "1B", "1C"};
    for (int i = 0; i < 3; ++i) {
        AdjustmentRow row = DatedRow(next, carried[i].first, codes[i]);
        row.cells[acEffectiveDate] = effective;
        row.cells[acAmount] = Cell(carried[i].second);
        // After the rows of the same date and code: pending_ runs backwards.
        const auto at = std::lower_bound(
            pending_.begin(), pending_.end(), row,
            [](const AdjustmentRow& a, const AdjustmentRow& b) { return Earlier(b, a); });
        pending_.insert(at, std::move(row));
    }
}

void Passes::Publish(DateTime p, const CostBases& adjusted) {
    AdjustmentResults& r = ws_.results;
    r.published = true;
    r.date = FormatDate(p);
    r.adjusted = {RoundHalfEven(adjusted.nonIndexed), RoundHalfEven(adjusted.indexed),
                  RoundHalfEven(adjusted.reduced)};
    for (int y = 0; y < 2; ++y) {
        r.discountGain[y] = RoundHalfEven(gains_.discount[y]);
        r.indexedGain[y] = RoundHalfEven(gains_.indexed[y]);
        r.otherGain[y] = 0;
    }
    r.indexedEnabled = !noIndexation_;
    r.discountEnabled = !noDiscount_;
    if (noIndexation_) r.indexedGain = {0, 0};
    if (noDiscount_) {
        r.otherGain = r.discountGain;
        r.discountGain = {0, 0};
    }
}

void Passes::Run() {
    trust_ = in_.kind == PaymentKind::TrustInterests;
    const Event& g = in_.event;
    const Dates dates = ReadDates(g);
    const auto event = DateOf(g.eventDate.text);
    const bool held = !event || YearsHeld(dates.base.value_or(0), *event) > 0;
    noIndexation_ = IndexationWithheld(g, dates.base, dates.rolledOver);
    noDiscount_ = (event && *event < Day(1999, 9, 21)) || g.eventAfterCutOff.no;
    if (!held) noIndexation_ = noDiscount_ = true;
    ws_.results = AdjustmentResults{};

    pending_.assign(std::make_move_iterator(ws_.rows.rbegin()),
                    std::make_move_iterator(ws_.rows.rend()));
    done_.reserve(ws_.rows.size() + 6 * pending_.size());
    ws_.rows.clear();
    paymentsLeft_ = static_cast<std::size_t>(
        std::count_if(pending_.begin(), pending_.end(),
                      [](const AdjustmentRow& r) { return !r.cells[acEventDate].empty(); }));
    while (Pass()) {
    }
    ws_.rows = std::move(done_);
    ws_.rows.insert(ws_.rows.end(), std::make_move_iterator(pending_.rbegin()),
                    std::make_move_iterator(pending_.rend()));
    SortRows(ws_.rows);
}

} // namespace

int PaymentStrings(PaymentKind kind) {
    return kind == PaymentKind::Shares ? kShareStrings : kTrustStrings;
}

DateTime TrustPaymentEventDate(DateTime payment) {
    if (payment <= Day(1998, 6, 30)) return payment;
    int y = 0, m = 0, d = 0;
    DecodeDate(payment, y, m, d);
    return Day(m > 6 ? y + 1 : y, 6, 30);
}

TrustRowRules TrustRowRulesFor(DateTime payment) {
    TrustRowRules r;
    r.eventDate = TrustPaymentEventDate(payment);
    r.concessionLocked = payment < Day(1999, 9, 21);
    r.concessionMessage = payment > Day(2001, 6, 30);
    r.concessionEmptied = r.concessionLocked || r.concessionMessage;
    r.taxFreeLocked = payment < Day(1986, 12, 18);
    r.exemptedLocked = payment < Day(1990, 7, 1);
    return r;
}

const StringList& AdjustmentColumns() {
    static const StringList columns = {
        WorkedColumn("Sort date", ctDate, 10),
        WorkedColumn("Incurred / effective date", ctDate, 10),
        WorkedColumn("Date paid", ctDate, 10),
        WorkedColumn("Date of CGT event", ctDate, 10),
        WorkedColumn("Description of transaction", ctText, 60),
        WorkedColumn("Cost element", ctText, 4),
        WorkedColumn("CGT event", ctText, 4),
        WorkedColumn("Expense / cost amount", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Amount to be excluded from cost base (not indexed)", ctNumber, 10,
                     kAmountDecimals),
        WorkedColumn("Net amount cost base (not indexed)", ctNumber, 10, kAmountDecimals),
        WorkedColumn("CPI for effective date quarter", ctNumber, 10, kAmountDecimals),
        WorkedColumn("CPI for CGT event quarter", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Indexation factor", ctNumber, 10, kFactorDecimals),
        WorkedColumn("Costbase indexed", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Amount to be excluded from reduced costbase", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Reduced costbase", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Capital receipt amount", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Capital receipt amount for costbase adj", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Capital receipt amount for reduced costbase adj", ctNumber, 10,
                     kAmountDecimals),
        WorkedColumn("Total costbase (not indexed) at time of CGT event", ctNumber, 10,
                     kAmountDecimals),
        WorkedColumn("Total costbase (indexed) at time of CGT event", ctNumber, 10,
                     kAmountDecimals),
        WorkedColumn("Total reduced costbase at time of CGT event", ctNumber, 10, kAmountDecimals),
        WorkedColumn("Processed", ctText, 1),
    };
    return columns;
}

CellTable AdjustmentWorksheet::Grid() const {
    CellTable table;
    table.SetColCount(kAdjustmentColumns);
    table.SetDisplay(AdjustmentColumns());
    StringList list;
    list.reserve(rows.size() * kAdjustmentColumns);
    for (const AdjustmentRow& row : rows)
        list.insert(list.end(), row.cells.begin(), row.cells.end());
    table.LoadRows(list);
    return table;
}

void FillAdjustmentWorksheet(const AdjustmentInputs& in, AdjustmentWorksheet& ws) {
    ws.kind = in.kind;
    ws.rows.clear();
    const Event& g = in.event;
    const Dates dates = ReadDates(g);
    ws.baseDate = dates.rolledOver                 ? g.rolledOverDate.text
                  : DateOf(g.acquisitionDate.text) ? g.acquisitionDate.text
                                                   : std::string();
    const std::vector<Payment> payments = ReadPayments(in);
    DateTime last = 0;
    for (const Payment& p : payments)
        last = std::max(last, p.eventDate);

    // The section 2 cost bases.
    const CostBases& s2 = g.sectionTwo;
    if (s2.indexed > 0 || s2.nonIndexed > 0 || s2.reduced > 0) {
        const DateTime at = dates.costBase.value_or(0);
        const bool trust = in.kind == PaymentKind::TrustInterests;
        const std::pair<const char*, Extended> bases[] = {
            {"Cost base - indexed", s2.indexed},
            {trust ? "Cost base - discount/non-indexed" : "Cost base - non-indexed", s2.nonIndexed},
            {"Reduced cost base", s2.reduced},
        };
        const char* codes[] = {"1A", "1B", "1C"};
        for (int i = 0; i < 3; ++i) {
            AdjustmentRow row = DatedRow(at, bases[i].first, codes[i]);
            row.cells[acEffectiveDate] = row.cells[acSortDate];
            row.cells[acAmount] = Cell(bases[i].second);
            ws.rows.push_back(std::move(row));
        }
    }
    // The cost elements incurred up to the last payment.
    for (const CostElement& e : g.elements) {
        if (!e.entered) continue;
        const auto incurred = DateOf(e.dateIncurred);
        if (!incurred || *incurred > last) continue;
        AdjustmentRow row = DatedRow(*incurred, e.description, e.code);
        row.cells[acEffectiveDate] = row.cells[acSortDate];
        row.cells[acDatePaid] = e.datePaid;
        row.cells[acAmount] = Cell(e.amount);
        if (e.code != "3B") row.cells[acExcluded] = Cell(e.excluded);
        if (e.code != "3A") row.cells[acReducedExcluded] = Cell(e.excluded);
        ws.rows.push_back(std::move(row));
    }
    // One receipt per CGT event date, at the last payment of that date.
    std::map<DateTime, Payment> receipts;
    for (const Payment& p : payments) {
        Payment& r = receipts[p.eventDate];
        r.eventDate = p.eventDate;
        r.received = p.received;
        r.amount += p.amount;
        r.excluded += p.excluded;
        r.concession += p.concession;
        r.taxFree += p.taxFree;
        r.deferred += p.deferred;
    }
    for (const auto& [date, p] : receipts) {
        AdjustmentRow row = DatedRow(date, "Capital receipt", "B");
        auto& c = row.cells;
        c[acEventDate] = c[acSortDate];
        c[acDatePaid] = p.received;
        c[acEvent] = in.event.paymentEventCode;
        if (in.kind == PaymentKind::Shares) {
            c[acReceipt] = Cell(p.amount);
            c[acReceiptCostBase] = c[acReceiptReduced] = Cell(p.excluded);
        } else {
            c[acReceipt] = "0";
            c[acReceiptCostBase] = FormatGeneral(-(p.concession + p.deferred));
            c[acReceiptReduced] = FormatGeneral(-(p.concession + p.taxFree + p.deferred));
        }
        ws.rows.push_back(std::move(row));
    }
    SortRows(ws.rows);
}

void AdjustCostBase(const AdjustmentInputs& in, AdjustmentWorksheet& ws) {
    Passes(in, ws).Run();
}

AdjustmentWorksheet ComputeAdjustmentWorksheet(const AdjustmentInputs& in) {
    AdjustmentWorksheet ws;
    FillAdjustmentWorksheet(in, ws);
    AdjustCostBase(in, ws);
    return ws;
}

bool HasDatedPayments(const Event& event, PaymentKind kind) {
    return !ReadPayments({kind, event}).empty();
}

bool AdjustmentStored(const Event& event) {
    const EventResults& r = event.results;
    if (!event.adjustedDate.empty()) return true;
    for (Extended amount :
         {event.adjusted.nonIndexed, event.adjusted.indexed, event.adjusted.reduced,
          r.paymentDiscountGain[0], r.paymentDiscountGain[1], r.paymentIndexedGain[0],
          r.paymentIndexedGain[1], r.paymentOtherGain[0], r.paymentOtherGain[1]})
        if (AmountEntered(amount)) return true;
    return r.paymentGainThisYear;
}

} // namespace cgt
