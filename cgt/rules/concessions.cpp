#include "cgt/rules/concessions.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "base/text.h"
#include "cgt/rules/choice_cells.h"
#include "cgt/rules/choice_table.h"
#include "cgt/rules/event_kinds.h"

namespace cgt {

namespace {

constexpr std::string_view kElectionsTitle = "SBAA concessions";
constexpr int kElectionCount = 3;

constexpr std::array kElectionsShown{
    ShownColumn{ecDescription, 162}, ShownColumn{ecIndexed, 70},   ShownColumn{ecDiscount, 70},
    ShownColumn{ecOther, 70},        ShownColumn{ecReduction, 70}, ShownColumn{ecRetirement, 70},
    ShownColumn{ecRollOver, 70},
};
constexpr std::array kScripShown{
    ShownColumn{scDescription, 261}, ShownColumn{scCostBase, 73}, ShownColumn{scMarketValue, 83},
    ShownColumn{scCash, 90},         ShownColumn{scProceeds, 74},
};

void Prepare(CellTable& table, int cols, const StringList& display, int rows) {
    table.SetColCount(cols);
    table.SetDisplay(display);
    table.ClearRows();
    table.SetRowCount(rows);
}

// Records of the manual and trust tables count from 0; their election rows from 1, as every
// worksheet row does.
ElectionSource SourceOf(const CellTable& table, int row, int kindCol, int indexCol) {
    const int kind = static_cast<int>(TruncatedDollars(CellAmount(table, kindCol, row)));
    const int index = static_cast<int>(TruncatedDollars(CellAmount(table, indexCol, row)));
    const bool record = kind == kManualSource || kind == kTrustSource;
    return {kind, record ? index + 1 : index};
}

bool Described(const CellTable& table, int row, int col) {
    return !CellText(table, col, row).empty();
}

void AppendRow(CellTable& table, int& row, std::initializer_list<std::string> cells) {
    ++row;
    if (row >= table.RowCount()) table.AppendRow();
    int col = 0;
    for (const std::string& cell : cells)
        table.SetCell(col++, row, cell);
}

std::string Dollars(Extended value) {
    return FixedText10(value, 0);
}

} // namespace

// ---- Concession elections ------------------------------------------------------------------

const StringList& ElectionsDisplay() {
    static const StringList display = [] {
        const std::string gain = "|1|1|12|0|T|F|2|F|0|0|0|0|0|T";
        const std::string election = "|1|1|12|0|F|F|2|F|0|0";
        return StringList{
            "Description|0|0|50|0|T",
            "Indexed\rGain" + gain,
            "Discount\rGain" + gain,
            "Other\rGain" + gain,
            "SBAAR" + election,
            "SBRE" + election,
            "SBRO" + election,
            "Wsheet|1|1|4|0|T|F|0|F|0|0|0|0|0|T",
            "Number|1|1|5|0|T|F|0|F|0|0|0|0|0|T",
        };
    }();
    return display;
}

std::span<const ShownColumn> ElectionsShownColumns() {
    return kElectionsShown;
}

void SetupElectionsTable(CellTable& table) {
    Prepare(table, kElectionColumns, ElectionsDisplay(), 7);
}

void LoadElectionRows(CellTable& table, const StringList* sources, const ElectionsOf& electionsOf) {
    table.ClearRows();
    if (sources) {
        const int rows = static_cast<int>(sources->size() / kElectionColumns);
        if (rows + 1 > table.RowCount()) table.SetRowCount(rows + 1);
        table.LoadRows(*sources);
    }
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!Described(table, row, ecDescription)) continue;
        const StringList elections = electionsOf(SourceOf(table, row, ecSourceKind, ecSourceIndex));
        for (int i = 1; i <= kElectionCount; ++i) {
            const auto entry = static_cast<std::size_t>(i);
            if (entry < elections.size() && !TrimText(elections[entry]).empty())
                table.SetCell(ecReduction + i - 1, row, TrimText(elections[entry]));
        }
    }
}

std::optional<Refusal> ValidateElections(const CellTable& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!Described(table, row, ecDescription)) continue;
        Extended gain = 0;
        for (int col : {ecIndexed, ecDiscount, ecOther})
            if (!table.Cell(col, row).empty()) {
                gain = CellAmount(table, col, row);
                break;
            }
        const Extended a = CellAmount(table, ecReduction, row);
        const Extended b = CellAmount(table, ecRetirement, row);
        const Extended c = CellAmount(table, ecRollOver, row);
        if (a > gain / 2)
            return Refusal{std::string(kReductionTooHigh), EventField::None, row, ecReduction};
        if (b > gain / 2)
            return Refusal{std::string(kRetirementTooHigh), EventField::None, row, ecRetirement};
        if (c > gain / 2)
            return Refusal{std::string(kRollOverTooHigh), EventField::None, row, ecRollOver};
        if (a + b + c > gain)
            return Refusal{std::string(kConcessionsAboveGain), EventField::None, row, ecReduction};
    }
    return std::nullopt;
}

std::vector<ElectionUpdate> ElectionsToStore(const CellTable& table) {
    std::vector<ElectionUpdate> updates;
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!Described(table, row, ecDescription)) continue;
        ElectionUpdate& update = updates.emplace_back();
        update.source = SourceOf(table, row, ecSourceKind, ecSourceIndex);
        update.elections.emplace_back(kElectionsTitle);
        for (int col : {ecReduction, ecRetirement, ecRollOver}) {
            const std::string& text = table.Cell(col, row);
            update.elections.push_back(text.empty() ? std::string(" ") : text);
        }
    }
    return updates;
}

