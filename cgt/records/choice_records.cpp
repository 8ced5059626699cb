#include "cgt/records/choice_records.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "cgt/records/event_records.h"
#include "cgt/records/event_worksheets.h"
#include "cgt/rules/choice_grid.h"
#include "cgt/rules/concessions.h"
#include "cgt/rules/manual_table.h"
#include "cgt/rules/trust_table.h"
#include "controls/core/cell_table.h"
#include "store/field_store.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace cgt {

namespace {

constexpr int kScheduleRow = 1;

// The records of a table's list, `cells` strings each; a list that is no list reads as none.
std::vector<std::span<const std::string>> Records(const StringListRef& list, int cells) {
    std::vector<std::span<const std::string>> records;
    if (!list) return records;
    const auto size = static_cast<std::size_t>(cells);
    for (std::size_t first = 0; first + size <= list->size(); first += size)
        records.emplace_back(list->data() + first, size);
    return records;
}

TrustDistribution TrustOf(std::span<const std::string> cells) {
    TrustDistribution trust;
    trust.name = cells[kTrustNameCell];
    for (int k = kTrustFirstComponent; k <= kTrustLastComponent; ++k) {
        const auto i = static_cast<std::size_t>(k - kTrustFirstComponent);
        trust.components[i] = cells[static_cast<std::size_t>(k)];
        trust.collectableApplied[i] = cells[static_cast<std::size_t>(k + kTrustCollectableApplied)];
        trust.otherApplied[i] = cells[static_cast<std::size_t>(k + kTrustOtherApplied)];
        trust.transferredApplied[i] = cells[static_cast<std::size_t>(k + kTrustTransferredApplied)];
    }
    return trust;
}

void StoreEventChoices(const EventChoiceUpdate& update) {
    using namespace tag::event;
    // Values that do not change keep their stored objects.
    if (update.method && GetFieldStr(kMethodChoice) != *update.method)
        SetFieldStr(kMethodChoice, *update.method);
    if (update.deferment && GetFieldStr(kDefermentChoice) != *update.deferment)
        SetFieldStr(kDefermentChoice, *update.deferment);
    const StringListRef stored = GetFieldLst(kLossesApplied);
    if (!stored || *stored != update.lossesApplied)
        SetFieldLst(kLossesApplied, std::make_shared<StringList>(update.lossesApplied));
}

// The list of a table with its records' cells replaced, when the table has a list.
template <typename Write>
void EditTableList(int tag, int cells, const std::vector<TableChoiceUpdate>& updates,
                   const Write& write) {
    const StringListRef list = GetFieldLst(tag);
    if (!list) return;
    StringList edited = *list;
    for (const TableChoiceUpdate& update : updates) {
        const auto record = static_cast<std::size_t>(update.record);
        if ((record + 1) * static_cast<std::size_t>(cells) > edited.size()) continue;
        write(edited, record * static_cast<std::size_t>(cells), update);
    }
    SetFieldLst(tag, std::make_shared<StringList>(std::move(edited)));
}

// ---- The schedule's labels -----------------------------------------------------------------

using namespace tag::schedule;

// The parts of the schedule each screen writes.
enum class Part { A, B, D, E, F, G, H, I, J, K };

struct TripleLabel {
    Part part;
    int first; // the index method's tag; discount and other follow
    MethodAmounts Schedule::*amounts;
};
struct AmountLabel {
    Part part;
    int tag;
    Extended Schedule::*amount;
};

// clang-format off
constexpr TripleLabel kTriples[] = {
    {Part::A, kNonActiveSharesIndex,          &Schedule::nonActiveShares},
    {Part::A, kNonActiveRealEstateIndex,      &Schedule::nonActiveRealEstate},
    {Part::A, kNonActiveOtherIndex,           &Schedule::nonActiveOther},
    {Part::A, kCollectablesIndex,             &Schedule::collectables},
    {Part::A, kActiveSharesIndex,             &Schedule::activeShares},
    {Part::A, kActiveRealEstateIndex,         &Schedule::activeRealEstate},
    {Part::A, kActiveOtherIndex,              &Schedule::activeOther},
    {Part::A, kTotalGainsIndex,               &Schedule::totalGains},
    {Part::D, kCurrentLossesAppliedIndex,     &Schedule::currentLossesApplied},
    {Part::D, kPriorLossesAppliedIndex,       &Schedule::priorLossesApplied},
    {Part::D, kTransferredLossesAppliedIndex, &Schedule::transferredLossesApplied},
    {Part::D, kLossesAppliedIndex,            &Schedule::lossesApplied},
    {Part::E, kNonActiveAfterLossesIndex,     &Schedule::nonActiveAfterLosses},
    {Part::E, kActiveAfterLossesIndex,        &Schedule::activeAfterLosses},
    {Part::E, kAfterLossesIndex,              &Schedule::afterLosses},
    {Part::G, kActiveAssetReductionIndex,     &Schedule::activeAssetReduction},
    {Part::G, kRetirementExemptionIndex,      &Schedule::retirementExemption},
    {Part::G, kSmallBusinessRollOverIndex,    &Schedule::smallBusinessRollOver},
    {Part::H, kConcessionsIndex,              &Schedule::concessions},
    {Part::H, kNetGainIndex,                  &Schedule::netGain},
};
constexpr AmountLabel kAmounts[] = {
    {Part::B, kLossesShares,                  &Schedule::lossesShares},
    {Part::B, kLossesRealEstate,              &Schedule::lossesRealEstate},
    {Part::B, kLossesOther,                   &Schedule::lossesOther},
    {Part::B, kLossesTotal,                   &Schedule::lossesTotal},
    {Part::D, kCurrentLossesAppliedTotal,     &Schedule::currentLossesAppliedTotal},
    {Part::D, kPriorLossesAppliedTotal,       &Schedule::priorLossesAppliedTotal},
    {Part::D, kTransferredLossesAppliedTotal, &Schedule::transferredLossesAppliedTotal},
    {Part::D, kLossesAppliedTotal,            &Schedule::lossesAppliedTotal},
    {Part::F, kDiscountNonActive,             &Schedule::discountNonActive},
    {Part::F, kDiscountActive,                &Schedule::discountActive},
    {Part::H, kNetGainTotal,                  &Schedule::netGainTotal},
    {Part::I, kCarriedCollectableLosses,      &Schedule::carriedCollectableLosses},
    {Part::I, kCarriedOtherLosses,            &Schedule::carriedOtherLosses},
    {Part::J, kFifteenYearExemptGains,        &Schedule::fifteenYearExemptGains},
    {Part::K, kScripOriginalCostBase,         &Schedule::scripOriginalCostBase},
    {Part::K, kScripReplacementValue,         &Schedule::scripReplacementValue},
    {Part::K, kScripCashConsideration,        &Schedule::scripCashConsideration},
};
// clang-format on

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

bool In(Part part, std::initializer_list<Part> parts) {
    return std::find(parts.begin(), parts.end(), part) != parts.end();
}

// The schedule row opened in the scratch tags, read.
Schedule ReadOpenSchedule() {
    Schedule s;
    for (const TripleLabel& label : kTriples)
        for (int m = 0; m < 3; ++m)
            (s.*label.amounts)[static_cast<std::size_t>(m)] = GetFieldVal(label.first + m);
    for (const AmountLabel& label : kAmounts)
        s.*label.amount = GetFieldVal(label.tag);
    s.fifteenYearAssetCode = GetFieldStr(kFifteenYearAssetCode);
    s.scripRollOverChosen = FieldChecked(kScripRollOverChosen);
    s.scripRollOverNotChosen = FieldChecked(kScripRollOverNotChosen);
    return s;
}

// The labels of the given parts written into the schedule row.
void WriteSchedule(const Schedule& s, std::initializer_list<Part> parts, bool named = false) {
    FetchRow(wkSchedule, kScheduleRow);
    for (const TripleLabel& label : kTriples)
        if (In(label.part, parts))
            for (int m = 0; m < 3; ++m)
                SetFieldVal(label.first + m, (s.*label.amounts)[static_cast<std::size_t>(m)]);
    for (const AmountLabel& label : kAmounts)
        if (In(label.part, parts)) SetFieldVal(label.tag, s.*label.amount);
    if (In(Part::J, parts)) SetFieldStr(kFifteenYearAssetCode, s.fifteenYearAssetCode);
    if (In(Part::K, parts)) {
        auto check = [](int tag, bool on) {
            if (on)
                SetFieldChecked(tag);
            else
                SetFieldUnchecked(tag);
        };
        check(kScripRollOverChosen, s.scripRollOverChosen);
        check(kScripRollOverNotChosen, s.scripRollOverNotChosen);
    }
    if (named) SetFieldStr(kName, kScheduleName);
    PutRow(wkSchedule, kScheduleRow);
}

void WriteReturnResults(const ReturnResults& results, bool all) {
    if (all) {
        SetFieldVal(tag::kTotalCurrentYearGains, results.totalCurrentYearGains);
        SetFieldVal(tag::kLossesCarriedForward, results.lossesCarriedForward);
    }
    SetFieldVal(tag::kNetCapitalGain, results.netCapitalGain);
}

// The events of the asset worksheets, as the choice table and the concession grids read them.
std::vector<Event> AssetEvents() {
    return ReadStoredEvents(wkShares, wkReceipts, EventParts::Results);
}

} // namespace

