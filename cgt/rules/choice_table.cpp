#include "cgt/rules/choice_table.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "base/number_format.h"
#include "base/text.h"
#include "cgt/rules/choice_cells.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/schedule.h"
#include "cgt/rules/trust_table.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

using Cells = std::array<std::string, kChoiceColumns>;

constexpr std::string_view kSourceOrder = "17,18,19";
constexpr std::string_view kFactorOrder = "2,20";

constexpr std::array kShown{
    ShownColumn{ccDescription, 163},   ShownColumn{ccType, 47},
    ShownColumn{ccIndexed, 66},        ShownColumn{ccDiscount, 71},
    ShownColumn{ccChoiceRequired, 58}, ShownColumn{ccMethod, 73},
    ShownColumn{ccOther, 74},          ShownColumn{ccLoss, 65},
    ShownColumn{ccCanDefer, 75},       ShownColumn{ccDeferAuto, 83},
    ShownColumn{ccDefer, 61},          ShownColumn{ccCollectableApplied, 65},
    ShownColumn{ccOtherApplied, 65},   ShownColumn{ccNetGain, 81},
};

// A component of a trust distribution: its code, its cell in the trust table, its tag on an
// event row, the description suffixes, the type, the gain column and the gross-up factor.
struct Component {
    const char* code;
    int trustCell;
    int tag;
    const char* suffix;
    const char* rowSuffix;
    const char* type;
    int column;
    int factor;
};
using namespace tag::event;
constexpr std::array<Component, 9> kComponents{{
    {"A1", 4, kTrustCollectableIndexed, " - Trust Col/Ind", " - Trust Col/Ind", "A", ccIndexed, 1},
    {"A2", 1, kTrustOtherIndexed, " - Trust Oth/Ind", " - Trust Oth/Ind", "ON", ccIndexed, 1},
    {"A3", 7, kTrustActiveIndexed, " - Trust SBAA/Ind", " - Trust SBAA/Ind", "OA", ccIndexed, 2},
    {"A4", 5, kTrustCollectableDiscount, " - Trust Col/Dis", " - Trust Col/Disc", "A", ccDiscount,
     2},
    {"A5", 2, kTrustOtherDiscount, " - Trust Oth/Dis", " - Trust Oth/Dis", "ON", ccDiscount, 2},
    {"A6", 8, kTrustActiveDiscount, " - Trust SBAA/Dis", " - Trust SBAA/Dis", "OA", ccDiscount, 4},
    {"A7", 6, kTrustCollectableOther, " - Trust Col/Oth", " - Trust Col/Oth", "A", ccOther, 1},
    {"A8", 3, kTrustOtherOther, " - Trust Oth/Oth", " - Trust Oth/Oth", "ON", ccOther, 1},
    {"A9", 9, kTrustActiveOther, " - Trust SBAA/Oth", " - Trust SBAA/Oth", "OA", ccOther, 2},
}};

// The component whose code is `code`.
const Component* ComponentOfCode(std::string_view code) {
    for (const Component& c : kComponents)
        if (code == c.code) return &c;
    return nullptr;
}

// Entries of an event's losses-applied list for a row code: collectable, other, transferred.
constexpr int kLossListSize = 34;
constexpr std::string_view kLossListTitle = "Losses Applied";
std::array<int, 3> LossEntries(std::string_view code) {
    if (code == "C") return {1, 2, 23};
    if (code == "B") return {3, 4, 24};
    const int k = code.size() == 2 ? code[1] - '0' : 0;
    return {3 + 2 * k, 4 + 2 * k, 24 + k};
}

std::string_view SectionOfWorksheet(int worksheet) {
    const EventKind* kind = FindEventKind(worksheet);
    return kind ? kind->section : std::string_view();
}

std::string Whole(Extended value) {
    return FixedText10(value, 0);
}

std::string NumberText(int value) {
    return FixedText10(value, 0);
}

// A choice required: both amounts at least the explicit zero and one of them above it; then
// the index factor and the stored method.
void SetChoice(Cells& row, Extended indexed, Extended discount, std::string_view method) {
    const bool required = indexed >= ExplicitZero && discount >= ExplicitZero &&
                          (AmountEntered(indexed) || AmountEntered(discount));
    row[ccChoiceRequired] = required ? "Yes" : "No";
    if (!required) return;
    if (discount != 0) row[ccIndexFactor] = FixedText10(indexed / discount * 100, 5);
    row[ccMethod] = TrimText(method);
}

void SetLossCells(Cells& row, const StringList* list) {
    if (!list || list->empty()) return;
    const auto entries = LossEntries(row[ccRowCode]);
    const int cols[3] = {ccCollectableApplied, ccOtherApplied, ccTransferredApplied};
    for (int i = 0; i < 3; ++i) {
        const int entry = entries[static_cast<std::size_t>(i)];
        if (entry >= 23 && list->size() <= 23) continue;
        if (entry < static_cast<int>(list->size())) {
            std::string text = TrimText((*list)[static_cast<std::size_t>(entry)]);
            if (!text.empty()) row[static_cast<std::size_t>(cols[i])] = std::move(text);
        }
    }
}