void ElectionsToSchedule(const CellTable& table, Schedule& schedule, ReturnResults& results) {
    Extended sums[3][3] = {}; // concession × method
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!Described(table, row, ecDescription)) continue;
        for (int m = 0; m < 3; ++m) {
            if (CellText(table, ecIndexed + m, row).empty()) continue;
            for (int k = 0; k < 3; ++k)
                sums[k][m] += CellAmount(table, ecReduction + k, row);
        }
    }
    MethodAmounts Schedule::*const concessions[3] = {&Schedule::activeAssetReduction,
                                                     &Schedule::retirementExemption,
                                                     &Schedule::smallBusinessRollOver};
    for (int k = 0; k < 3; ++k)
        for (std::size_t m = 0; m < 3; ++m)
            (schedule.*concessions[k])[m] = static_cast<Extended>(RoundedWhole(sums[k][m]));
    RecomputeNetCapitalGain(schedule, results);
}

// ---- The 15-year exemption -----------------------------------------------------------------

const StringList& ExemptListDisplay() {
    static const StringList display{
        "Description\r(not sent)|0|0|60|0|T",
        "Asset\rType|0|0|2|0|T",
        "Capital\rGain|1|1|12|0|T",
    };
    return display;
}

void SetupExemptList(CellTable& table) {
    Prepare(table, kExemptColumns, ExemptListDisplay(), 8);
}

void FillExemptList(CellTable& table, const std::vector<Event>& events) {
    table.ClearRows();
    int row = 0;
    for (const Event& event : events) {
        if (!FifteenYearExempt(event)) continue;
        const EventResults& r = event.results;
        Extended gain = 0;
        if (r.indexedGain.AboveNil())
            gain = r.indexedGain.Amount();
        else if (r.discountGain.Present())
            gain = r.discountGain.Stored();
        else if (r.otherGain.Present())
            gain = r.otherGain.Stored();
        AppendRow(table, row, {event.name, event.typeCode.substr(0, 1), Dollars(gain)});
    }
    table.SortRows("2,1");
}

void ExemptionToSchedule(const CellTable& table, Schedule& schedule) {
    schedule.fifteenYearExemptGains = table.ColumnTotal(xcGain);
    schedule.fifteenYearAssetCode =
        Described(table, 1, xcDescription) ? CellText(table, xcTypeLetter, 1) : std::string();
}

// ---- Scrip for scrip -----------------------------------------------------------------------

const StringList& ScripListDisplay() {
    static const StringList display = [] {
        const std::string shown = "|1|1|12|0|T";
        const std::string typed = "|1|1|12|0|F|F|0|F|0|0";
        return StringList{
            "\rDescription\r(not sent)|0|0|60|0|T",
            "\rCost base\rof interest\rexchanged" + shown,
            "\rMarket\rvalue of\rreplacement\rinterests" + typed,
            "Amount of cash\rand other\rconsideration\rreceived" + typed,
            "\rTotal\rcapital\rproceeds" + shown,
            "Wsheet |1|1|4|0|T|F|0|F|0|0|0|0|0|T",
            "Number|1|1|5|0|T|F|0|F|0|0|0|0|0|T",
        };
    }();
    return display;
}

std::span<const ShownColumn> ScripListShownColumns() {
    return kScripShown;
}

void SetupScripList(CellTable& table) {
    Prepare(table, kScripColumns, ScripListDisplay(), 51);
}

void FillScripList(CellTable& table, const std::vector<Event>& events) {
    table.ClearRows();
    int row = 0;
    for (const Event& event : events) {
        const EventKind* kind = FindEventKind(event.kind);
        if (!kind || !kind->scripForScrip) continue;
        if (!event.scripForScrip.yes || TrimText(event.choices.deferment) != "Yes") continue;
        const EventResults& r = event.results;
        auto above = [](Extended v) { return v > 0 ? v : Extended(0); };
        const Extended cost =
            r.discountCostBase > ExplicitZero ? r.discountCostBase : above(event.receiptCosts);
        const Extended proceeds =
            r.discountProceeds > ExplicitZero ? r.discountProceeds : above(event.receiptProceeds);
        AppendRow(table, row,
                  {event.name, Dollars(cost), Dollars(above(event.choices.replacementMarketValue)),
                   Dollars(above(event.choices.cashConsideration)), Dollars(proceeds),
                   Dollars(event.kind), Dollars(event.row)});
    }
}

std::optional<Refusal> ValidateScrip(const CellTable& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
        const long long proceeds = TruncatedDollars(CellAmount(table, scProceeds, row));
        const long long paid = TruncatedDollars(CellAmount(table, scMarketValue, row) +
                                                CellAmount(table, scCash, row));
        if (proceeds != paid)
            return Refusal{std::string(kScripMismatch), EventField::None, row, scMarketValue};
    }
    return std::nullopt;
}

std::vector<ScripUpdate> ScripToStore(const CellTable& table) {
    std::vector<ScripUpdate> updates;
    for (int row = 1; row < table.RowCount(); ++row)
        if (Described(table, row, scDescription))
            updates.push_back({SourceOf(table, row, scWorksheet, scRowKey),
                               CellAmount(table, scMarketValue, row),
                               CellAmount(table, scCash, row)});
    return updates;
}

void ScripToSchedule(const CellTable& table, Schedule& schedule) {
    const bool chosen = Described(table, 1, scDescription);
    schedule.scripRollOverChosen = chosen;
    schedule.scripRollOverNotChosen = !chosen;
    schedule.scripOriginalCostBase = table.ColumnTotal(scCostBase);
    schedule.scripReplacementValue = table.ColumnTotal(scMarketValue);
    schedule.scripCashConsideration = table.ColumnTotal(scCash);
}

} // namespace cgt