// ---- The choice table ----------------------------------------------------------------------

ChoiceTable BuildStoredChoiceTable(const std::function<bool(const Event&)>& skip) {
    ChoiceTableBuilder builder;
    for (int worksheet = wkShares; worksheet <= wkReceipts; ++worksheet) {
        const Worksheet* sheet = WorksheetOf(worksheet);
        if (!sheet || sheet->empty()) continue;
        std::vector<std::uint16_t> keys = sheet->rowKeys();
        std::sort(keys.begin(), keys.end());
        for (std::uint16_t key : keys) {
            const Event event = ReadStoredEvent(*sheet, worksheet, key, EventParts::Results);
            if (!skip || !skip(event)) builder.AddEvent(event);
        }
    }
    for (std::span<const std::string> cells :
         Records(GetFieldLst(tag::kManualCalculationTable), kManualCells))
        builder.AddManualLine(ChoiceRowFromCells(cells));
    for (std::span<const std::string> cells :
         Records(GetFieldLst(tag::kTrustDistributionTable), kTrustCells))
        builder.AddTrust(TrustOf(cells));
    return builder.Finish(GetFieldVal(tag::kUnappliedCollectableLosses),
                          GetFieldVal(tag::kUnappliedOtherLosses),
                          GetFieldVal(tag::kTransferredInLosses));
}

