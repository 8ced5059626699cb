#include "cgt/rules/choice_table.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <utility>

#include "base/amounts.h"
#include "base/number_format.h"
#include "cgt/rules/choice_cells.h"
#include "cgt/rules/event_kinds.h"
#include "controls/core/cell_table.h"

namespace cgt {

// ---- Cells ---------------------------------------------------------------------------------

ChoiceAmount::ChoiceAmount(std::string text) : text_(std::move(text)) {
    const auto value = ParseNumber(text_);
    value_ = value ? *value : 0;
}

ChoiceAmount ChoiceAmount::Whole(Extended value) {
    return ChoiceAmount(FixedText10(value, 0));
}

ChoiceAmount ChoiceAmount::General(Extended value) {
    return ChoiceAmount(FormatGeneral(value));
}

ChoiceAmount ChoiceAmount::NetGain(Extended value) {
    return ChoiceAmount(value == 0 ? std::string("0") : FixedText10(value, 2));
}

ChoiceAmount ChoiceAmount::Factor(Extended value) {
    return ChoiceAmount(FixedText10(value, 5));
}

long long ChoiceAmount::Dollars() const {
    return RoundedWhole(value_);
}

ChoiceSource ChoiceSource::OfEvent(int worksheet, int key, std::string code) {
    return {Kind::Event, worksheet, key, std::move(code)};
}

ChoiceSource ChoiceSource::OfManual(int record) {
    return {Kind::Manual, 0, record, "C"};
}

ChoiceSource ChoiceSource::OfTrust(int record, std::string code) {
    return {Kind::Trust, 0, record, std::move(code)};
}

int ChoiceSource::Number() const {
    switch (kind) {
    case Kind::Event:
        return worksheet;
    case Kind::Manual:
        return kManualSource;
    case Kind::Trust:
        return kTrustSource;
    case Kind::None:
        break;
    }
    return 0;
}

std::string ChoiceSource::NumberText() const {
    return kind == Kind::None ? std::string() : FixedText10(Number(), 0);
}

std::string ChoiceSource::IndexText() const {
    return kind == Kind::None ? std::string() : FixedText10(index, 0);
}

ChoiceSource ChoiceSource::Of(int number, int index, std::string code) {
    if (number == kManualSource) return {Kind::Manual, 0, index, std::move(code)};
    if (number == kTrustSource) return {Kind::Trust, 0, index, std::move(code)};
    if (number != 0) return {Kind::Event, number, index, std::move(code)};
    return {Kind::None, 0, index, std::move(code)};
}

bool ChoiceRow::Empty() const {
    auto blank = [](std::string_view text) { return TrimBlanks(text).empty(); };
    for (const ChoiceAmount* a :
         {&indexed, &discount, &other, &loss, &collectableApplied, &priorCollectableApplied,
          &otherApplied, &transferredApplied, &netGain, &indexFactor})
        if (!blank(a->Text())) return false;
    return blank(section) && blank(description) && blank(type) && blank(source.code) &&
           choiceRequired == ChoiceAnswer::None && method == Method::None &&
           canDefer == ChoiceAnswer::None && deferAuto == ChoiceAnswer::None &&
           defer == ChoiceAnswer::None && source.kind == ChoiceSource::Kind::None;
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

const char* MethodText(Method method) {
    switch (method) {
    case Method::Indexed:
        return "Indexed";
    case Method::Discount:
        return "Discount";
    case Method::None:
        break;
    }
    return "";
}

Method MethodOfText(std::string_view text) {
    const std::string t = TrimText(text);
    if (t == "Indexed") return Method::Indexed;
    if (t == "Discount") return Method::Discount;
    return Method::None;
}

const char* AnswerText(ChoiceAnswer answer) {
    switch (answer) {
    case ChoiceAnswer::Yes:
        return "Yes";
    case ChoiceAnswer::No:
        return "No";
    case ChoiceAnswer::None:
        break;
    }
    return "";
}

ChoiceAnswer AnswerOfText(std::string_view text) {
    const std::string_view t = TrimBlanks(text);
    if (t == "Yes") return ChoiceAnswer::Yes;
    if (t == "No") return ChoiceAnswer::No;
    return ChoiceAnswer::None;
}

bool FifteenYearExempt(const Event& event) {
    return event.fifteenYearExemption && IsActiveType(event.typeCode) &&
           !event.results.capitalLoss.Present();
}

namespace {

// ---- Building ------------------------------------------------------------------------------

// A component of a trust distribution: its code, its column of the trust table, its amount on
// an event row, the description suffixes, the type, the gain it is and the gross-up factor.
struct Component {
    const char* code;
    int trustCell; // 1..9
    Extended TrustComponents::*amount;
    const char* suffix;
    const char* rowSuffix;
    const char* type;
    ChoiceAmount ChoiceRow::*gain;
    int factor;
};
constexpr std::array<Component, kTrustComponents> kComponents{{
    {"A1", 4, &TrustComponents::collectableIndexed, " - Trust Col/Ind", " - Trust Col/Ind", "A",
     &ChoiceRow::indexed, 1},
    {"A2", 1, &TrustComponents::otherIndexed, " - Trust Oth/Ind", " - Trust Oth/Ind", "ON",
     &ChoiceRow::indexed, 1},
    {"A3", 7, &TrustComponents::activeIndexed, " - Trust SBAA/Ind", " - Trust SBAA/Ind", "OA",
     &ChoiceRow::indexed, 2},
    {"A4", 5, &TrustComponents::collectableDiscount, " - Trust Col/Dis", " - Trust Col/Disc", "A",
     &ChoiceRow::discount, 2},
    {"A5", 2, &TrustComponents::otherDiscount, " - Trust Oth/Dis", " - Trust Oth/Dis", "ON",
     &ChoiceRow::discount, 2},
    {"A6", 8, &TrustComponents::activeDiscount, " - Trust SBAA/Dis", " - Trust SBAA/Dis", "OA",
     &ChoiceRow::discount, 4},
    {"A7", 6, &TrustComponents::collectableOther, " - Trust Col/Oth", " - Trust Col/Oth", "A",
     &ChoiceRow::other, 1},
    {"A8", 3, &TrustComponents::otherOther, " - Trust Oth/Oth", " - Trust Oth/Oth", "ON",
     &ChoiceRow::other, 1},
    {"A9", 9, &TrustComponents::activeOther, " - Trust SBAA/Oth", " - Trust SBAA/Oth", "OA",
     &ChoiceRow::other, 2},
}};

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
constexpr std::array<ChoiceAmount ChoiceRow::*, 3> kAppliedColumns = {
    &ChoiceRow::collectableApplied, &ChoiceRow::otherApplied, &ChoiceRow::transferredApplied};

// A choice is required when both amounts are at least the explicit zero and one of them is above
// it; then the index factor and the stored method. The amounts are the stored figures.
void SetChoice(ChoiceRow& row, Extended indexed, Extended discount, std::string_view method) {
    const bool required = indexed >= ExplicitZero && discount >= ExplicitZero &&
                          (AmountEntered(indexed) || AmountEntered(discount));
    row.choiceRequired = required ? ChoiceAnswer::Yes : ChoiceAnswer::No;
    if (!required) return;
    if (discount != 0) row.indexFactor = ChoiceAmount::Factor(indexed / discount * 100);
    row.method = MethodOfText(method);
}

void SetLossCells(ChoiceRow& row, const StringList& list) {
    if (list.empty()) return;
    const auto entries = LossEntries(row.source.code);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int entry = entries[i];
        if (entry >= 23 && list.size() <= 23) continue;
        if (entry < static_cast<int>(list.size())) {
            std::string text = TrimText(list[static_cast<std::size_t>(entry)]);
            if (!text.empty()) row.*kAppliedColumns[i] = ChoiceAmount(std::move(text));
        }
    }
}

void AddTrustRows(const TrustDistribution& trust, int record, std::vector<ChoiceRow>& rows) {
    for (const Component& c : kComponents) { // in the order of their codes
        const auto k = static_cast<std::size_t>(c.trustCell - 1);
        const std::string& amount = trust.components[k];
        if (TrimBlanks(amount).empty()) continue;
        ChoiceRow row;
        row.section = "Other trust";
        row.description = trust.name + c.suffix;
        row.type = c.type;
        row.*c.gain = c.factor == 1 ? ChoiceAmount(amount)
                                    : ChoiceAmount::Whole(ChoiceAmount(amount).Value() * c.factor);
        row.choiceRequired = ChoiceAnswer::No;
        row.canDefer = ChoiceAnswer::No;
        row.collectableApplied = ChoiceAmount(TrimText(trust.collectableApplied[k]));
        row.otherApplied = ChoiceAmount(TrimText(trust.otherApplied[k]));
        row.transferredApplied = ChoiceAmount(TrimText(trust.transferredApplied[k]));
        row.source = ChoiceSource::OfTrust(record, c.code);
        rows.push_back(std::move(row));
    }
}

void AddManualRow(const ChoiceRow& line, int record, std::vector<ChoiceRow>& rows) {
    if (line.description.empty()) return;
    ChoiceRow row;
    row.section = line.section;
    row.description = line.description;
    row.type = line.type;
    row.indexed = line.indexed;
    row.discount = line.discount;
    const Extended i = line.indexed.Value();
    const Extended d = line.discount.Value();
    if (!line.indexed.Empty() && !line.discount.Empty() && (AmountEntered(i) || AmountEntered(d))) {
        row.choiceRequired = ChoiceAnswer::Yes;
        // Without a discount gain there is no factor: the row goes last in the passes.
        if (d != 0) row.indexFactor = ChoiceAmount::Factor(i / d * 100);
        row.method = line.method;
    } else {
        row.choiceRequired = ChoiceAnswer::No;
    }
    row.other = line.other;
    row.loss = line.loss;
    row.canDefer = line.canDefer;
    row.deferAuto = line.deferAuto;
    row.defer = line.defer;
    row.collectableApplied = line.collectableApplied;
    row.otherApplied = line.otherApplied;
    row.transferredApplied = line.transferredApplied;
    row.source = ChoiceSource::OfManual(record);
    rows.push_back(std::move(row));
}

void AddEventRows(const Event& event, std::vector<ChoiceRow>& rows) {
    const EventKind* kind = FindEventKind(event.kind);
    const std::string section(kind ? kind->section : std::string_view());
    auto start = [&](std::string code) {
        ChoiceRow row;
        row.section = section;
        row.source = ChoiceSource::OfEvent(event.kind, event.row, std::move(code));
        return row;
    };
    auto finish = [&](ChoiceRow& row) {
        SetLossCells(row, event.choices.lossesApplied);
        rows.push_back(std::move(row));
    };
    if (kind && kind->trustComponents && event.trust.recorded)
        for (const Component& c : kComponents) {
            const Extended value = event.trust.*c.amount;
            if (value <= 0) continue;
            ChoiceRow row = start(c.code);
            row.description = event.name + c.rowSuffix;
            row.type = c.type;
            row.*c.gain = ChoiceAmount::Whole(value * c.factor);
            row.choiceRequired = ChoiceAnswer::No;
            row.canDefer = ChoiceAnswer::No;
            finish(row);
        }
    const EventResults& r = event.results;
    if (kind && kind->receiptRows && r.paymentGainThisYear) {
        ChoiceRow row = start("B");
        row.description = event.name + " - Non-ass receipt";
        row.type = "ON";
        const Extended i = r.paymentIndexedGain[0];
        const Extended d = r.paymentDiscountGain[0];
        const Extended o = r.paymentOtherGain[0];
        if (i > 0) row.indexed = ChoiceAmount::Whole(i);
        if (d > 0) row.discount = ChoiceAmount::Whole(d);
        SetChoice(row, i, d, event.choices.method);
        if (AmountEntered(o)) row.other = ChoiceAmount::Whole(o);
        row.canDefer = ChoiceAnswer::No;
        finish(row);
    }
    if (r.disposal) {
        ChoiceRow row = start("C");
        row.description = event.name + " - Disposal";
        row.type = event.typeCode;
        // A result the worksheet worked out, nil included, has its cell.
        if (r.indexedGain.Present()) row.indexed = ChoiceAmount::Whole(r.indexedGain.Stored());
        if (r.discountGain.Present()) row.discount = ChoiceAmount::Whole(r.discountGain.Stored());
        SetChoice(row, r.indexedGain.Stored(), r.discountGain.Stored(), event.choices.method);
        if (r.otherGain.Present()) row.other = ChoiceAmount::Whole(r.otherGain.Stored());
        if (r.capitalLoss.Present()) row.loss = ChoiceAmount::Whole(r.capitalLoss.Stored());
        if (event.rollOver.yes) {
            row.canDefer = ChoiceAnswer::Yes;
            if (event.marriageBreakdown.yes)
                row.deferAuto = ChoiceAnswer::Yes;
            else
                row.defer = AnswerOfText(event.choices.deferment);
        } else {
            row.canDefer = ChoiceAnswer::No;
        }
        finish(row);
    }
}

// ---- Orders --------------------------------------------------------------------------------

// A sort key as the grid's sort reads its column: an empty cell goes after the others, numbers
// compare by value, texts by their capitals. Rows that compare alike keep their order, and only
// rows whose cells hold the same text go on to the next key.
struct SortKey {
    bool number = false;
    std::string (*cell)(const ChoiceRow&); // the cell's text; empty for an empty cell
    Extended (*value)(const ChoiceRow&);   // a number key's value
};

std::vector<int> SortedOrder(const std::vector<ChoiceRow>& rows,
                             std::initializer_list<SortKey> keys) {
    std::vector<int> order(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        order[i] = static_cast<int>(i);
    if (rows.size() < 2) return order;
    struct Class {
        bool empty = true;
        Extended number = 0;
        std::string upper;
        std::string text;
    };
    std::vector<std::vector<Class>> classes;
    for (const SortKey& key : keys) {
        std::vector<Class>& column = classes.emplace_back(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            Class& cls = column[i];
            cls.text = key.cell(rows[i]);
            cls.empty = cls.text.empty();
            if (cls.empty) continue;
            if (key.number)
                cls.number = key.value(rows[i]);
            else
                cls.upper = UpperText(cls.text);
        }
    }
    const std::vector<SortKey> list(keys);
    auto sortRange = [&](auto& self, std::size_t begin, std::size_t end, std::size_t k) -> void {
        if (end - begin < 2 || k == list.size()) return;
        const auto& cls = classes[k];
        auto less = [&](int a, int b) {
            const Class& x = cls[static_cast<std::size_t>(a)];
            const Class& y = cls[static_cast<std::size_t>(b)];
            if (x.empty || y.empty) return !x.empty && y.empty;
            return list[k].number ? x.number < y.number : x.upper < y.upper;
        };
        auto first = order.begin() + static_cast<std::ptrdiff_t>(begin);
        auto last = order.begin() + static_cast<std::ptrdiff_t>(end);
        std::stable_sort(first, last, less);
        std::size_t run = begin;
        for (std::size_t i = begin + 1; i <= end; ++i) {
            const bool split = i == end || less(order[run], order[i]) ||
                               cls[static_cast<std::size_t>(order[i - 1])].text !=
                                   cls[static_cast<std::size_t>(order[i])].text;
            if (!split) continue;
            self(self, run, i, k + 1);
            run = i;
        }
    };
    sortRange(sortRange, 0, order.size(), 0);
    return order;
}

// Source order: the source's number, its index, then the row code.
std::vector<int> SourceOrder(const std::vector<ChoiceRow>& rows) {
    return SortedOrder(rows,
                       {SortKey{true, [](const ChoiceRow& r) { return r.source.NumberText(); },
                                [](const ChoiceRow& r) { return Extended(r.source.Number()); }},
                        SortKey{true, [](const ChoiceRow& r) { return r.source.IndexText(); },
                                [](const ChoiceRow& r) { return Extended(r.source.index); }},
                        SortKey{false, [](const ChoiceRow& r) { return r.source.code; }, nullptr}});
}

// The passes' order: the asset type, then the index factor.
std::vector<int> FactorOrder(const std::vector<ChoiceRow>& rows) {
    return SortedOrder(rows, {SortKey{false, [](const ChoiceRow& r) { return r.type; }, nullptr},
                              SortKey{true, [](const ChoiceRow& r) { return r.indexFactor.Text(); },
                                      [](const ChoiceRow& r) { return r.indexFactor.Value(); }}});
}

// The table keeps its rows in source order; putting them back in it drops the empty ones.
void KeepSourceOrder(std::vector<ChoiceRow>& rows) {
    const std::vector<int> order = SourceOrder(rows);
    bool sorted = true;
    for (std::size_t i = 0; i < order.size(); ++i)
        sorted = sorted && order[i] == static_cast<int>(i);
    if (sorted) return;
    std::vector<ChoiceRow> reordered;
    reordered.reserve(rows.size());
    for (int i : order)
        if (!rows[static_cast<std::size_t>(i)].Empty())
            reordered.push_back(std::move(rows[static_cast<std::size_t>(i)]));
    rows = std::move(reordered);
}

// ---- Totals --------------------------------------------------------------------------------

// Totals of the applied-loss columns and the current-year losses; deferred rows bring no loss.
// One pass over the rows.
void UpdateTotals(const std::vector<ChoiceRow>& rows, ChoiceState& state) {
    ColumnSum collectableApplied, otherApplied, transferredApplied;
    Extended collectable = 0, other = 0, all = 0;
    for (const ChoiceRow& r : rows) {
        collectableApplied.Add(r.collectableApplied.Text());
        otherApplied.Add(r.otherApplied.Text());
        transferredApplied.Add(r.transferredApplied.Text());
        if (r.Deferred()) continue;
        const Extended loss = r.loss.Value();
        (IsCollectableType(r.type) ? collectable : other) += loss;
        all += loss;
    }
    // The applied-loss columns are totalled as the grid totals its number columns.
    state.collectableApplied = TruncatedDollars(collectableApplied.Total());
    state.otherApplied = TruncatedDollars(otherApplied.Total());
    state.transferredApplied = TruncatedDollars(transferredApplied.Total());
    state.currentCollectableLosses = TruncatedDollars(collectable);
    state.currentOtherLosses = TruncatedDollars(other);
    state.currentYearLosses = all;
}

void SplitAppliedLosses(ChoiceState& state) {
    state.currentCollectableApplied =
        std::min(state.collectableApplied, state.currentCollectableLosses);
    state.priorCollectableApplied = state.collectableApplied - state.currentCollectableApplied;
    state.currentOtherApplied = std::min(state.otherApplied, state.currentOtherLosses);
    state.priorOtherApplied = state.otherApplied - state.currentOtherApplied;
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
    split(state.collectableApplied, state.currentCollectableLosses, state.priorCollectableLosses,
          u.currentCollectable, u.priorCollectable);
    split(state.otherApplied, state.currentOtherLosses, state.priorOtherLosses, u.currentOther,
          u.priorOther);
}

// ---- Net gains -----------------------------------------------------------------------------

// The net gain of a row as the table computes it; nothing for a deferred row, a loss row or a
// row whose method is still to be chosen. `method` says which gain the net gain is of.
enum class GainMethod { None, Indexed, Discount, Other };
struct NetGain {
    GainMethod method = GainMethod::None;
    Extended amount = 0;
};
NetGain NetGainOf(const ChoiceRow& r) {
    const Extended applied = static_cast<Extended>(
        r.collectableApplied.Dollars() + r.transferredApplied.Dollars() + r.otherApplied.Dollars());
    const long long i = r.indexed.Dollars(), d = r.discount.Dollars(), o = r.other.Dollars();
    if (r.NeedsChoice()) {
        if (r.method == Method::Indexed) return {GainMethod::Indexed, i - applied};
        if (r.method == Method::Discount) return {GainMethod::Discount, (d - applied) / 2};
        return {};
    }
    if (i > 0) return {GainMethod::Indexed, i - applied};
    if (d > 0) return {GainMethod::Discount, (d - applied) / 2};
    if (o > 0) return {GainMethod::Other, o - applied};
    return {};
}

// One row's net gain; an active asset's gain is added to the concession sources.
void RecalculateRow(ChoiceRow& row, StringList& sources) {
    if (row.Deferred()) {
        for (ChoiceAmount ChoiceRow::*applied : kAppliedColumns)
            row.*applied = ChoiceAmount();
        row.netGain = ChoiceAmount::NetGain(0);
        return;
    }
    const NetGain net = NetGainOf(row);
    if (net.method == GainMethod::None) return;
    row.netGain = ChoiceAmount::NetGain(net.amount);
    if (!IsActiveType(row.type)) return;
    const std::string& gain = row.netGain.Text();
    sources.push_back(row.description);
    sources.push_back(net.method == GainMethod::Indexed ? gain : std::string());
    sources.push_back(net.method == GainMethod::Discount ? gain : std::string());
    sources.push_back(net.method == GainMethod::Other ? gain : std::string());
    sources.insert(sources.end(), 3, std::string());
    sources.push_back(row.source.NumberText());
    sources.push_back(row.source.IndexText());
}

// ---- The automatic passes ------------------------------------------------------------------

// Applying one kind of loss, collectable or other, with the remaining amount kept as a running
// total of the column, so that each pass is linear in the rows.
class LossApplier {
public:
    LossApplier(std::vector<ChoiceRow>& rows, ChoiceAmount ChoiceRow::*column, long long available)
        : rows_(rows), column_(column), available_(available) {
        ColumnSum sum;
        for (const ChoiceRow& r : rows)
            sum.Add((r.*column).Text());
        total_ = sum.Total();
    }

    long long Remaining() const { return available_ - TruncatedDollars(total_); }

    void Write(int row, Extended amount) {
        ChoiceAmount& cell = rows_[static_cast<std::size_t>(row)].*column_;
        total_ += amount - cell.Value();
        cell = ChoiceAmount::General(amount);
    }

    // Applies the remaining losses to gain g of a row whose collectable loss applied is
    // `collectable` (other losses only; 0 for collectable losses).
    void Apply(int row, long long g, long long collectable, bool discountPass) {
        const long long rest = Remaining();
        if (g <= rest + collectable)
            Write(row, static_cast<Extended>(g - collectable));
        else if (rest > 0)
            Write(row, static_cast<Extended>(discountPass ? rest - collectable : rest));
    }

    // A row that needs a method: indexed when the indexed gain is absorbed, or when the
    // discount method leaves more after the remaining losses; discount otherwise. Returns the
    // method chosen.
    Method Choose(int row, long long i, long long d, long long collectable) {
        Method& method = rows_[static_cast<std::size_t>(row)].method;
        const long long rest = Remaining();
        if (i <= rest) {
            method = Method::Indexed;
            Write(row, static_cast<Extended>(i - collectable));
            return method;
        }
        const long long usable = std::max(rest, 0LL); // no losses left: nothing to write
        const bool indexed = static_cast<Extended>(d - usable) / 2 > i - usable;
        method = indexed ? Method::Indexed : Method::Discount;
        if (!indexed)
            Apply(row, d, collectable, false); // never more than the discount gain itself
        else if (rest > 0)
            Write(row, static_cast<Extended>(rest - collectable));
        return indexed ? Method::Indexed : Method::Discount;
    }

private:
    std::vector<ChoiceRow>& rows_;
    ChoiceAmount ChoiceRow::*column_;
    long long available_;
    Extended total_ = 0;
};

using RowFilter = bool (*)(std::string_view type);

// The passes of one group of rows: indexed and other gains in table order, then rows needing a
// method and then discount gains, both in the order of type and index factor (`byFactor`, the
// rows in that order). The table itself stays in source order; each row is read once.
void ApplyToGroup(const std::vector<ChoiceRow>& rows, LossApplier& applier, RowFilter inGroup,
                  bool otherLosses, const std::vector<int>& byFactor) {
    // What the passes use of a member row.
    struct Member {
        int row;
        long long i, d, o;
        long long collectable; // collectable losses applied, for other losses only
        bool noChoice;         // no choice required
        bool needsChoice;      // a choice required
        Method method;
    };
    std::vector<Member> members;
    std::vector<int> memberOf(rows.size(), -1);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ChoiceRow& r = rows[row];
        if (r.Deferred() || !inGroup(r.type)) continue;
        memberOf[row] = static_cast<int>(members.size());
        members.push_back({static_cast<int>(row), r.indexed.Dollars(), r.discount.Dollars(),
                           r.other.Dollars(), otherLosses ? r.collectableApplied.Dollars() : 0,
                           r.NoChoice(), r.NeedsChoice(), r.method});
    }
    if (members.empty()) return;
    for (const Member& m : members)
        if ((m.noChoice || m.method == Method::Indexed) && m.i > 0)
            applier.Apply(m.row, m.i, m.collectable, false);
    for (const Member& m : members)
        if (m.noChoice && m.o > 0) applier.Apply(m.row, m.o, m.collectable, false);
    std::vector<Member*> ordered;
    ordered.reserve(members.size());
    for (int row : byFactor)
        if (const int i = memberOf[static_cast<std::size_t>(row)]; i >= 0)
            ordered.push_back(&members[static_cast<std::size_t>(i)]);
    for (Member* m : ordered)
        if (m->needsChoice && m->method == Method::None && m->i > 0 && m->d > 0)
            m->method = applier.Choose(m->row, m->i, m->d, m->collectable);
    for (const Member* m : ordered)
        if ((m->noChoice || m->method == Method::Discount) && m->d > 0)
            applier.Apply(m->row, m->d, m->collectable, true);
}

// The cells of the choices and applied losses, emptied.
enum class Cleared { Methods, Deferrals, AppliedLosses };
void Clear(std::vector<ChoiceRow>& rows, std::initializer_list<Cleared> what) {
    for (ChoiceRow& r : rows)
        for (Cleared c : what)
            switch (c) {
            case Cleared::Methods:
                r.method = Method::None;
                break;
            case Cleared::Deferrals:
                r.defer = ChoiceAnswer::None;
                break;
            case Cleared::AppliedLosses:
                r.collectableApplied = r.priorCollectableApplied = r.otherApplied =
                    r.transferredApplied = ChoiceAmount();
                break;
            }
}

// ---- Storing -------------------------------------------------------------------------------

// One event's rows: a new losses-applied list and the choices of rows "B" and "C" ("C" last).
EventChoiceUpdate EventChoicesOf(const std::vector<ChoiceRow>& all, std::vector<int> rows) {
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        return TrimText(all[static_cast<std::size_t>(a)].source.code) <
               TrimText(all[static_cast<std::size_t>(b)].source.code);
    });
    EventChoiceUpdate update;
    update.lossesApplied.assign(kLossListSize, " ");
    update.lossesApplied[0] = kLossListTitle;
    for (int index : rows) {
        const ChoiceRow& row = all[static_cast<std::size_t>(index)];
        const std::string code = TrimText(row.source.code);
        const auto entries = LossEntries(code);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const int entry = entries[i];
            if (entry <= 0 || entry >= kLossListSize) continue;
            const std::string& text = (row.*kAppliedColumns[i]).Text();
            update.lossesApplied[static_cast<std::size_t>(entry)] = text.empty() ? " " : text;
        }
        if (code == "B" || code == "C") { // "C" comes last and wins
            update.method = MethodText(row.method);
            update.deferment = AnswerText(row.defer);
        }
    }
    return update;
}

} // namespace