void NoteSource(ChoiceState& state) {
    state.hasSources = true;
}

// The table's rows written from row 1 on as they are built, without a copy of them all.
class RowWriter {
public:
    explicit RowWriter(CellTable& table) : table_(table) { table_.ClearRows(); }
    void push_back(Cells&& cells) {
        if (next_ >= table_.RowCount()) table_.AppendRow();
        for (int c = 0; c < kChoiceColumns; ++c)
            table_.SetCell(c, next_, std::move(cells[static_cast<std::size_t>(c)]));
        ++next_;
    }
    // The table ends after the last row written, with at least one row.
    void Finish() { table_.SetRowCount(std::max(next_, 2)); }

private:
    CellTable& table_;
    int next_ = 1;
};

void AddTrustTableRows(RowWriter& rows, ChoiceState& state) {
    const StringListRef list = GetFieldLst(tag::kTrustDistributionTable);
    if (!list) return;
    const std::size_t trusts = list->size() / kTrustCells;
    for (std::size_t m = 0; m < trusts; ++m) {
        NoteSource(state);
        auto cell = [&](int c) -> const std::string& { return (*list)[m * kTrustCells + c]; };
        for (const Component& c : kComponents) { // in the order of their codes
            const int k = c.trustCell;
            if (TrimBlanks(cell(k)).empty()) continue;
            Cells row;
            row[ccSection] = "Other trust";
            row[ccDescription] = cell(kTrustNameCell) + c.suffix;
            row[ccType] = c.type;
            if (c.factor == 1) {
                row[static_cast<std::size_t>(c.column)] = cell(k);
            } else {
                const auto value = ParseNumber(cell(k));
                row[static_cast<std::size_t>(c.column)] = Whole((value ? *value : 0) * c.factor);
            }
            row[ccChoiceRequired] = "No";
            row[ccCanDefer] = "No";
            const int loss[3][2] = {{ccCollectableApplied, 10 + k},
                                    {ccOtherApplied, 19 + k},
                                    {ccTransferredApplied, 28 + k}};
            for (const auto& [col, src] : loss)
                row[static_cast<std::size_t>(col)] = TrimText(cell(src));
            row[ccSourceKind] = NumberText(kTrustSource);
            row[ccSourceIndex] = NumberText(static_cast<int>(m));
            row[ccRowCode] = c.code;
            rows.push_back(std::move(row));
        }
    }
}

void AddManualTableRows(RowWriter& rows, ChoiceState& state) {
    const StringListRef list = GetFieldLst(tag::kManualCalculationTable);
    if (!list) return;
    const std::size_t records = list->size() / kManualCells;
    for (std::size_t m = 0; m < records; ++m) {
        NoteSource(state);
        auto cell = [&](int c) -> const std::string& { return (*list)[m * kManualCells + c]; };
        if (cell(mcDescription).empty()) continue;
        Cells row;
        for (int c = ccSection; c <= ccDiscount; ++c)
            row[static_cast<std::size_t>(c)] = cell(c);
        const auto indexed = ParseNumber(cell(ccIndexed));
        const auto discount = ParseNumber(cell(ccDiscount));
        const Extended i = indexed ? *indexed : 0;
        const Extended d = discount ? *discount : 0;
        if (!cell(ccIndexed).empty() && !cell(ccDiscount).empty() &&
            (AmountEntered(i) || AmountEntered(d))) {
            row[ccChoiceRequired] = "Yes";
            // Without a discount gain there is no factor: the row goes last in the passes.
            if (d != 0) row[ccIndexFactor] = FixedText10(i / d * 100, 5);
            row[ccMethod] = TrimText(cell(ccMethod));
        } else {
            row[ccChoiceRequired] = "No";
        }
        for (int c : {7, 8, 9, 10, 11, 12, 14, 15})
            row[static_cast<std::size_t>(c)] = cell(c);
        row[ccSourceKind] = NumberText(kManualSource);
        row[ccSourceIndex] = NumberText(static_cast<int>(m));
        row[ccRowCode] = "C";
        rows.push_back(std::move(row));
    }
}

