#include "cgt/rules/schedule.h"

#include <algorithm>
#include <array>
#include <vector>

#include "cgt/rules/choice_cells.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

using namespace tag::schedule;

constexpr std::string_view kScheduleName = "Capital gains tax (CGT) schedule 2001";
constexpr int kScheduleRow = 1;

enum MethodColumn { mIndex = 0, mDiscount = 1, mOther = 2 };
using Triple = std::array<long long, 3>;

// Part A's first label of a type's row; 0 for a type the schedule does not count.
int PartARow(std::string_view type) {
    if (type == "SN" || type == "UN") return kNonActiveSharesIndex;
    if (type == "RN") return kNonActiveRealEstateIndex;
    if (type == "P" || type == "ON") return kNonActiveOtherIndex;
    if (type == "A") return kCollectablesIndex;
    if (type == "SA" || type == "UA") return kActiveSharesIndex;
    if (type == "RA") return kActiveRealEstateIndex;
    if (type == "G" || type == "OA") return kActiveOtherIndex;
    return 0;
}

// Part B's label of a loss; collectable losses stay out of it (they reach the schedule through
// the collectables row and the carried-forward losses).
int PartBLabel(std::string_view type) {
    if (type == "SN" || type == "UN" || type == "SA" || type == "UA") return kLossesShares;
    if (type == "RN" || type == "RA") return kLossesRealEstate;
    if (type == "P" || type == "ON" || type == "G" || type == "OA") return kLossesOther;
    return 0;
}

struct Accumulated {
    std::vector<long long> partA = std::vector<long long>(kTotalGainsOther + 1, 0);
    long long partB[3] = {0, 0, 0};
    Triple gains{}, nonActiveAfter{}, activeAfter{};
    Triple collectable{}, other{}, transferred{}; // losses applied per method
};

// The method column a row counts in and its gain; no method for a loss row, a row whose method is
// still to be chosen or a row with no gain.
struct Counted {
    int method = -1;
    long long gain = 0;
};
Counted GainOf(const ChoiceRow& r) {
    if (r.l > 0) return {};
    if (r.choiceRequired == "Yes") {
        if (r.method == "Indexed") return {mIndex, r.i};
        if (r.method == "Discount") return {mDiscount, r.d};
        return {};
    }
    if (r.i > 0) return {mIndex, r.i};
    if (r.d > 0) return {mDiscount, r.d};
    if (r.o > 0) return {mOther, r.o};
    return {};
}

void CountRow(const ChoiceRow& r, Accumulated& acc) {
    if (r.Deferred() || (r.choiceRequired != "Yes" && r.choiceRequired != "No")) return;
    if (r.l > 0) {
        if (const int label = PartBLabel(r.type)) acc.partB[label - kLossesShares] += r.l;
        return;
    }
    const auto [method, gain] = GainOf(r);
    if (method < 0) return;
    const auto m = static_cast<std::size_t>(method);
    if (const int row = PartARow(r.type)) {
        acc.partA[static_cast<std::size_t>(row + method)] += gain;
        acc.gains[m] += gain;
        (IsActiveType(r.type) ? acc.activeAfter : acc.nonActiveAfter)[m] +=
            gain - r.c12 - r.c14 - r.c15;
    }
    if (r.c12 > 0) acc.collectable[m] += r.c12;
    if (r.c14 > 0) acc.other[m] += r.c14;
    if (r.c15 > 0) acc.transferred[m] += r.c15;
}

// The current-year part of losses applied per method, taken up in method order.
Triple CurrentPart(const Triple& applied, long long current) {
    Triple part{};
    long long left = current;
    for (std::size_t m = 0; m < 3; ++m) {
        part[m] = std::min(applied[m], left);
        left -= part[m];
    }
    return part;
}

void Put(int tag, long long value) {
    SetFieldVal(tag, static_cast<Extended>(value));
}

void PutTriple(int first, const Triple& values) {
    for (std::size_t m = 0; m < 3; ++m)
        Put(first + static_cast<int>(m), values[m]);
}

long long Sum(const Triple& t) {
    return t[0] + t[1] + t[2];
}

constexpr auto kLabels = [] {
    std::array<int, (749 - 711 + 1) + (1139 - 1100 + 1) + 1> labels{};
    std::size_t n = 0;
    for (int tag = kNonActiveSharesIndex; tag <= kTransferredLossesAppliedOther; ++tag)
        labels[n++] = tag;
    for (int tag = kTransferredLossesAppliedTotal; tag <= kScripRollOverChosen; ++tag)
        labels[n++] = tag;
    labels[n++] = kScripRollOverNotChosen;
    for (int tag = kScripOriginalCostBase; tag <= kScripCashConsideration; ++tag)
        labels[n++] = tag;
    return labels;
}();

} // namespace