void PublishChoiceTable(const ChoiceTable& table) {
    const ChoiceState& state = table.state;
    if (state.hasSources) {
        SetFieldChecked(tag::kGainsReported);
        SetFieldUnchecked(tag::kNoGainsReported);
    } else {
        SetFieldChecked(tag::kNoGainsReported);
        SetFieldUnchecked(tag::kGainsReported);
    }
    SetFieldLst(tag::kConcessionSources, std::make_shared<StringList>(table.concessionSources));
    SetFieldVal(tag::kTotalCurrentYearLosses, state.currentYearLosses);
    SetFieldVal(tag::kNetCapitalGain, static_cast<Extended>(state.netCapitalGain));
}

void StoreChoices(const ChoiceTable& table) {
    const ChoiceUpdates updates = ChoicesToStore(table);
    EditTableList(tag::kTrustDistributionTable, kTrustCells, updates.trusts,
                  [](StringList& list, std::size_t first, const TableChoiceUpdate& update) {
                      const std::size_t base = first + static_cast<std::size_t>(update.component);
                      list[base + kTrustCollectableApplied] = update.row.collectableApplied.Text();
                      list[base + kTrustOtherApplied] = update.row.otherApplied.Text();
                      list[base + kTrustTransferredApplied] = update.row.transferredApplied.Text();
                  });
    EditTableList(tag::kManualCalculationTable, kManualCells, updates.manual,
                  [](StringList& list, std::size_t first, const TableChoiceUpdate& update) {
                      const ChoiceCells cells = ChoiceRowCells(update.row);
                      for (int col : kManualChoiceCells)
                          list[first + static_cast<std::size_t>(col)] =
                              cells[static_cast<std::size_t>(col)];
                  });
    // Each worksheet's events in one pass, each event's choices worked out as it is stored.
    std::map<int, std::map<int, const EventRows*>> events;
    for (const EventRows& event : updates.events)
        events[event.worksheet][event.key] = &event;
    for (const auto& [worksheet, keys] : events) {
        std::vector<int> rows;
        rows.reserve(keys.size());
        for (const auto& entry : keys)
            rows.push_back(entry.first);
        EditWorksheetRows(worksheet, rows,
                          [&](int key) { StoreEventChoices(EventChoices(table, *keys.at(key))); });
    }
}