void AddEventRows(int worksheet, int key, RowWriter& rows) {
    const std::string name = GetFieldStr(kName);
    const StringListRef losses = GetFieldLst(kLossesApplied);
    const std::string section(SectionOfWorksheet(worksheet));
    auto start = [&](std::string_view code) {
        Cells row;
        row[ccSection] = section;
        row[ccSourceKind] = NumberText(worksheet);
        row[ccSourceIndex] = NumberText(key);
        row[ccRowCode] = code;
        return row;
    };
    auto finish = [&](Cells& row) {
        SetLossCells(row, losses.get());
        rows.push_back(std::move(row));
    };
    const EventKind* kind = FindEventKind(worksheet);
    if (kind && kind->trustComponents && FieldChecked(kTrustDistribution))
        for (const Component& c : kComponents) {
            const Extended value = GetFieldVal(c.tag);
            if (value <= 0) continue;
            Cells row = start(c.code);
            row[ccDescription] = name + c.rowSuffix;
            row[ccType] = c.type;
            row[static_cast<std::size_t>(c.column)] = Whole(value * c.factor);
            row[ccChoiceRequired] = "No";
            row[ccCanDefer] = "No";
            finish(row);
        }
    if (kind && kind->receiptRows && FieldChecked(kPaymentGainThisYear)) {
        Cells row = start("B");
        row[ccDescription] = name + " - Non-ass receipt";
        row[ccType] = "ON";
        const Extended i = GetFieldVal(kPaymentIndexedGainThisYear);
        const Extended d = GetFieldVal(kPaymentDiscountGainThisYear);
        const Extended o = GetFieldVal(kPaymentOtherGainThisYear);
        if (i > 0) row[ccIndexed] = Whole(i);
        if (d > 0) row[ccDiscount] = Whole(d);
        SetChoice(row, i, d, GetFieldStr(kMethodChoice));
        if (AmountEntered(o)) row[ccOther] = Whole(o);
        row[ccCanDefer] = "No";
        finish(row);
    }
    if (FieldChecked(kDisposalResult)) {
        Cells row = start("C");
        row[ccDescription] = name + " - Disposal";
        row[ccType] = TrimText(GetFieldStr(kAssetType));
        const Extended i = GetFieldVal(kIndexedGain);
        const Extended d = GetFieldVal(kDiscountGain);
        const Extended o = GetFieldVal(kOtherGain);
        const Extended l = GetFieldVal(kCapitalLoss);
        if (i > 0) row[ccIndexed] = Whole(i);
        if (d > 0) row[ccDiscount] = Whole(d);
        SetChoice(row, i, d, GetFieldStr(kMethodChoice));
        if (o > 0) row[ccOther] = Whole(o);
        if (l > 0) row[ccLoss] = Whole(l);
        if (FieldChecked(kRollOverYes)) {
            row[ccCanDefer] = "Yes";
            if (FieldChecked(kMarriageBreakdownYes))
                row[ccDeferAuto] = "Yes";
            else
                row[ccDefer] = GetFieldStr(kDefermentChoice);
        } else {
            row[ccCanDefer] = "No";
        }
        finish(row);
    }
}

void AddWorksheetRows(RowWriter& rows, ChoiceState& state) {
    ForEachEventRow(wkShares, wkReceipts, [&](int worksheet, int key) {
        NoteSource(state);
        if (!OpenEventIsFifteenYearExempt()) AddEventRows(worksheet, key, rows);
    });
}

// The net gain of a row as the table computes it; nothing for a deferred row, a loss row or a
// row whose method is still to be chosen. `method` says which gain the net gain is of.
enum class Method { None, Indexed, Discount, Other };
struct NetGain {
    Method method = Method::None;
    Extended amount = 0;
};
NetGain NetGainOf(const ChoiceRow& r) {
    const Extended s = static_cast<Extended>(r.c12 + r.c15 + r.c14);
    if (r.choiceRequired == "Yes") {
        if (r.method == "Indexed") return {Method::Indexed, r.i - s};
        if (r.method == "Discount") return {Method::Discount, (r.d - s) / 2};
        return {};
    }
    if (r.choiceRequired != "No") return {};
    if (r.i > 0) return {Method::Indexed, r.i - s};
    if (r.d > 0) return {Method::Discount, (r.d - s) / 2};
    if (r.o > 0) return {Method::Other, r.o - s};
    return {};
}

std::string NetGainText(Extended value) {
    return value == 0 ? std::string("0") : FixedText10(value, 2);
}

// Totals of the applied-loss columns and the current-year losses; deferred rows bring no loss.
// One pass over the rows.
void UpdateTotals(const CellTable& table, ChoiceState& state) {
    ColumnSum t12, t14, t15;
    Extended collectable = 0, other = 0, all = 0;
    for (int row = 1; row < table.RowCount(); ++row) {
        t12.Add(table.Cell(ccCollectableApplied, row));
        t14.Add(table.Cell(ccOtherApplied, row));
        t15.Add(table.Cell(ccTransferredApplied, row));
        if (CellIsYes(table, ccDeferAuto, row) || CellIsYes(table, ccDefer, row)) continue;
        const Extended loss = CellAmount(table, ccLoss, row);
        (IsCollectableType(CellText(table, ccType, row)) ? collectable : other) += loss;
        all += loss;
    }
    // The applied-loss columns are number columns, totalled as the table totals them.
    state.t12 = TruncatedDollars(t12.Total());
    state.t14 = TruncatedDollars(t14.Total());
    state.t15 = TruncatedDollars(t15.Total());
    state.cyc = TruncatedDollars(collectable);
    state.cyo = TruncatedDollars(other);
    state.currentYearLosses = all;
}

void SplitAppliedLosses(ChoiceState& state) {
    state.currentCollectableApplied = std::min(state.t12, state.cyc);
    state.priorCollectableApplied = state.t12 - state.currentCollectableApplied;
    state.currentOtherApplied = std::min(state.t14, state.cyo);
    state.priorOtherApplied = state.t14 - state.currentOtherApplied;
    UnappliedLosses& u = state.unapplied;
    auto split = [](long long applied, long long current, long long prior, long long& cur,
                    long long& pri) {
        if (applied > current) {
            cur = 0;
            pri = prior - (applied - current);
        } else {
            cur = current - applied;
            pri = prior;
        }
    };
    split(state.t12, state.cyc, state.pyc, u.currentCollectable, u.priorCollectable);
    split(state.t14, state.cyo, state.pyo, u.currentOther, u.priorOther);
}

