#include "cgt/rules/gain_worksheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/asset_types.h"
#include "cgt/rules/event_dates.h"
#include "cgt/rules/index_numbers.h"
#include "cgt/rules/shown_values.h"
#include "controls/core/tax_text.h"

namespace cgt {

namespace {
// Asset register columns.
enum RegisterColumn : int {
    rcEventDate,
    rcRelevantDate,
    rcDatePaid,
    rcDescription,
    rcCode,
    rcEvent,
    rcAmount,
    rcCostBaseAdjustment,
    rcReducedAdjustment,
    rcDeferred,
    rcComments,
    kRegisterColumns
};

// CGT worksheet columns.
enum WorksheetColumn : int {
    wcDate,
    wcDescription,
    wcAmount,
    wcExcluded,
    wcNet,
    wcNetIndexed,
    wcIndex,
    wcEventIndex,
    wcFactor,
    wcCostBase,
    wcReducedDeduction,
    wcReduced,
    kWorksheetColumns
};

constexpr int kCellWidth = 10;
constexpr int kAmountDecimals = 2;
constexpr int kFactorDecimals = 3;
// The event index number of a worksheet without an event date.
constexpr Extended kUndatedEventIndex = 123.4L;
// The index number and factor of a cost base held less than twelve months.
constexpr Extended kUnindexedIndex = 100;

CellTable MakeTable(const StringList& columns) {
    CellTable table;
    table.SetColCount(static_cast<int>(columns.size()));
    table.SetDisplay(columns);
    return table;
}

// Empty tables with the grids' columns, made once.
const CellTable& EmptyRegister() {
    static const CellTable table = MakeTable(AssetRegisterColumns());
    return table;
}
const CellTable& EmptyWorksheet() {
    static const CellTable table = MakeTable(WorksheetColumns());
    return table;
}

// The next data row of a table being filled from the top: `used` rows are filled.
int NextRow(CellTable& table, int& used) {
    const int row = ++used;
    if (row >= table.RowCount()) table.AppendRow();
    return row;
}

} // namespace

// A whole number, as most amounts are, is written directly: the same text without the decimal
// expansion.
std::string WorksheetCellText(Extended value, int decimals) {
    if (!(std::fabs(value) < 1e15L) || value != std::trunc(value))
        return FixedToText(value, kCellWidth, decimals);
    char digits[32];
    const auto whole = static_cast<long long>(value);
    const auto end = std::to_chars(digits, digits + sizeof digits, whole).ptr;
    std::string text(digits, end);
    text += '.';
    text.append(static_cast<std::size_t>(decimals), '0');
    if (text.size() < static_cast<std::size_t>(kCellWidth))
        text.insert(0, static_cast<std::size_t>(kCellWidth) - text.size(), ' ');
    return text;
}
namespace {

std::string AmountCell(Extended value) {
    return WorksheetCellText(value, kAmountDecimals);
}
std::string IndexCell(Extended value) {
    return WorksheetCellText(value, kAmountDecimals);
}
std::string FactorCell(double factor) {
    return WorksheetCellText(factor, kFactorDecimals);
}

std::string NotADateMessage(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is not a valid date";
    return message;
}

const DateTime& CutOffDay() { // 21/09/1999: indexation ends, the discount begins
    static const DateTime day = *EncodeDate(1999, 9, 21);
    return day;
}

bool AnyAbove(const CostBases& b, Extended floor) {
    return b.nonIndexed > floor || b.indexed > floor || b.reduced > floor;
}

bool IsEmptyAmount(Extended amount) {
    return !(std::fabs(amount) >= 0.001L);
}

} // namespace

int YearsHeld(DateTime base, DateTime event) {
    int yb = 0, mb = 0, db = 0, ye = 0, me = 0, de = 0;
    DecodeDate(base, yb, mb, db);
    DecodeDate(event, ye, me, de);
    int years = ye - yb;
    if (me < mb || (me == mb && de <= db)) --years;
    return years;
}

bool IndexationWithheld(const Event& in, std::optional<DateTime> base,
                        std::optional<DateTime> rolledOver) {
    const DateTime cutOff = CutOffDay();
    const DateTime b = base.value_or(0);
    return (b > cutOff && !rolledOver) || (in.withholdIndexation && !rolledOver) ||
           (rolledOver && *rolledOver > cutOff) || in.acquiredAfterCutOff.yes;
}

namespace {

// Clears a result column: the method is not available.
void ClearColumn(GainWorksheet& ws, int column) {
    ws.columns[column] = ResultColumn{0, 0, 0, false};
    ws.depreciating[column] = DepreciatingColumn{};
}

class Calculation {
public:
    Calculation(const Event& in, GainWorksheet& ws)
        : in_(in), ws_(ws), basis_(ws.basis), year_(CurrentYear()) {}