// ---- The table -----------------------------------------------------------------------------

void ChoiceTableBuilder::AddEvent(const Event& event) {
    table_.state.hasSources = true;
    if (!FifteenYearExempt(event)) AddEventRows(event, table_.rows);
}

void ChoiceTableBuilder::AddManualLine(const ChoiceRow& line) {
    table_.state.hasSources = true;
    AddManualRow(line, manualLines_++, table_.rows);
}

void ChoiceTableBuilder::AddTrust(const TrustDistribution& trust) {
    table_.state.hasSources = true;
    AddTrustRows(trust, trusts_++, table_.rows);
}

ChoiceTable ChoiceTableBuilder::Finish(Extended priorCollectableLosses, Extended priorOtherLosses,
                                       Extended transferredInLosses) {
    // Built in source order: worksheets by number and row key, the manual table, the trust
    // table; each source's rows by code.
    KeepSourceOrder(table_.rows);
    ChoiceState& state = table_.state;
    state.priorCollectableLosses = TruncatedDollars(priorCollectableLosses);
    state.priorOtherLosses = TruncatedDollars(priorOtherLosses);
    state.transferredInLosses = TruncatedDollars(transferredInLosses);
    UpdateChoiceTotals(table_);
    return std::move(table_);
}

ChoiceTable BuildChoiceTable(const ChoiceSources& sources) {
    ChoiceTableBuilder builder;
    for (const Event& event : sources.events)
        builder.AddEvent(event);
    for (const ChoiceRow& line : sources.manual)
        builder.AddManualLine(line);
    for (const TrustDistribution& trust : sources.trusts)
        builder.AddTrust(trust);
    return builder.Finish(sources.priorCollectableLosses, sources.priorOtherLosses,
                          sources.transferredInLosses);
}