// ---- The automatic passes ----------------------------------------------------------------

// Applying one kind of loss, collectable (column 12) or other (column 14), with the remaining
// amount kept as a running total of the column, so that each pass is linear in the rows.
class LossApplier {
public:
    LossApplier(CellTable& table, int col, long long available)
        : table_(table), col_(col), available_(available), total_(table.ColumnTotal(col)) {}

    long long Remaining() const { return available_ - TruncatedDollars(total_); }

    void Write(int row, Extended amount, std::string text) {
        total_ += amount - CellAmount(table_, col_, row);
        table_.SetCell(col_, row, std::move(text));
    }
    void Write(int row, Extended amount) { Write(row, amount, FormatGeneral(amount)); }

    // Applies the remaining losses to gain g of a row whose collectable loss applied is c12
    // (other losses only; 0 for collectable losses).
    void Apply(int row, long long g, long long c12, bool discountPass) {
        const long long rest = Remaining();
        if (g <= rest + c12)
            Write(row, static_cast<Extended>(g - c12));
        else if (rest > 0)
            Write(row, static_cast<Extended>(discountPass ? rest - c12 : rest));
    }

    // A row that needs a method: indexed when the indexed gain is absorbed, or when the
    // discount method leaves more after the remaining losses; discount otherwise. Returns the
    // method chosen.
    Method Choose(int row, long long i, long long d, long long c12) {
        const long long rest = Remaining();
        if (i <= rest) {
            table_.SetCell(ccMethod, row, "Indexed");
            Write(row, static_cast<Extended>(i - c12));
            return Method::Indexed;
        }
        const long long usable = std::max(rest, 0LL); // no losses left: nothing to write
        const bool indexed = static_cast<Extended>(d - usable) / 2 > i - usable;
        table_.SetCell(ccMethod, row, indexed ? "Indexed" : "Discount");
        if (!indexed)
            Apply(row, d, c12, false); // never more than the discount gain itself
        else if (rest > 0)
            Write(row, static_cast<Extended>(rest - c12));
        return indexed ? Method::Indexed : Method::Discount;
    }

private:
    CellTable& table_;
    int col_;
    long long available_;
    Extended total_;
};

using RowFilter = bool (*)(const ChoiceRow&);

bool MethodIsChosen(const ChoiceRow& r) {
    return r.method == "Indexed" || r.method == "Discount";
}

// The passes of one group of rows: indexed and other gains in table order, then rows needing a
// method and then discount gains, both in the order of type and index factor (`byFactor`, the
// table's rows in that order). The table itself stays in source order; each row is read once.
void ApplyToGroup(CellTable& table, LossApplier& applier, RowFilter inGroup, bool otherLosses,
                  const std::vector<int>& byFactor) {
    // What the passes use of a member row.
    struct Member {
        int row;
        long long i, d, o;
        long long c12;    // collectable losses applied, for other losses only
        bool noChoice;    // choice required "No"
        bool needsChoice; // choice required "Yes"
        Method method;    // Indexed, Discount, or None for any other text
    };
    std::vector<Member> members;
    std::vector<int> memberOf(static_cast<std::size_t>(table.RowCount()), -1);
    for (int row = 1; row < table.RowCount(); ++row) {
        const ChoiceRow r = ReadChoiceRow(table, row);
        if (r.Deferred() || !inGroup(r)) continue;
        memberOf[static_cast<std::size_t>(row)] = static_cast<int>(members.size());
        const Method method = r.method == "Indexed"    ? Method::Indexed
                              : r.method == "Discount" ? Method::Discount
                                                       : Method::None;
        members.push_back({row, r.i, r.d, r.o, otherLosses ? r.c12 : 0, r.choiceRequired == "No",
                           r.NeedsChoice(), method});
    }
    if (members.empty()) return;
    for (const Member& m : members)
        if ((m.noChoice || m.method == Method::Indexed) && m.i > 0)
            applier.Apply(m.row, m.i, m.c12, false);
    for (const Member& m : members)
        if (m.noChoice && m.o > 0) applier.Apply(m.row, m.o, m.c12, false);
    std::vector<Member*> ordered;
    ordered.reserve(members.size());
    for (int row : byFactor)
        if (const int i = memberOf[static_cast<std::size_t>(row)]; i >= 0)
            ordered.push_back(&members[static_cast<std::size_t>(i)]);
    for (Member* m : ordered)
        if (m->needsChoice && m->method == Method::None && m->i > 0 && m->d > 0)
            m->method = applier.Choose(m->row, m->i, m->d, m->c12);
    for (const Member* m : ordered)
        if ((m->noChoice || m->method == Method::Discount) && m->d > 0)
            applier.Apply(m->row, m->d, m->c12, true);
}

// The passes end with the table in source order.
void KeepSourceOrder(CellTable& table) {
    const std::vector<int> order = table.SortedRowOrder(kSourceOrder);
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] != static_cast<int>(i) + 1) {
            table.SortRows(kSourceOrder);
            return;
        }
}