    bool FillAssetRegister();
    void CalculateGain();

private:
    std::optional<DateTime> Date(std::string_view text) const { return ParseDate(text, year_); }
    bool Fail(std::string_view text) {
        ws_.error = NotADateMessage(text);
        return false;
    }
    bool SettleCostBase();
    void AddCostBaseRegisterRows();
    bool TakeElements();
    void AddProceedsRow();

    void IndexCostBase(bool held);
    void AddElementRows();
    void SumCostBases();
    void StandardResults(bool dated);
    void DepreciatingResults(bool dated);
    void SelectMethods(bool held, bool noIndexation, bool noDiscount);
    void KeepGainOrLoss();
    void Messages();

    const Event& in_;
    GainWorksheet& ws_;
    GainBasis& basis_;
    int year_; // the current year, for two-digit years
    int registerRows_ = 0;
    int worksheetRows_ = 0;
    // The incidental costs of the specific event (element 2B): non-indexed, indexed, reduced.
    CostBases specific_;
};

bool Calculation::SettleCostBase() {
    // A payments pass that published its results has a date even when it left nil bases.
    basis_.adjustedApplies = AnyAbove(in_.adjusted, 0) || Date(in_.adjustedDate).has_value();
    basis_.sectionTwoApplies = !basis_.adjustedApplies && AnyAbove(in_.sectionTwo, 0);
    if (basis_.adjustedApplies) {
        const auto date = Date(in_.adjustedDate);
        if (!date) return Fail(in_.adjustedDate);
        basis_.costBaseDate = *date;
        basis_.costBaseAmounts = in_.adjusted;
    } else if (basis_.sectionTwoApplies) {
        const auto date = Date(in_.costBaseDate.text);
        if (!date) return Fail(in_.costBaseDate.text);
        const auto acquired = Date(in_.acquisitionDate.text);
        basis_.costBaseDate = acquired ? std::max(*acquired, *date) : *date;
        basis_.costBaseAmounts = in_.sectionTwo;
    }
    return true;
}

void Calculation::AddCostBaseRegisterRows() {
    if (!basis_.adjustedApplies && !basis_.sectionTwoApplies) return;
    struct Line {
        const char* label;
        const char* code;
        Extended amount;
    };
    const CostBases& a = basis_.costBaseAmounts;
    const Line lines[] = {
        {basis_.adjustedApplies ? "Adjusted Cost base - indexed" : "Cost base - indexed", "1A",
         a.indexed},
        {basis_.adjustedApplies ? "Adjusted Cost base - discount/non-indexed"
                                : "Cost base - discount/non-indexed",
         "1B", a.nonIndexed},
        {basis_.adjustedApplies ? "Adjusted Reduced cost base" : "Reduced cost base", "1C",
         a.reduced},
    };
    CellTable& t = ws_.assetRegister;
    for (const Line& line : lines) {
        const int r = NextRow(t, registerRows_);
        t.SetCell(rcRelevantDate, r, FormatDate(basis_.costBaseDate));
        t.SetCell(rcDescription, r, line.label);
        t.SetCell(rcCode, r, line.code);
        t.SetCell(rcAmount, r, AmountCell(line.amount));
    }
}

// The element filter: after the adjusted cost base's date when it has one, else from the base
// date on.
bool Calculation::TakeElements() {
    const auto adjustedDate = Date(in_.adjustedDate);
    for (const CostElement& e : in_.elements) {
        if (!e.entered) continue;
        const auto incurred = Date(e.dateIncurred);
        if (!incurred) return Fail(e.dateIncurred);
        bool taken = false;
        if (adjustedDate) {
            taken = *incurred > *adjustedDate;
        } else {
            if (!basis_.base) return Fail(ws_.baseDate);
            taken = *incurred >= *basis_.base;
        }
        if (taken)
            basis_.elements.push_back(
                {static_cast<std::size_t>(&e - in_.elements.data()), *incurred});
    }
    return true;
}

std::string DateText(std::string_view text, int year) {
    const auto date = ParseDate(text, year);
    return date ? FormatDate(*date) : TrimText(text);
}

void Calculation::AddProceedsRow() {
    if (!(in_.proceeds > 0)) return;
    ws_.disposal = true;
    basis_.event = Date(in_.eventDate.text);
    basis_.proceeds = in_.proceeds;
    CellTable& t = ws_.assetRegister;
    const int r = NextRow(t, registerRows_);
    const std::string date = basis_.event ? FormatDate(*basis_.event) : std::string();
    t.SetCell(rcEventDate, r, date);
    t.SetCell(rcRelevantDate, r, date);
    t.SetCell(rcDescription, r, "Capital proceeds");
    t.SetCell(rcCode, r, "O");
    t.SetCell(rcEvent, r, "O");
    t.SetCell(rcAmount, r, AmountCell(in_.proceeds));
    const char* deferred = in_.rollOver.no             ? "N"
                           : in_.marriageBreakdown.yes ? "Y"
                           : in_.marriageBreakdown.no  ? "C"
                                                       : "";
    t.SetCell(rcDeferred, r, deferred);
}

bool Calculation::FillAssetRegister() {
    ws_.assetRegister = EmptyRegister();
    basis_.rolledOver = Date(in_.rolledOverDate.text);
    if (basis_.rolledOver) {
        ws_.baseDate = in_.rolledOverDate.text;
        basis_.base = basis_.rolledOver;
    } else if (const auto acquired = Date(in_.acquisitionDate.text)) {
        ws_.baseDate = in_.acquisitionDate.text;
        basis_.base = acquired;
    }
    if (!SettleCostBase()) return false;
    AddCostBaseRegisterRows();
    if (!TakeElements()) return false;

    CellTable& t = ws_.assetRegister;
    for (const GainBasis::Element& taken : basis_.elements) {
        const CostElement& e = in_.elements[taken.index];
        const int r = NextRow(t, registerRows_);
        t.SetCell(rcRelevantDate, r, FormatDate(taken.incurred));
        t.SetCell(rcDatePaid, r, DateText(e.datePaid, year_));
        t.SetCell(rcDescription, r, e.description);
        t.SetCell(rcCode, r, e.code);
        t.SetCell(rcAmount, r, AmountCell(e.amount));
        if (e.code != "3B" && e.code != "6R")
            t.SetCell(rcCostBaseAdjustment, r, AmountCell(e.excluded));
        if (e.code != "3A" && e.code != "6C")
            t.SetCell(rcReducedAdjustment, r, AmountCell(e.excluded));
        t.SetCell(rcComments, r, e.comments);
    }
    AddProceedsRow();
    return true;
}

// The cost base rows of the worksheet: the indexed one raised by the factor from the cost
// base's quarter to the event's when the asset was held twelve months.
void Calculation::IndexCostBase(bool held) {
    if (!basis_.adjustedApplies && !basis_.sectionTwoApplies) return;
    const bool adjusted = basis_.adjustedApplies;
    const CostBases& a = basis_.costBaseAmounts;
    Extended index = kUnindexedIndex;
    double factor = 1.0;
    if (held) {
        const Extended own = GetIndexNumber(basis_.costBaseDate);
        index = own == 0 ? ws_.eventIndex : own;
        factor = IndexationFactor(ws_.eventIndex, own);
    }
    CellTable& t = ws_.worksheet;
    int r = NextRow(t, worksheetRows_);
    t.SetCell(wcDate, r, FormatDate(basis_.costBaseDate));
    t.SetCell(wcDescription, r, adjusted ? "Adjusted cost base - indexed" : "Cost base - indexed");
    t.SetCell(wcAmount, r, AmountCell(a.indexed));
    t.SetCell(wcNetIndexed, r, AmountCell(a.indexed));
    t.SetCell(wcIndex, r, IndexCell(index));
    t.SetCell(wcEventIndex, r, IndexCell(ws_.eventIndex));
    t.SetCell(wcFactor, r, FactorCell(factor));
    t.SetCell(wcCostBase, r, AmountCell(IndexedAmount(a.indexed, factor)));

    r = NextRow(t, worksheetRows_);
    t.SetCell(wcDescription, r,
              adjusted ? "Adjusted cost base - discount/non-indexed"
                       : "Cost base - discount/non-indexed");
    t.SetCell(wcAmount, r, AmountCell(a.nonIndexed));
    t.SetCell(wcNet, r, AmountCell(a.nonIndexed));

    r = NextRow(t, worksheetRows_);
    t.SetCell(wcDescription, r, adjusted ? "Adjusted reduced cost base" : "Reduced cost base");
    t.SetCell(wcAmount, r, AmountCell(a.reduced));
    t.SetCell(wcReduced, r, AmountCell(a.reduced));
}

void Calculation::AddElementRows() {
    CellTable& t = ws_.worksheet;
    const std::string& type = in_.typeCode;
    CostBases& bal = ws_.balancing;
    for (const GainBasis::Element& taken : basis_.elements) {
        const CostElement& e = in_.elements[taken.index];
        const Extended net = e.amount - e.excluded;
        if (e.code == "3A") {
            // Non-capital costs of ownership: not for personal use assets and collectables,
            // never indexed, not in the reduced cost base.
            if (type == "P" || type == "A") continue;
            const int row = NextRow(t, worksheetRows_);
            t.SetCell(wcDate, row, FormatDate(taken.incurred));
            t.SetCell(wcDescription, row, e.description);
            t.SetCell(wcAmount, row, AmountCell(e.amount));
            t.SetCell(wcExcluded, row, AmountCell(e.excluded));
            t.SetCell(wcNet, row, AmountCell(net));
            t.SetCell(wcCostBase, row, AmountCell(net));
        } else if (e.code == "3B" || e.code == "6R") {
            bal.reduced = RoundedDollars(bal.reduced + net);
        } else if (e.code == "6C") {
            bal.nonIndexed = RoundedDollars(bal.nonIndexed + net);
            bal.indexed = bal.nonIndexed;
        } else {
            const Extended rounded = RoundHalfEven(net);
            const Extended own = GetIndexNumber(taken.incurred);
            const Extended index = own == 0 ? ws_.eventIndex : own;
            const double factor = IndexationFactor(ws_.eventIndex, index);
            const Extended indexed = IndexedAmount(rounded, factor);
            const int row = NextRow(t, worksheetRows_);
            t.SetCell(wcDate, row, FormatDate(taken.incurred));
            t.SetCell(wcDescription, row, e.description);
            t.SetCell(wcAmount, row, AmountCell(e.amount));
            t.SetCell(wcExcluded, row, AmountCell(e.excluded));
            t.SetCell(wcNet, row, AmountCell(rounded));
            t.SetCell(wcIndex, row, IndexCell(index));
            t.SetCell(wcFactor, row, FactorCell(factor));
            t.SetCell(wcCostBase, row, AmountCell(indexed));
            t.SetCell(wcReducedDeduction, row, AmountCell(e.excluded));
            t.SetCell(wcReduced, row, AmountCell(net));
            if (e.code == "2B") {
                specific_.nonIndexed = RoundHalfEven(specific_.nonIndexed + rounded);
                specific_.indexed += indexed;
                specific_.reduced += net;
            }
        }
    }
}

void Calculation::SumCostBases() {
    const CellTable& t = ws_.worksheet;
    ws_.totals = {t.ColumnTotal(wcNet), t.ColumnTotal(wcCostBase), t.ColumnTotal(wcReduced)};
    const CostBases& bal = ws_.balancing;
    ws_.costBase = {RoundedDollars(bal.nonIndexed + ws_.totals.nonIndexed),
                    RoundedDollars(bal.indexed + ws_.totals.indexed),
                    RoundedDollars(bal.reduced + ws_.totals.reduced)};
    // Less the non-assessable distribution adjustment, a calculated nil.
    const CostBases& c = ws_.costBase;
    ws_.adjusted = {RoundedDollars(c.nonIndexed - ExplicitZero),
                    RoundedDollars(c.indexed - ExplicitZero),
                    RoundedDollars(c.reduced - ExplicitZero)};
}

// Applies the share of the days that were not exempt.
Extended Apportioned(Extended amount, const GainWorksheet& ws) {
    if (!(ws.daysNotExempt >= 1 && ws.totalDays >= 1)) return amount;
    return RoundHalfEven(amount * ws.daysNotExempt / ws.totalDays);
}

void Calculation::StandardResults(bool dated) {
    const Extended p = ws_.percentDisposed;
    const bool partial = p != 0 && p != 100;
    const CostBases& adj = ws_.adjusted;
    const CostBases& s = specific_;
    CostBases base;
    if (partial) {
        // The disposed share of the cost bases, with all the event's own incidental costs.
        base = {RoundedDollars(p * (adj.nonIndexed - s.nonIndexed) / 100 + s.nonIndexed),
                RoundedDollars(p * (adj.indexed - s.indexed) / 100 + s.indexed),
                RoundedDollars(p * (adj.reduced - s.reduced) / 100 + s.reduced)};
        ws_.partial.shown = true;
        ws_.partial.remaining = {RoundedDollars((100 - p) * (adj.nonIndexed - s.nonIndexed) / 100),
                                 RoundedDollars((100 - p) * (adj.indexed - s.indexed) / 100),
                                 RoundedDollars((100 - p) * (adj.reduced - s.reduced) / 100)};
    } else {
        base = {RoundedDollars(adj.nonIndexed), RoundedDollars(adj.indexed),
                RoundedDollars(adj.reduced)};
    }
    const Extended proceeds = ws_.proceedsCell;
    const Extended costBases[] = {base.indexed, base.nonIndexed, base.nonIndexed, base.reduced};
    for (int c = 0; c < kGainColumns; ++c) {
        ws_.columns[c].proceeds = proceeds;
        ws_.columns[c].costBase = costBases[c];
    }
    for (int c : {gcIndexed, gcDiscount, gcOther}) {
        Extended gain = RoundHalfEven(proceeds - costBases[c]);
        if (gain < 1) gain = ExplicitZero;
        ws_.columns[c].result = ShownDollars(Apportioned(gain, ws_));
        if (!dated) ClearColumn(ws_, c);
    }
    Extended loss = RoundHalfEven(base.reduced - proceeds);
    if (loss == 0) loss = ExplicitZero;
    loss = Apportioned(loss, ws_);
    // A personal use asset's capital loss is disregarded.
    if (loss > 0 && in_.typeCode == "P") loss = ExplicitZero;
    ws_.columns[gcLoss].result = ShownDollars(loss);
    if (!dated || loss < 0) ClearColumn(ws_, gcLoss);
}

// Depreciating assets: the gain or loss on the termination value less the cost, limited to the
// asset's non-taxable use.
void Calculation::DepreciatingResults(bool dated) {
    const Extended cost = RoundedDollars(in_.cost);
    ws_.indexationComponent =
        ShownDollars(RoundHalfEven(ws_.adjusted.indexed) - RoundHalfEven(ws_.adjusted.nonIndexed));
    const Extended proceeds = ws_.proceedsCell;
    const Extended taxableUse = ShownTwoDecimals(in_.taxableUse);
    Extended reductions = 0;
    if (in_.sumOfReductions > 0 && !IsEmptyAmount(in_.totalDecline))
        reductions = ShownTwoDecimals(in_.sumOfReductions / in_.totalDecline * 100);
    for (int c = 0; c < kGainColumns; ++c) {
        DepreciatingColumn& d = ws_.depreciating[c];
        d.cost = cost;
        Extended raw = 0;
        if (c == gcLoss) {
            raw = RoundHalfEven(cost - proceeds);
            if (raw == 0) raw = ExplicitZero;
        } else {
            raw = RoundHalfEven(proceeds - cost);
            if (raw < 1) raw = ExplicitZero;
        }
        d.raw = ShownDollars(raw);
        d.taxableUse = taxableUse;
        d.reductions = reductions;
        d.adjusted = taxableUse > 0 ? RoundedDollars((100 - taxableUse) * d.raw / 100)
                                    : RoundedDollars(reductions / 100 * d.raw);
        ws_.columns[c].proceeds = proceeds;
        ws_.columns[c].costBase = cost;
        ws_.columns[c].result = d.adjusted;
    }
    DepreciatingColumn& indexed = ws_.depreciating[gcIndexed];
    Extended gain = indexed.adjusted - ws_.indexationComponent;
    if (gain < 1 || IsExplicitZero(indexed.raw)) {
        gain = ExplicitZero;
        if (IsExplicitZero(indexed.raw)) indexed.adjusted = ExplicitZero;
    }
    ws_.columns[gcIndexed].result = ShownDollars(gain);
    ws_.columns[gcIndexed].costBase = cost + ws_.indexationComponent;
    if (!dated) {
        for (int c = 0; c < kGainColumns; ++c)
            ClearColumn(ws_, c);
    } else if (ws_.depreciating[gcLoss].raw < 0) {
        ClearColumn(ws_, gcLoss);
    }
}

void Calculation::SelectMethods(bool held, bool noIndexation, bool noDiscount) {
    if (!held) noIndexation = noDiscount = true;
    ClearColumn(ws_, noIndexation ? gcIndexed : gcOther);
    ClearColumn(ws_, noDiscount ? gcDiscount : gcOther);
    // The other method stands only when neither indexation nor the discount is available, and
    // not beside a capital loss.
    const Extended loss = ws_.columns[gcLoss].result;
    const bool lossStands =
        ws_.variant == GainVariant::Depreciating ? loss > 0 : AmountEntered(loss);
    if (lossStands) ClearColumn(ws_, gcOther);
}

// One CGT event gives a gain or a loss, never both: a cost base lowered by an adjustment that
// leaves the reduced cost base alone can put the proceeds between the two. A gain of a dollar
// or more in a column that stands makes the loss a calculated nil.
void Calculation::KeepGainOrLoss() {
    ResultColumn& loss = ws_.columns[gcLoss];
    if (!loss.enabled || !AmountEntered(loss.result)) return;
    const bool gainStands =
        std::any_of(ws_.columns.begin(), ws_.columns.begin() + gcLoss,
                    [](const ResultColumn& c) { return c.enabled && c.result >= 1; });
    if (gainStands) loss.result = ExplicitZero;
}

void Calculation::Messages() {
    const bool result = std::any_of(ws_.columns.begin(), ws_.columns.end(),
                                    [](const ResultColumn& c) { return c.result >= 1; });
    const bool active = IsActiveAssetType(in_.typeCode);
    if (!result)
        ws_.firstMessage = msg::kNoGainOrLoss;
    else if (in_.marriageBreakdown.yes)
        ws_.firstMessage = msg::kDisregarded;
    else if (active && in_.fifteenYearExemption)
        ws_.firstMessage = msg::kFifteenYearExempt;
    else if (active)
        ws_.firstMessage = ws_.variant == GainVariant::Depreciating
                               ? msg::kSmallBusinessDepreciating
                               : msg::kSmallBusiness;
    else if (in_.marriageBreakdown.no)
        ws_.firstMessage = msg::kMayDefer;

    const auto& event = basis_.event;
    const bool inIncomeYear = event && *event >= IncomeYearStart() && *event <= IncomeYearEnd();
    if (inIncomeYear && AmountEntered(ws_.columns[gcIndexed].result) &&
        AmountEntered(ws_.columns[gcDiscount].result))
        ws_.secondMessage = msg::kChooseMethod;
}

void Calculation::CalculateGain() {
    ws_.worksheet = EmptyWorksheet();
    const DateTime cutOff = CutOffDay();

    // Whether indexation and the discount are available by the dates and the cost base given.
    const DateTime base = basis_.base.value_or(0);
    bool noIndexation = IndexationWithheld(in_, basis_.base, basis_.rolledOver);
    bool noDiscount = (basis_.event && *basis_.event < cutOff) || in_.eventAfterCutOff.no;
    if (AnyAbove(in_.sectionTwo, 0)) {
        if (IsEmptyAmount(in_.sectionTwo.indexed)) noIndexation = true;
        if (IsEmptyAmount(in_.sectionTwo.nonIndexed)) noDiscount = true;
    }

    // The event's cells.
    ws_.eventDateCell = basis_.event ? FormatDate(*basis_.event) : std::string();
    ws_.eventIndex =
        ShownTwoDecimals(basis_.event ? GetIndexNumber(*basis_.event) : kUndatedEventIndex);
    if (basis_.proceeds > 0) {
        const Extended p = basis_.proceeds;
        ws_.proceedsCell = ShownDollars(AmountEntered(p) ? RoundHalfEven(p) : p);
    }
    ws_.percentDisposed = ShownTwoDecimals(in_.percentDisposed);
    ws_.daysNotExempt = RoundedDollars(in_.daysNotExempt);
    ws_.totalDays = RoundedDollars(in_.totalDays);

    // Held for twelve months: the event falls after the first anniversary of the base date.
    const bool held = basis_.event && YearsHeld(base, *basis_.event) > 0;

    IndexCostBase(held);
    AddElementRows();
    SumCostBases();
    const bool dated = Date(in_.eventDate.text).has_value();
    if (ws_.variant == GainVariant::Depreciating)
        DepreciatingResults(dated);
    else
        StandardResults(dated);
    SelectMethods(held, noIndexation, noDiscount);
    KeepGainOrLoss();
    Messages();
}

} // namespace

std::string WorkedColumn(const char* title, int type, int width, int decimals, bool totalled) {
    const bool number = type == ctNumber;
    std::string line = title;
    for (int field : {number ? int(taRight) : int(taLeft), type, width}) {
        line += '|';
        line += std::to_string(field);
    }
    line += "|0|F|F|";
    line += std::to_string(decimals);
    line += number ? "|T" : "|";
    line += "|0|0|0|0|0|";
    line += totalled ? "F|T" : "T|T";
    return line;
}

const StringList& AssetRegisterColumns() {
    static const StringList columns = {
        WorkedColumn("Date of CGT event", ctDate, 10),
        WorkedColumn("Relevant date", ctDate, 10),
        WorkedColumn("Date paid", ctDate, 10),
        WorkedColumn("Description", ctText, 60),
        WorkedColumn("Cost element / CGT Event", ctText, 4),
        WorkedColumn("CGT event", ctText, 4),
        WorkedColumn("Amount", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("Cost base adjustment", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("Reduced cost base adjustment", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("Gain deferred", ctText, 1),
        WorkedColumn("Comments", ctText, 60),
    };
    return columns;
}

const StringList& WorksheetColumns() {
    static const StringList columns = {
        WorkedColumn("Date incurred", ctDate, 10),
        WorkedColumn("Description of expenditure", ctText, 60),
        WorkedColumn("Amount", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("Amount to be excluded from col 3", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("Net amount (not indexed)", ctNumber, kCellWidth, kAmountDecimals, true),
        WorkedColumn("Net amount (indexed)", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("CPI Figure", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("Event date CPI Figure ", ctNumber, kCellWidth, kAmountDecimals),
        WorkedColumn("Indexation factor", ctNumber, kCellWidth, kFactorDecimals),
        WorkedColumn("Cost base", ctNumber, kCellWidth, kAmountDecimals, true),
        WorkedColumn("Amount to deducted for reduced cost base", ctNumber, kCellWidth,
                     kAmountDecimals),
        WorkedColumn("Reduced amount", ctNumber, kCellWidth, kAmountDecimals, true),
    };
    return columns;
}

void FillAssetRegister(const Event& in, GainWorksheet& ws) {
    ws.error.clear();
    ws.basis = GainBasis{};
    Calculation(in, ws).FillAssetRegister();
}

void CalculateGain(const Event& in, GainWorksheet& ws) {
    if (ws.error.empty()) Calculation(in, ws).CalculateGain();
}

GainWorksheet ComputeGainWorksheet(const Event& in, GainVariant variant) {
    GainWorksheet ws;
    ws.variant = variant;
    FillAssetRegister(in, ws);
    CalculateGain(in, ws);
    if (!ws.error.empty()) {
        // The results are left cleared.
        GainWorksheet cleared;
        cleared.variant = variant;
        cleared.assetRegister = EmptyRegister();
        cleared.worksheet = EmptyWorksheet();
        cleared.baseDate = ws.baseDate;
        cleared.error = ws.error;
        for (int c = 0; c < kGainColumns; ++c)
            ClearColumn(cleared, c);
        return cleared;
    }
    return ws;
}

void TakeGainResults(const GainWorksheet& ws, EventResults& results) {
    results.indexedGain = MethodResult::FromStored(ws.columns[gcIndexed].result);
    results.discountGain = MethodResult::FromStored(ws.columns[gcDiscount].result);
    results.otherGain = MethodResult::FromStored(ws.columns[gcOther].result);
    results.capitalLoss = MethodResult::FromStored(ws.columns[gcLoss].result);
    results.costBase = ws.costBase;
    results.discountProceeds = ws.columns[gcDiscount].proceeds;
    results.discountCostBase = ws.columns[gcDiscount].costBase;
    results.firstMessage = ws.firstMessage;
    results.secondMessage = ws.secondMessage;
    results.disposal = ws.disposal;
    results.baseDate = ws.baseDate;
}

} // namespace cgt