void AddEventToTable(ChoiceTable& table, const Event& event) {
    table.state.hasSources = true;
    if (!FifteenYearExempt(event)) AddEventRows(event, table.rows);
    UpdateChoiceTotals(table);
}

void UpdateChoiceTotals(ChoiceTable& table) {
    UpdateTotals(table.rows, table.state);
    SplitAppliedLosses(table.state);
}

ChoiceState CurrentTotals(const ChoiceTable& table) {
    ChoiceState state = table.state;
    UpdateTotals(table.rows, state);
    SplitAppliedLosses(state);
    return state;
}

void RecalculateChoices(ChoiceTable& table) {
    StringList sources;
    ColumnSum net; // the net gain column's total, as the grid totals it
    for (ChoiceRow& row : table.rows) {
        RecalculateRow(row, sources);
        net.Add(row.netGain.Text());
    }
    table.concessionSources = std::move(sources);
    UpdateChoiceTotals(table);
    table.state.netCapitalGain = TruncatedDollars(net.Total());
}

void AutoDefer(ChoiceTable& table) {
    for (ChoiceRow& row : table.rows) {
        if (row.canDefer != ChoiceAnswer::Yes || row.defer == ChoiceAnswer::No) continue;
        const bool loss = !row.loss.Empty() && row.loss.Value() > 0;
        row.defer = loss ? ChoiceAnswer::No : ChoiceAnswer::Yes;
    }
    RecalculateChoices(table);
}