void ClearColumns(CellTable& table, std::initializer_list<int> cols) {
    for (int row = 1; row < table.RowCount(); ++row)
        for (int col : cols)
            table.SetCell(col, row, std::string());
}

// ---- Storing -------------------------------------------------------------------------------

struct SourceKey {
    int kind;
    int index;
    auto operator<=>(const SourceKey&) const = default;
};

int CellInt(const CellTable& table, int col, int row) {
    return static_cast<int>(TruncatedDollars(CellAmount(table, col, row)));
}

std::string EntryText(const CellTable& table, int col, int row) {
    const std::string& text = table.Cell(col, row);
    return text.empty() ? std::string(" ") : text;
}

void StoreTableRow(const CellTable& table, int row, StringList& trusts, StringList& manual) {
    const int kind = CellInt(table, ccSourceKind, row);
    const auto m = static_cast<std::size_t>(CellInt(table, ccSourceIndex, row));
    if (kind == kTrustSource) {
        const Component* c = ComponentOfCode(CellText(table, ccRowCode, row));
        if (!c || (m + 1) * kTrustCells > trusts.size()) return;
        const std::size_t base = m * kTrustCells + static_cast<std::size_t>(c->trustCell);
        trusts[base + 10] = table.Cell(ccCollectableApplied, row);
        trusts[base + 19] = table.Cell(ccOtherApplied, row);
        trusts[base + 28] = table.Cell(ccTransferredApplied, row);
    } else if (kind == kManualSource) {
        if ((m + 1) * kManualCells > manual.size()) return;
        for (int col :
             {ccMethod, ccDefer, ccCollectableApplied, ccOtherApplied, ccTransferredApplied})
            manual[m * kManualCells + static_cast<std::size_t>(col)] = table.Cell(col, row);
    }
}

// One event's rows into its open scratch tags: a new losses-applied list and the choices of
// rows "B" and "C" ("C" last).
void StoreEventChoices(const CellTable& table, std::vector<int>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        return CellText(table, ccRowCode, a) < CellText(table, ccRowCode, b);
    });
    auto list = std::make_shared<StringList>(kLossListSize, " ");
    (*list)[0] = kLossListTitle;
    std::optional<std::string> method, defer;
    for (int row : rows) {
        const std::string code = CellText(table, ccRowCode, row);
        const auto entries = LossEntries(code);
        const int cols[3] = {ccCollectableApplied, ccOtherApplied, ccTransferredApplied};
        for (int i = 0; i < 3; ++i) {
            const int entry = entries[static_cast<std::size_t>(i)];
            if (entry > 0 && entry < kLossListSize)
                (*list)[static_cast<std::size_t>(entry)] = EntryText(table, cols[i], row);
        }
        if (code == "B" || code == "C") { // "C" comes last and wins
            method = table.Cell(ccMethod, row);
            defer = table.Cell(ccDefer, row);
        }
    }
    // Values that do not change keep their stored objects.
    if (method && GetFieldStr(kMethodChoice) != *method) SetFieldStr(kMethodChoice, *method);
    if (defer && GetFieldStr(kDefermentChoice) != *defer) SetFieldStr(kDefermentChoice, *defer);
    const StringListRef stored = GetFieldLst(kLossesApplied);
    if (!stored || *stored != *list) SetFieldLst(kLossesApplied, list);
}

// One row's net gain; an active asset's gain is added to the concession sources.
void RecalculateRow(CellTable& table, int row, StringList& sources) {
    const ChoiceRow r = ReadChoiceRow(table, row);
    if (r.Deferred()) {
        for (int col : {ccCollectableApplied, ccOtherApplied, ccTransferredApplied})
            table.SetCell(col, row, std::string());
        table.SetCell(ccNetGain, row, "0");
        return;
    }
    const NetGain net = NetGainOf(r);
    if (net.method == Method::None) return;
    table.SetCell(ccNetGain, row, NetGainText(net.amount));
    if (!IsActiveType(r.type)) return;
    const std::string& gain = table.Cell(ccNetGain, row);
    sources.push_back(table.Cell(ccDescription, row));
    sources.push_back(net.method == Method::Indexed ? gain : std::string());
    sources.push_back(net.method == Method::Discount ? gain : std::string());
    sources.push_back(net.method == Method::Other ? gain : std::string());
    sources.insert(sources.end(), 3, std::string());
    sources.push_back(table.Cell(ccSourceKind, row));
    sources.push_back(table.Cell(ccSourceIndex, row));
}

} // namespace

// ---- Layout --------------------------------------------------------------------------------