void StoreChoiceRows(const ChoiceTable& table) {
    SetFieldLst(tag::kChoiceTable, std::make_shared<StringList>(ChoiceTableList(table.rows)));
}

void LeaveChoiceTable(const ChoiceTable& table) {
    StoreChoices(table);
    // What the results are worked out from: rebuilt, as closing will rebuild it to compare.
    SetFieldStr(tag::kChoiceSourcesDigest, ChoiceSourcesDigest(BuildStoredChoiceTable()));
    Schedule schedule = ReadSchedule();
    ReturnResults results = ReadReturnResults();
    ComputeSchedule(table, schedule, results);
    WriteSchedule(schedule, {Part::A, Part::B, Part::D, Part::E, Part::F, Part::H, Part::I}, true);
    WriteReturnResults(results, true);
}

ChoiceRun RunChoiceTable(ChoiceMode mode) {
    ChoiceRun run;
    run.table = BuildStoredChoiceTable();
    RecalculateChoices(run.table);
    if (mode == ChoiceMode::MakeAll) MakeAllChoices(run.table);
    if (mode == ChoiceMode::Lowest) run.lowest = MakeLowestChoices(run.table);
    PublishChoiceTable(run.table);
    run.refused = ValidateChoiceTable(run.table);
    if (run.refused) return run;
    StoreChoiceRows(run.table);
    LeaveChoiceTable(run.table);
    return run;
}

// ---- The results handed to the host ---------------------------------------------------------

namespace {

constexpr int kResultTags[] = {tag::kTotalCurrentYearGains, tag::kNetCapitalGain,
                               tag::kLossesCarriedForward, tag::kTotalCurrentYearLosses};

void ClearReturnResults() {
    // Not worked out: no number at all, and no digest, so that the host shows none.
    for (int result : kResultTags) {
        ClearField(result);
        SetFieldType(result, dtNone);
    }
    SetFieldStr(tag::kChoiceSourcesDigest, "");
    WriteSchedule(
        Schedule{},
        {Part::A, Part::B, Part::D, Part::E, Part::F, Part::G, Part::H, Part::I, Part::J, Part::K},
        true);
}

} // namespace