void AutoMethod(ChoiceTable& table) {
    for (ChoiceRow& row : table.rows) {
        if (!row.NeedsChoice() || row.MethodChosen()) continue;
        row.method = static_cast<Extended>(row.discount.Dollars()) / 2 > row.indexed.Dollars()
                         ? Method::Indexed
                         : Method::Discount;
    }
}

void ApplyCollectableLosses(ChoiceTable& table) {
    AutoDefer(table);
    ChoiceState& s = table.state;
    LossApplier applier(table.rows, &ChoiceRow::collectableApplied,
                        s.currentCollectableLosses + s.priorCollectableLosses);
    ApplyToGroup(table.rows, applier, IsCollectableType, false, FactorOrder(table.rows));
    KeepSourceOrder(table.rows);
    UpdateTotals(table.rows, s);
}

void ApplyOtherLosses(ChoiceTable& table) {
    ChoiceState& s = table.state;
    UpdateTotals(table.rows, s);
    LossApplier applier(table.rows, &ChoiceRow::otherApplied,
                        s.currentOtherLosses + s.priorOtherLosses);
    // The passes change neither the types nor the index factors: one order serves both groups.
    const std::vector<int> byFactor = FactorOrder(table.rows);
    ApplyToGroup(table.rows, applier, IsNonActiveType, true, byFactor);
    ApplyToGroup(table.rows, applier, IsActiveType, true, byFactor);
    KeepSourceOrder(table.rows);
    UpdateTotals(table.rows, s);
}