const StringList& ChoiceTableDisplay() {
    static const StringList display = [] {
        const std::string typed = "|1|1|12|0|F|F|2|T|0|0";
        const std::string written = "|1|1|12|0|T|F|2|T|0|0";
        return StringList{
            "Section / Grouping|0|0|20|0|T",
            "Asset Description|0|0|50|0|T",
            "Asset\rType|0|0|2|0|T",
            "Indexed\rgain\r(I)" + typed,
            "Discount\rgain\r(D)" + typed,
            "Choice\rReq'd|0|0|3|0|T",
            "Method\rchoice\r(I or D)|0|0|8|0|F|T|0||0|0|2|1|2|Discount|Indexed",
            "Other\rgain" + typed,
            "Loss" + typed,
            "Can\rgain be\rdeferred?|0|0|3|0|T",
            "Deferment\rautomatic|0|0|3|0|T",
            "Do you\rwant to\rdefer?|0|0|3|0|F|T|0||0|0|2|1|2|No|Yes",
            "Collect\r-able\rloss applied" + typed,
            "Prior year\rcollect\r-able loss applied" + written,
            "Other\rloss applied" + typed,
            "Prior year\rother loss\rapplied" + written,
            "Net gain" + typed,
            "W/sheet number|1|1|4|0|T",
            "W/sheet count|1|1|5|0|T",
            "Part A or B|0|0|2|0|T",
            "Index factor|1|1|14|0|T|F|5|T|0|0",
        };
    }();
    return display;
}

std::span<const ShownColumn> ChoiceTableShownColumns() {
    return kShown;
}

void SetupChoiceTable(CellTable& table) {
    table.SetColCount(kChoiceColumns);
    table.SetDisplay(ChoiceTableDisplay());
    table.SetRowCount(2);
}

void SetupUnappliedGrid(CellTable& grid) {
    grid.SetColCount(3);
    grid.SetDisplay(
        {"Unapplied losses|0|0|20|0|T", "Collectable\rloss|1|1|10|0|T", "Other\rloss|1|1|10|0|T"});
    grid.SetRowCount(3);
    grid.SetCell(0, 1, "Prior Years");
    grid.SetCell(0, 2, "Current Year");
}

void FillUnappliedGrid(CellTable& grid, const UnappliedLosses& losses) {
    if (grid.RowCount() < 3) grid.SetRowCount(3);
    grid.SetCell(0, 1, "Prior Years");
    grid.SetCell(0, 2, "Current Year");
    grid.SetCell(1, 1, std::to_string(losses.priorCollectable));
    grid.SetCell(2, 1, std::to_string(losses.priorOther));
    grid.SetCell(1, 2, std::to_string(losses.currentCollectable));
    grid.SetCell(2, 2, std::to_string(losses.currentOther));
}

bool IsCollectableType(std::string_view type) {
    return TrimBlanks(type) == "A";
}

bool IsActiveType(std::string_view type) {
    const std::string_view t = TrimBlanks(type);
    return t == "UA" || t == "SA" || t == "RA" || t == "OA" || t == "G";
}

bool IsNonActiveType(std::string_view type) {
    const std::string_view t = TrimBlanks(type);
    return t == "UN" || t == "SN" || t == "RN" || t == "ON" || t == "P";
}

// ---- Building ------------------------------------------------------------------------------

void BuildChoiceRows(CellTable& table, ChoiceState& state) {
    state = ChoiceState{};
    // Built in source order: worksheets by number and row key, the manual table, the trust
    // table; each source's rows by code.
    RowWriter rows(table);
    AddWorksheetRows(rows, state);
    AddManualTableRows(rows, state);
    AddTrustTableRows(rows, state);
    rows.Finish();
    KeepSourceOrder(table);

    if (state.hasSources) {
        SetFieldChecked(tag::kGainsReported);
        SetFieldUnchecked(tag::kNoGainsReported);
    } else {
        SetFieldChecked(tag::kNoGainsReported);
        SetFieldUnchecked(tag::kGainsReported);
    }
    state.pyc = TruncatedDollars(GetFieldVal(tag::kUnappliedCollectableLosses));
    state.pyo = TruncatedDollars(GetFieldVal(tag::kUnappliedOtherLosses));
    state.ti = TruncatedDollars(GetFieldVal(tag::kTransferredInLosses));
    UpdateChoiceTotals(table, state);
    SetFieldVal(tag::kTotalCurrentYearLosses, state.currentYearLosses);
}

ChoiceRow ReadChoiceRow(const CellTable& table, int row) {
    ChoiceRow r;
    r.i = RoundedWhole(CellAmount(table, ccIndexed, row));
    r.d = RoundedWhole(CellAmount(table, ccDiscount, row));
    r.o = RoundedWhole(CellAmount(table, ccOther, row));
    r.l = RoundedWhole(CellAmount(table, ccLoss, row));
    r.c12 = RoundedWhole(CellAmount(table, ccCollectableApplied, row));
    r.c14 = RoundedWhole(CellAmount(table, ccOtherApplied, row));
    r.c15 = RoundedWhole(CellAmount(table, ccTransferredApplied, row));
    r.netGain = CellAmount(table, ccNetGain, row);
    auto text = [&](int col, const char* empty) {
        std::string t = CellText(table, col, row);
        return t.empty() ? std::string(empty) : t;
    };
    r.section = text(ccSection, "Not Allocated");
    r.type = text(ccType, "Z");
    r.choiceRequired = text(ccChoiceRequired, "No");
    r.method = text(ccMethod, "None");
    r.canDefer = text(ccCanDefer, "No");
    r.deferAuto = text(ccDeferAuto, "No");
    r.defer = text(ccDefer, "No");
    return r;
}

