#include "cgt/rules/concessions.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "cgt/rules/choice_cells.h"
#include "cgt/rules/choice_table.h"
#include "cgt/rules/schedule.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

constexpr int kScheduleRow = 1;
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

// Rows with a description, as (source kind, source index) with the table row.
struct Source {
    int kind;
    int index;
};
// Records of the manual and trust tables count from 0; their election rows from 1, as every
// worksheet row does.
Source SourceOf(const CellTable& table, int row, int kindCol, int indexCol) {
    const int kind = static_cast<int>(TruncatedDollars(CellAmount(table, kindCol, row)));
    const int index = static_cast<int>(TruncatedDollars(CellAmount(table, indexCol, row)));
    const bool record = kind == kManualSource || kind == kTrustSource;
    return {kind, record ? index + 1 : index};
}

bool Described(const CellTable& table, int row, int col) {
    return !CellText(table, col, row).empty();
}

// The rows of the given worksheets' sources edited in one pass per worksheet.
void EditSources(const CellTable& table, int kindCol, int indexCol,
                 const std::function<void(int row)>& edit, int descriptionCol) {
    std::map<int, std::map<int, std::vector<int>>> sources;
    for (int row = 1; row < table.RowCount(); ++row)
        if (Described(table, row, descriptionCol)) {
            const Source s = SourceOf(table, row, kindCol, indexCol);
            sources[s.kind][s.index].push_back(row);
        }
    for (auto& [kind, rows] : sources) {
        std::vector<int> keys;
        for (const auto& entry : rows)
            keys.push_back(entry.first);
        EditWorksheetRows(kind, keys, [&](int key) {
            for (int row : rows[key])
                edit(row);
        });
    }
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

void FillElections(CellTable& table) {
    const StringListRef sources = GetFieldLst(tag::kConcessionSources);
    table.ClearRows();
    if (sources) {
        const int rows = static_cast<int>(sources->size() / kElectionColumns);
        if (rows + 1 > table.RowCount()) table.SetRowCount(rows + 1);
        table.LoadRows(*sources);
    }
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!Described(table, row, ecDescription)) continue;
        const Source s = SourceOf(table, row, ecSourceKind, ecSourceIndex);
        CopyRowToScratch(WorksheetOf(s.kind), s.index);
        const StringListRef elections = GetFieldLst(tag::event::kConcessionElections);
        for (int i = 1; elections && i <= kElectionCount; ++i) {
            const auto entry = static_cast<std::size_t>(i);
            if (entry < elections->size() && !TrimText((*elections)[entry]).empty())
                table.SetCell(ecReduction + i - 1, row, TrimText((*elections)[entry]));
        }
    }
    ZeroFillScratchTags();
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

void StoreElections(const CellTable& table) {
    EditSources(
        table, ecSourceKind, ecSourceIndex,
        [&](int row) {
            auto list = std::make_shared<StringList>();
            list->emplace_back(kElectionsTitle);
            for (int col : {ecReduction, ecRetirement, ecRollOver}) {
                const std::string& text = table.Cell(col, row);
                list->push_back(text.empty() ? std::string(" ") : text);
            }
            SetFieldLst(tag::event::kConcessionElections, list);
        },
        ecDescription);
}

void TotalElections(const CellTable& table) {
    Extended sums[3][3] = {}; // concession × method
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!Described(table, row, ecDescription)) continue;
        for (int m = 0; m < 3; ++m) {
            if (CellText(table, ecIndexed + m, row).empty()) continue;
            for (int k = 0; k < 3; ++k)
                sums[k][m] += CellAmount(table, ecReduction + k, row);
        }
    }
    using namespace tag::schedule;
    FetchRow(wkSchedule, kScheduleRow);
    const int first[3] = {kActiveAssetReductionIndex, kRetirementExemptionIndex,
                          kSmallBusinessRollOverIndex};
    for (int k = 0; k < 3; ++k)
        for (int m = 0; m < 3; ++m)
            SetFieldVal(first[k] + m, static_cast<Extended>(RoundedWhole(sums[k][m])));
    RecomputeNetCapitalGain();
    PutRow(wkSchedule, kScheduleRow);
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