void MakeAllChoices(ChoiceTable& table) {
    Clear(table.rows, {Cleared::AppliedLosses});
    ApplyCollectableLosses(table);
    ApplyOtherLosses(table);
    AutoMethod(table);
    RecalculateChoices(table);
}

void MakeDeferChoices(ChoiceTable& table) {
    Clear(table.rows, {Cleared::Deferrals});
    AutoDefer(table);
}

void MakeMethodChoices(ChoiceTable& table) {
    Clear(table.rows, {Cleared::Methods});
    AutoMethod(table);
    RecalculateChoices(table);
}

void ResetAllChoices(ChoiceTable& table, ChoiceTable rebuilt, bool clear) {
    table = std::move(rebuilt);
    if (clear) Clear(table.rows, {Cleared::Methods, Cleared::Deferrals, Cleared::AppliedLosses});
    RecalculateChoices(table);
}

std::optional<Refusal> ValidateChoiceTable(const ChoiceTable& table) {
    ChoiceState state = table.state;
    UpdateTotals(table.rows, state);
    constexpr Extended kTolerance = ExplicitZero;
    auto filledAbove = [](const ChoiceAmount& a) { return !a.Empty() && a.Value() > kTolerance; };
    Extended collectableNet = 0, otherNet = 0;
    for (const ChoiceRow& r : table.rows) {
        if (r.netGain.Empty()) continue;
        (IsCollectableType(r.type) ? collectableNet : otherNet) += r.netGain.Value();
    }
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const ChoiceRow& r = table.rows[i];
        const int row = static_cast<int>(i) + 1;
        auto refuse = [row](std::string_view message) {
            return Refusal{std::string(message), EventField::None, row, ccIndexed};
        };
        const bool deferred = r.Deferred();
        if (r.canDefer == ChoiceAnswer::Yes && r.defer == ChoiceAnswer::None &&
            r.deferAuto != ChoiceAnswer::Yes)
            return refuse("You must advise if you wish to defer a gain that can be deferred.");
        if (deferred && filledAbove(r.netGain))
            return refuse("If gain is deferred, net gain must be zero.");
        if (deferred && (filledAbove(r.collectableApplied) || filledAbove(r.otherApplied)))
            return refuse("A loss cannot be applied against a deferred gain.");
        // A deferred gain has no method to choose.
        if (!deferred && r.NeedsChoice() && !r.MethodChosen())
            return refuse("You must choose the method you wish to use.");
        if (!r.netGain.Empty() && r.netGain.Value() < -kTolerance)
            return refuse("A loss applied cannot result in a negative gain.");
    }
    auto refuse = [](std::string message) {
        return Refusal{std::move(message), EventField::None, 1, ccIndexed};
    };
    if (state.RemainingCollectable() > kTolerance && collectableNet > kTolerance)
        return refuse("Collectable losses must be applied until available collectable gains are "
                      "exhausted.");
    if (state.RemainingOther() > kTolerance && otherNet > kTolerance)
        return refuse("Losses must be applied until available gains are exhausted.");
    if (state.currentCollectableLosses + state.priorCollectableLosses < state.collectableApplied)
        return refuse("Collectable losses applied cannot be more than available.");
    if (state.currentOtherLosses + state.priorOtherLosses < state.otherApplied)
        return refuse("Other losses applied cannot be more than available.");
    if (state.transferredApplied < state.transferredInLosses)
        return refuse("Check Capital losses transferred in. Losses cannot be transferred in "
                      "unless they can be applied.");
    if (state.transferredApplied > state.transferredInLosses)
        return refuse("Check Capital losses transferred in applied. Capital losses transferred in "
                      "applied cannot be more than available.\rIf necessary click prev and adjust "
                      "the amount of capital losses transferred in.\rTotal capital losses "
                      "transferred in applied are " +
                      FixedText10(static_cast<Extended>(state.transferredApplied), 0));
    return std::nullopt;
}