void ComputeSchedule(const CellTable& table, const ChoiceState& given) {
    ChoiceState state = given;
    UpdateChoiceTotals(table, state);
    Accumulated acc;
    for (int row = 1; row < table.RowCount(); ++row)
        CountRow(ReadChoiceRow(table, row), acc);

    const long long currentOther = state.currentOtherApplied;
    const long long uc = state.unapplied.priorCollectable + state.unapplied.currentCollectable;
    const long long uo = state.unapplied.priorOther + state.unapplied.currentOther;

    FetchRow(wkSchedule, kScheduleRow);
    for (int tag = kNonActiveSharesIndex; tag <= kTotalGainsOther; ++tag)
        Put(tag, acc.partA[static_cast<std::size_t>(tag)]);
    Triple collectablesAfter{};
    for (std::size_t m = 0; m < 3; ++m)
        collectablesAfter[m] = acc.partA[kCollectablesIndex + m] - acc.collectable[m];
    PutTriple(kCollectablesIndex, collectablesAfter);
    Triple totals{};
    for (std::size_t m = 0; m < 3; ++m)
        totals[m] = acc.gains[m] - acc.collectable[m];
    PutTriple(kTotalGainsIndex, totals);

    for (int i = 0; i < 3; ++i)
        Put(kLossesShares + i, acc.partB[i]);
    Put(kLossesTotal, acc.partB[0] + acc.partB[1] + acc.partB[2]);

    const Triple current = CurrentPart(acc.other, currentOther);
    Triple prior{}, applied{};
    for (std::size_t m = 0; m < 3; ++m) {
        prior[m] = acc.other[m] - current[m];
        applied[m] = current[m] + prior[m];
    }
    PutTriple(kCurrentLossesAppliedIndex, current);
    Put(kCurrentLossesAppliedTotal, Sum(current));
    PutTriple(kPriorLossesAppliedIndex, prior);
    Put(kPriorLossesAppliedTotal, Sum(prior));
    PutTriple(kTransferredLossesAppliedIndex, acc.transferred);
    Put(kTransferredLossesAppliedTotal, Sum(acc.transferred));
    PutTriple(kLossesAppliedIndex, applied);
    Put(kLossesAppliedTotal, Sum(current) + Sum(prior));

    PutTriple(kNonActiveAfterLossesIndex, acc.nonActiveAfter);
    PutTriple(kActiveAfterLossesIndex, acc.activeAfter);
    Triple after{};
    for (std::size_t m = 0; m < 3; ++m)
        after[m] = acc.nonActiveAfter[m] + acc.activeAfter[m];
    PutTriple(kAfterLossesIndex, after);

    const long long total = Sum(totals);
    SetFieldVal(tag::kTotalCurrentYearGains,
                total == 0 && Sum(acc.gains) > 0 ? ExplicitZero : static_cast<Extended>(total));

    Put(kDiscountNonActive, acc.nonActiveAfter[mDiscount] / 2);
    Put(kDiscountActive, acc.activeAfter[mDiscount] / 2);

    Put(kCarriedCollectableLosses, uc);
    Put(kCarriedOtherLosses, uo);
    SetFieldVal(tag::kLossesCarriedForward, static_cast<Extended>(uc + uo));

    RecomputeNetCapitalGain();
    SetFieldStr(kName, kScheduleName);
    PutRow(wkSchedule, kScheduleRow);
}

void RecomputeNetCapitalGain() {
    const long long concessions[3] = {
        TagDollars(kActiveAssetReductionIndex) + TagDollars(kRetirementExemptionIndex) +
            TagDollars(kSmallBusinessRollOverIndex),
        TagDollars(kDiscountNonActive) + TagDollars(kDiscountActive) +
            TagDollars(kActiveAssetReductionDiscount) + TagDollars(kRetirementExemptionDiscount) +
            TagDollars(kSmallBusinessRollOverDiscount),
        TagDollars(kActiveAssetReductionOther) + TagDollars(kRetirementExemptionOther) +
            TagDollars(kSmallBusinessRollOverOther),
    };
    long long net = 0;
    for (int m = 0; m < 3; ++m) {
        Put(kConcessionsIndex + m, concessions[m]);
        const long long gain = TagDollars(kAfterLossesIndex + m) - concessions[m];
        Put(kNetGainIndex + m, gain);
        net += gain;
    }
    Put(kNetGainTotal, net);
    const bool gains = GetFieldVal(tag::kTotalCurrentYearGains) >= 0.005L;
    SetFieldVal(tag::kNetCapitalGain,
                net == 0 && gains ? ExplicitZero : static_cast<Extended>(net));
}

std::span<const int> ScheduleLabels() {
    return kLabels;
}

} // namespace cgt
