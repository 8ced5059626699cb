#include "cgt/rules/schedule.h"

#include <algorithm>

#include "cgt/rules/choice_cells.h"

namespace cgt {

namespace {

enum MethodColumn { mIndex = 0, mDiscount = 1, mOther = 2 };
using Triple = std::array<long long, 3>;

// Part A's row of a type; nullptr for a type the schedule does not count.
MethodAmounts Schedule::*PartARow(std::string_view type) {
    if (type == "SN" || type == "UN") return &Schedule::nonActiveShares;
    if (type == "RN") return &Schedule::nonActiveRealEstate;
    if (type == "P" || type == "ON") return &Schedule::nonActiveOther;
    if (type == "A") return &Schedule::collectables;
    if (type == "SA" || type == "UA") return &Schedule::activeShares;
    if (type == "RA") return &Schedule::activeRealEstate;
    if (type == "G" || type == "OA") return &Schedule::activeOther;
    return nullptr;
}

// Part B's label of a loss; collectable losses stay out of it (they reach the schedule through
// the collectables row and the carried-forward losses).
enum PartB { bShares = 0, bRealEstate = 1, bOther = 2, bNone = -1 };
int PartBLabel(std::string_view type) {
    if (type == "SN" || type == "UN" || type == "SA" || type == "UA") return bShares;
    if (type == "RN" || type == "RA") return bRealEstate;
    if (type == "P" || type == "ON" || type == "G" || type == "OA") return bOther;
    return bNone;
}

// Part A's rows in whole dollars as they are summed.
constexpr std::array<MethodAmounts Schedule::*, 7> kPartARows = {
    &Schedule::nonActiveShares, &Schedule::nonActiveRealEstate, &Schedule::nonActiveOther,
    &Schedule::collectables,    &Schedule::activeShares,        &Schedule::activeRealEstate,
    &Schedule::activeOther};

struct Accumulated {
    std::array<Triple, kPartARows.size()> partA{};
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
    if (r.loss.Dollars() > 0) return {};
    const long long i = r.indexed.Dollars(), d = r.discount.Dollars(), o = r.other.Dollars();
    if (r.NeedsChoice()) {
        if (r.method == Method::Indexed) return {mIndex, i};
        if (r.method == Method::Discount) return {mDiscount, d};
        return {};
    }
    if (i > 0) return {mIndex, i};
    if (d > 0) return {mDiscount, d};
    if (o > 0) return {mOther, o};
    return {};
}

void CountRow(const ChoiceRow& r, Accumulated& acc) {
    if (r.Deferred()) return;
    const std::string type = TrimText(r.type);
    if (const long long loss = r.loss.Dollars(); loss > 0) {
        if (const int label = PartBLabel(type); label != bNone) acc.partB[label] += loss;
        return;
    }
    const auto [method, gain] = GainOf(r);
    if (method < 0) return;
    const auto m = static_cast<std::size_t>(method);
    const auto row = PartARow(type);
    if (row) {
        const auto index = static_cast<std::size_t>(
            std::find(kPartARows.begin(), kPartARows.end(), row) - kPartARows.begin());
        acc.partA[index][m] += gain;
        acc.gains[m] += gain;
        (IsActiveType(type) ? acc.activeAfter : acc.nonActiveAfter)[m] +=
            gain - r.collectableApplied.Dollars() - r.otherApplied.Dollars() -
            r.transferredApplied.Dollars();
    }
    if (const long long c = r.collectableApplied.Dollars(); c > 0) acc.collectable[m] += c;
    if (const long long c = r.otherApplied.Dollars(); c > 0) acc.other[m] += c;
    if (const long long c = r.transferredApplied.Dollars(); c > 0) acc.transferred[m] += c;
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

MethodAmounts Amounts(const Triple& t) {
    return {static_cast<Extended>(t[0]), static_cast<Extended>(t[1]), static_cast<Extended>(t[2])};
}

long long Sum(const Triple& t) {
    return t[0] + t[1] + t[2];
}

// Part F: the CGT discount on the discount gains after losses. The discount takes the half dollar
// of an odd amount, so the net capital gain drops it as the choice table's line does. The active
// discount is what the discount on both together leaves, so that an odd non-active and an odd
// active amount make one whole dollar of discount between them. The amounts are never negative
// (the table refuses a negative net gain), so halving truncates down.
struct Discount {
    long long nonActive = 0, active = 0;
};
Discount DiscountOf(long long nonActiveGains, long long activeGains) {
    auto discount = [](long long gains) { return gains - gains / 2; };
    const long long nonActive = discount(nonActiveGains);
    return {nonActive, discount(nonActiveGains + activeGains) - nonActive};
}

// A label read as the schedule's arithmetic reads it: whole dollars, truncated.
long long Dollars(Extended value) {
    return TruncatedDollars(value);
}

} // namespace

void ComputeSchedule(const ChoiceTable& table, Schedule& s, ReturnResults& results) {
    const ChoiceState state = CurrentTotals(table);
    Accumulated acc;
    for (const ChoiceRow& row : table.rows)
        CountRow(row, acc);

    const long long currentOther = state.currentOtherApplied;
    const long long uc = state.unapplied.priorCollectable + state.unapplied.currentCollectable;
    const long long uo = state.unapplied.priorOther + state.unapplied.currentOther;

    for (std::size_t r = 0; r < kPartARows.size(); ++r)
        s.*kPartARows[r] = Amounts(acc.partA[r]);
    Triple collectablesAfter{};
    const std::size_t collectables = 3; // the collectables row of Part A
    for (std::size_t m = 0; m < 3; ++m)
        collectablesAfter[m] = acc.partA[collectables][m] - acc.collectable[m];
    s.collectables = Amounts(collectablesAfter);
    Triple totalGains{};
    for (std::size_t m = 0; m < 3; ++m)
        totalGains[m] = acc.gains[m] - acc.collectable[m];
    s.totalGains = Amounts(totalGains);

    s.lossesShares = static_cast<Extended>(acc.partB[bShares]);
    s.lossesRealEstate = static_cast<Extended>(acc.partB[bRealEstate]);
    s.lossesOther = static_cast<Extended>(acc.partB[bOther]);
    s.lossesTotal = static_cast<Extended>(acc.partB[0] + acc.partB[1] + acc.partB[2]);

    const Triple current = CurrentPart(acc.other, currentOther);
    Triple prior{}, applied{};
    for (std::size_t m = 0; m < 3; ++m) {
        prior[m] = acc.other[m] - current[m];
        applied[m] = current[m] + prior[m];
    }
    s.currentLossesApplied = Amounts(current);
    s.currentLossesAppliedTotal = static_cast<Extended>(Sum(current));
    s.priorLossesApplied = Amounts(prior);
    s.priorLossesAppliedTotal = static_cast<Extended>(Sum(prior));
    s.transferredLossesApplied = Amounts(acc.transferred);
    s.transferredLossesAppliedTotal = static_cast<Extended>(Sum(acc.transferred));
    s.lossesApplied = Amounts(applied);
    s.lossesAppliedTotal = static_cast<Extended>(Sum(current) + Sum(prior));

    s.nonActiveAfterLosses = Amounts(acc.nonActiveAfter);
    s.activeAfterLosses = Amounts(acc.activeAfter);
    Triple after{};
    for (std::size_t m = 0; m < 3; ++m)
        after[m] = acc.nonActiveAfter[m] + acc.activeAfter[m];
    s.afterLosses = Amounts(after);

    const long long total = Sum(totalGains);
    results.totalCurrentYearGains =
        total == 0 && Sum(acc.gains) > 0 ? ExplicitZero : static_cast<Extended>(total);

    const Discount discount = DiscountOf(acc.nonActiveAfter[mDiscount], acc.activeAfter[mDiscount]);
    s.discountNonActive = static_cast<Extended>(discount.nonActive);
    s.discountActive = static_cast<Extended>(discount.active);

    s.carriedCollectableLosses = static_cast<Extended>(uc);
    s.carriedOtherLosses = static_cast<Extended>(uo);
    results.lossesCarriedForward = static_cast<Extended>(uc + uo);

    RecomputeNetCapitalGain(s, results);
}

void RecomputeNetCapitalGain(Schedule& s, ReturnResults& results) {
    const long long concessions[3] = {
        Dollars(s.activeAssetReduction[mIndex]) + Dollars(s.retirementExemption[mIndex]) +
            Dollars(s.smallBusinessRollOver[mIndex]),
        Dollars(s.discountNonActive) + Dollars(s.discountActive) +
            Dollars(s.activeAssetReduction[mDiscount]) + Dollars(s.retirementExemption[mDiscount]) +
            Dollars(s.smallBusinessRollOver[mDiscount]),
        Dollars(s.activeAssetReduction[mOther]) + Dollars(s.retirementExemption[mOther]) +
            Dollars(s.smallBusinessRollOver[mOther]),
    };
    long long net = 0;
    for (std::size_t m = 0; m < 3; ++m) {
        s.concessions[m] = static_cast<Extended>(concessions[m]);
        const long long gain = Dollars(s.afterLosses[m]) - concessions[m];
        s.netGain[m] = static_cast<Extended>(gain);
        net += gain;
    }
    s.netGainTotal = static_cast<Extended>(net);
    const bool gains = results.totalCurrentYearGains >= 0.005L;
    results.netCapitalGain = net == 0 && gains ? ExplicitZero : static_cast<Extended>(net);
}

} // namespace cgt