ChoiceUpdates ChoicesToStore(const ChoiceTable& table) {
    ChoiceUpdates updates;
    std::map<int, std::map<int, std::vector<int>>> events; // worksheet -> row key -> rows
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const ChoiceRow& row = table.rows[i];
        if (row.Empty()) continue;
        switch (row.source.kind) {
        case ChoiceSource::Kind::Trust:
            if (const Component* c = ComponentOfCode(TrimText(row.source.code)))
                updates.trusts.push_back({row.source.index, c->trustCell, row});
            break;
        case ChoiceSource::Kind::Manual:
            updates.manual.push_back({row.source.index, 0, row});
            break;
        case ChoiceSource::Kind::Event:
            if (row.source.worksheet >= wkShares && row.source.worksheet <= wkReceipts)
                events[row.source.worksheet][row.source.index].push_back(static_cast<int>(i));
            break;
        case ChoiceSource::Kind::None:
            break;
        }
    }
    for (auto& [worksheet, keys] : events)
        for (auto& [key, rows] : keys)
            updates.events.push_back({worksheet, key, std::move(rows)});
    return updates;
}

EventChoiceUpdate EventChoices(const ChoiceTable& table, const EventRows& event) {
    return EventChoicesOf(table.rows, event.rows);
}

std::string NetCapitalGainText(const ChoiceState& state) {
    return DollarsText(state.netCapitalGain);
}