void UpdateChoiceTotals(const CellTable& table, ChoiceState& state) {
    UpdateTotals(table, state);
    SplitAppliedLosses(state);
}

ChoiceRow LoadChoiceRow(const CellTable& table, ChoiceState& state, int row) {
    UpdateChoiceTotals(table, state);
    return ReadChoiceRow(table, row);
}

void RecalculateChoices(CellTable& table, ChoiceState& state) {
    auto sources = std::make_shared<StringList>();
    ColumnSum net; // the net gain column's total, as the table totals it
    for (int row = 1; row < table.RowCount(); ++row) {
        RecalculateRow(table, row, *sources);
        net.Add(table.Cell(ccNetGain, row));
    }
    SetFieldLst(tag::kConcessionSources, sources);
    UpdateChoiceTotals(table, state);
    SetFieldVal(tag::kTotalCurrentYearLosses, state.currentYearLosses);
    state.netCapitalGain = TruncatedDollars(net.Total());
    SetFieldVal(tag::kNetCapitalGain, static_cast<Extended>(state.netCapitalGain));
}

// ---- Automatic choices ---------------------------------------------------------------------

void AutoDefer(CellTable& table, ChoiceState& state) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!CellIsYes(table, ccCanDefer, row)) continue;
        const std::string answer = CellText(table, ccDefer, row);
        if (!answer.empty() && answer != "Yes") continue;
        const bool loss = !table.Cell(ccLoss, row).empty() && CellAmount(table, ccLoss, row) > 0;
        table.SetCell(ccDefer, row, loss ? "No" : "Yes");
    }
    RecalculateChoices(table, state);
}

void AutoMethod(CellTable& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        const ChoiceRow r = ReadChoiceRow(table, row);
        if (!r.NeedsChoice() || MethodIsChosen(r)) continue;
        table.SetCell(ccMethod, row, static_cast<Extended>(r.d) / 2 > r.i ? "Indexed" : "Discount");
    }
}

void ApplyCollectableLosses(CellTable& table, ChoiceState& state) {
    AutoDefer(table, state);
    LossApplier applier(table, ccCollectableApplied, state.cyc + state.pyc);
    ApplyToGroup(
        table, applier, [](const ChoiceRow& r) { return IsCollectableType(r.type); }, false,
        table.SortedRowOrder(kFactorOrder));
    KeepSourceOrder(table);
    UpdateTotals(table, state);
}

void ApplyOtherLosses(CellTable& table, ChoiceState& state) {
    UpdateTotals(table, state);
    LossApplier applier(table, ccOtherApplied, state.cyo + state.pyo);
    // The passes change neither the types nor the index factors: one order serves both groups.
    const std::vector<int> byFactor = table.SortedRowOrder(kFactorOrder);
    ApplyToGroup(
        table, applier, [](const ChoiceRow& r) { return IsNonActiveType(r.type); }, true, byFactor);
    ApplyToGroup(
        table, applier, [](const ChoiceRow& r) { return IsActiveType(r.type); }, true, byFactor);
    KeepSourceOrder(table);
    UpdateTotals(table, state);
}

void MakeAllChoices(CellTable& table, ChoiceState& state) {
    ClearColumns(table, {ccCollectableApplied, ccPriorCollectableApplied, ccOtherApplied,
                         ccTransferredApplied});
    ApplyCollectableLosses(table, state);
    ApplyOtherLosses(table, state);
    AutoMethod(table);
    RecalculateChoices(table, state);
}

void MakeDeferChoices(CellTable& table, ChoiceState& state) {
    ClearColumns(table, {ccDefer});
    AutoDefer(table, state);
}

void MakeMethodChoices(CellTable& table, ChoiceState& state) {
    ClearColumns(table, {ccMethod});
    AutoMethod(table);
    RecalculateChoices(table, state);
}

void ResetAllChoices(CellTable& table, ChoiceState& state, bool clear) {
    BuildChoiceRows(table, state);
    if (clear)
        ClearColumns(table, {ccMethod, ccDefer, ccCollectableApplied, ccPriorCollectableApplied,
                             ccOtherApplied, ccTransferredApplied});
    RecalculateChoices(table, state);
}

// ---- Leaving -------------------------------------------------------------------------------