ResultsState StoredResultsState() {
    const std::string kept = GetFieldStr(tag::kChoiceSourcesDigest);
    // No digest: the table was never left, or its results were cleared (or the return was saved
    // before the digest was kept); then the table's rows tell whether it was ever left.
    const StringListRef rows = GetFieldLst(tag::kChoiceTable);
    if (kept.empty() && (!rows || rows->empty())) return ResultsState::NotWorkedOut;
    return kept == ChoiceSourcesDigest(BuildStoredChoiceTable()) ? ResultsState::Current
                                                                 : ResultsState::Stale;
}

std::optional<Refusal> RefreshStaleResults() {
    if (StoredResultsState() != ResultsState::Stale) return std::nullopt;
    RecomputeEvents();
    ChoiceRun run = RunChoiceTable(ChoiceMode::Stored);
    if (run.refused) ClearReturnResults();
    return run.refused;
}

// ---- The schedule --------------------------------------------------------------------------

Schedule ReadSchedule() {
    FetchRow(wkSchedule, kScheduleRow);
    Schedule schedule = ReadOpenSchedule();
    ZeroFillScratchTags();
    return schedule;
}

ReturnResults ReadReturnResults() {
    return {GetFieldVal(tag::kTotalCurrentYearGains), GetFieldVal(tag::kNetCapitalGain),
            GetFieldVal(tag::kLossesCarriedForward)};
}

std::span<const int> ScheduleLabels() {
    return kLabels;
}

// ---- The concession screens ----------------------------------------------------------------

void FillElections(CellTable& table) {
    const StringListRef sources = GetFieldLst(tag::kConcessionSources);
    LoadElectionRows(table, sources.get(), [](ElectionSource source) {
        CopyRowToScratch(WorksheetOf(source.worksheet), source.row);
        const StringListRef elections = GetFieldLst(tag::event::kConcessionElections);
        return elections ? *elections : StringList();
    });
    ZeroFillScratchTags();
}

void StoreElections(const CellTable& table) {
    std::map<int, std::map<int, StringList>> sources;
    for (ElectionUpdate& update : ElectionsToStore(table))
        sources[update.source.worksheet][update.source.row] = std::move(update.elections);
    for (auto& [worksheet, rows] : sources) {
        std::vector<int> keys;
        for (const auto& entry : rows)
            keys.push_back(entry.first);
        EditWorksheetRows(worksheet, keys, [&](int key) {
            SetFieldLst(tag::event::kConcessionElections,
                        std::make_shared<StringList>(rows.at(key)));
        });
    }
}

void TotalElections(const CellTable& table) {
    Schedule schedule = ReadSchedule();
    ReturnResults results = ReadReturnResults();
    ElectionsToSchedule(table, schedule, results);
    WriteSchedule(schedule, {Part::G, Part::H});
    WriteReturnResults(results, false);
}

void BuildExemptList(CellTable& table) {
    FillExemptList(table, AssetEvents());
}

void StoreExemption(const CellTable& table) {
    Schedule schedule = ReadSchedule();
    ExemptionToSchedule(table, schedule);
    WriteSchedule(schedule, {Part::J});
}

void BuildScripList(CellTable& table) {
    FillScripList(table, AssetEvents());
}

void StoreScrip(const CellTable& table) {
    std::map<int, std::map<int, ScripUpdate>> events;
    for (const ScripUpdate& update : ScripToStore(table))
        events[update.event.worksheet][update.event.row] = update;
    for (const auto& [worksheet, rows] : events) {
        std::vector<int> keys;
        for (const auto& entry : rows)
            keys.push_back(entry.first);
        EditWorksheetRows(worksheet, keys, [&](int key) {
            const ScripUpdate& update = rows.at(key);
            SetFieldVal(tag::event::kReplacementMarketValue, update.marketValue);
            SetFieldVal(tag::event::kCashConsideration, update.cash);
        });
    }
}

void TotalScrip(const CellTable& table) {
    Schedule schedule = ReadSchedule();
    ScripToSchedule(table, schedule);
    WriteSchedule(schedule, {Part::K});
}

} // namespace cgt