std::string DollarsText(long long value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text(value < 0 ? "-$" : "$");
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text.push_back(',');
        text.push_back(digits[i]);
    }
    return text;
}

namespace {

// FNV-1a, 64 bits, over texts each followed by a separator.
class Digest {
public:
    Digest& operator<<(std::string_view text) {
        for (unsigned char c : text)
            mix(c);
        mix(0x1f);
        return *this;
    }
    Digest& operator<<(long long value) { return *this << std::to_string(value); }
    std::uint64_t value() const { return hash_; }

private:
    void mix(unsigned char c) {
        hash_ ^= c;
        hash_ *= 0x100000001b3ULL;
    }
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

std::uint64_t RowDigest(const ChoiceRow& row) {
    Digest d;
    d << row.section << row.description << row.type << row.indexed.Text() << row.discount.Text()
      << AnswerText(row.choiceRequired) << row.other.Text() << row.loss.Text()
      << AnswerText(row.canDefer) << AnswerText(row.deferAuto) << row.source.NumberText()
      << row.source.IndexText() << row.source.code;
    return d.value();
}

} // namespace

std::string ChoiceSourcesDigest(const ChoiceTable& table) {
    // A sum of the rows' digests, so that the grid's sorting does not change it.
    std::uint64_t rows = 0;
    for (const ChoiceRow& row : table.rows)
        if (row.source.kind != ChoiceSource::Kind::None) rows += RowDigest(row);
    Digest d;
    d << static_cast<long long>(rows) << table.state.priorCollectableLosses
      << table.state.priorOtherLosses << table.state.transferredInLosses;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(d.value()));
    return text;
}

} // namespace cgt