void BuildExemptList(CellTable& table) {
    using namespace tag::event;
    table.ClearRows();
    int row = 0;
    ForEachEventRow(wkShares, wkReceipts, [&](int, int) {
        if (!OpenEventIsFifteenYearExempt()) return;
        const std::string type = TrimText(GetFieldStr(kAssetType));
        Extended gain = 0;
        if (GetFieldVal(kIndexedGain) > ExplicitZero)
            gain = GetFieldVal(kIndexedGain);
        else if (GetFieldVal(kDiscountGain) > 0)
            gain = GetFieldVal(kDiscountGain);
        else if (GetFieldVal(kOtherGain) > 0)
            gain = GetFieldVal(kOtherGain);
        AppendRow(table, row, {GetFieldStr(kName), type.substr(0, 1), Dollars(gain)});
    });
    table.SortRows("2,1");
}

void StoreExemption(const CellTable& table) {
    using namespace tag::schedule;
    FetchRow(wkSchedule, kScheduleRow);
    SetFieldVal(kFifteenYearExemptGains, table.ColumnTotal(xcGain));
    SetFieldStr(kFifteenYearAssetCode, Described(table, 1, xcDescription)
                                           ? CellText(table, xcTypeLetter, 1)
                                           : std::string());
    PutRow(wkSchedule, kScheduleRow);
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

void BuildScripList(CellTable& table) {
    using namespace tag::event;
    table.ClearRows();
    int row = 0;
    ForEachEventRow(wkShares, wkTrustInterests, [&](int worksheet, int key) {
        if (!FieldChecked(kScripForScripYes) || TrimText(GetFieldStr(kDefermentChoice)) != "Yes")
            return;
        auto above = [](int tag, Extended floor) {
            const Extended v = GetFieldVal(tag);
            return v > floor ? v : Extended(0);
        };
        const Extended cost = GetFieldVal(kDiscountCostBase) > ExplicitZero
                                  ? GetFieldVal(kDiscountCostBase)
                                  : above(kOtherCostBase, 0);
        const Extended proceeds = GetFieldVal(kDiscountProceeds) > ExplicitZero
                                      ? GetFieldVal(kDiscountProceeds)
                                      : above(kOtherProceeds, 0);
        AppendRow(table, row,
                  {GetFieldStr(kName), Dollars(cost), Dollars(above(kReplacementMarketValue, 0)),
                   Dollars(above(kCashConsideration, 0)), Dollars(proceeds), Dollars(worksheet),
                   Dollars(key)});
    });
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

void StoreScrip(const CellTable& table) {
    EditSources(
        table, scWorksheet, scRowKey,
        [&](int row) {
            SetFieldVal(tag::event::kReplacementMarketValue, CellAmount(table, scMarketValue, row));
            SetFieldVal(tag::event::kCashConsideration, CellAmount(table, scCash, row));
        },
        scDescription);
}

void TotalScrip(const CellTable& table) {
    using namespace tag::schedule;
    FetchRow(wkSchedule, kScheduleRow);
    if (Described(table, 1, scDescription)) {
        SetFieldChecked(kScripRollOverChosen);
        SetFieldUnchecked(kScripRollOverNotChosen);
    } else {
        SetFieldChecked(kScripRollOverNotChosen);
        SetFieldUnchecked(kScripRollOverChosen);
    }
    SetFieldVal(kScripOriginalCostBase, table.ColumnTotal(scCostBase));
    SetFieldVal(kScripReplacementValue, table.ColumnTotal(scMarketValue));
    SetFieldVal(kScripCashConsideration, table.ColumnTotal(scCash));
    PutRow(wkSchedule, kScheduleRow);
}

} // namespace cgt