std::optional<Refusal> ValidateChoiceTable(const CellTable& table, const ChoiceState& given) {
    ChoiceState state = given;
    UpdateTotals(table, state);
    constexpr Extended kTolerance = ExplicitZero;
    auto filledAbove = [&](int col, int row) {
        return !table.Cell(col, row).empty() && CellAmount(table, col, row) > kTolerance;
    };
    Extended ngc = 0, ngo = 0;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.Cell(ccNetGain, row).empty()) continue;
        (IsCollectableType(CellText(table, ccType, row)) ? ngc : ngo) +=
            CellAmount(table, ccNetGain, row);
    }
    for (int row = 1; row < table.RowCount(); ++row) {
        const bool deferred = CellIsYes(table, ccDeferAuto, row) || CellIsYes(table, ccDefer, row);
        auto refuse = [row](std::string_view message) {
            return Refusal{std::string(message), EventField::None, row, ccIndexed};
        };
        if (CellIsYes(table, ccCanDefer, row) && CellText(table, ccDefer, row).empty() &&
            !CellIsYes(table, ccDeferAuto, row))
            return refuse("You must advise if you wish to defer a gain that can be deferred.");
        if (deferred && filledAbove(ccNetGain, row))
            return refuse("If gain is deferred, net gain must be zero.");
        if (deferred &&
            (filledAbove(ccCollectableApplied, row) || filledAbove(ccOtherApplied, row)))
            return refuse("A loss cannot be applied against a deferred gain.");
        const std::string method = CellText(table, ccMethod, row);
        // A deferred gain has no method to choose.
        if (!deferred && CellIsYes(table, ccChoiceRequired, row) && method != "Indexed" &&
            method != "Discount")
            return refuse("You must choose the method you wish to use.");
        if (!table.Cell(ccNetGain, row).empty() && CellAmount(table, ccNetGain, row) < -kTolerance)
            return refuse("A loss applied cannot result in a negative gain.");
    }
    auto refuse = [](std::string message) {
        return Refusal{std::move(message), EventField::None, 1, ccIndexed};
    };
    if (state.rc() > kTolerance && ngc > kTolerance)
        return refuse("Collectable losses must be applied until available collectable gains are "
                      "exhausted.");
    if (state.ro() > kTolerance && ngo > kTolerance)
        return refuse("Losses must be applied until available gains are exhausted.");
    if (state.cyc + state.pyc < state.t12)
        return refuse("Collectable losses applied cannot be more than available.");
    if (state.cyo + state.pyo < state.t14)
        return refuse("Other losses applied cannot be more than available.");
    if (state.t15 < state.ti)
        return refuse("Check Capital losses transferred in. Losses cannot be transferred in "
                      "unless they can be applied.");
    if (state.t15 > state.ti)
        return refuse("Check Capital losses transferred in applied. Capital losses transferred in "
                      "applied cannot be more than available.\rIf necessary click prev and adjust "
                      "the amount of capital losses transferred in.\rTotal capital losses "
                      "transferred in applied are " +
                      FixedText10(static_cast<Extended>(state.t15), 0));
    return std::nullopt;
}

void StoreChoices(const CellTable& table) {
    const StringListRef trustList = GetFieldLst(tag::kTrustDistributionTable);
    const StringListRef manualList = GetFieldLst(tag::kManualCalculationTable);
    StringList trusts = trustList ? *trustList : StringList{};
    StringList manual = manualList ? *manualList : StringList{};
    std::map<int, std::map<int, std::vector<int>>> events; // worksheet -> row key -> table rows
    for (int row = 1; row < table.RowCount(); ++row) {
        if (table.IsRowEmpty(row)) continue;
        const int kind = CellInt(table, ccSourceKind, row);
        if (kind == kTrustSource || kind == kManualSource)
            StoreTableRow(table, row, trusts, manual);
        else if (kind >= wkShares && kind <= wkReceipts)
            events[kind][CellInt(table, ccSourceIndex, row)].push_back(row);
    }
    for (auto& [worksheet, rows] : events) {
        std::vector<int> keys;
        keys.reserve(rows.size());
        for (const auto& entry : rows)
            keys.push_back(entry.first);
        EditWorksheetRows(worksheet, keys, [&](int key) { StoreEventChoices(table, rows[key]); });
    }
    if (trustList) SetFieldLst(tag::kTrustDistributionTable, std::make_shared<StringList>(trusts));
    if (manualList) SetFieldLst(tag::kManualCalculationTable, std::make_shared<StringList>(manual));
}

void LeaveChoiceTable(const CellTable& table, const ChoiceState& state) {
    StoreChoices(table);
    ComputeSchedule(table, state);
}

std::string ShownChoiceCell(int col, const std::string& cell) {
    switch (col) {
    case ccIndexed:
    case ccDiscount:
    case ccOther:
    case ccLoss:
    case ccCollectableApplied:
    case ccPriorCollectableApplied:
    case ccOtherApplied:
    case ccTransferredApplied:
        if (const auto value = ParseNumber(cell)) return std::to_string(RoundedWhole(*value));
        return cell;
    default:
        return cell;
    }
}

std::string NetCapitalGainText(const ChoiceState& state) {
    const long long value = state.netCapitalGain;
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text(value < 0 ? "-$" : "$");
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text.push_back(',');
        text.push_back(digits[i]);
    }
    return text;
}

ChoiceRun RunChoiceTable(bool makeAllChoices) {
    ChoiceRun run;
    SetupChoiceTable(run.table);
    BuildChoiceRows(run.table, run.state);
    RecalculateChoices(run.table, run.state);
    if (makeAllChoices) MakeAllChoices(run.table, run.state);
    run.refused = ValidateChoiceTable(run.table, run.state);
    if (run.refused) return run;
    StringListRef rows;
    run.table.SaveRows(rows);
    SetFieldLst(tag::kChoiceTable, rows);
    LeaveChoiceTable(run.table, run.state);
    return run;
}

} // namespace cgt
