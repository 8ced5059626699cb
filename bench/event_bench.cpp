// Recomputing every CGT event of a large return beside loading that return, both measured in
// this run, and the recomputation of twice the events; likewise the choice table of that return
// built on the first visit after loading, every choice made by the button, checked and left
// (choices stored with their events, schedule computed).
//
// The returns hold 10,000 and 20,000 events spread over the six asset worksheets, each with its
// cost elements and its computed worksheet, as the interview leaves them. After the run the
// program prints recompute/load for 10,000 events (target below 1) and the recomputation of
// 20,000 events over 10,000 (target at most 2.3), as ratios of processor time, and the same two
// ratios for the choice table.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/dates.h"
#include "bench/ratio_reporter.h"
#include "bench/silent_dialogs.h"
#include "cgt/records/choice_records.h"
#include "cgt/records/event_worksheets.h"
#include "cgt/rules/lowest_gain.h"
#include "store/data_file.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"

namespace {

namespace fs = std::filesystem;
using namespace cgt::tag::event;

constexpr const char* kIdentifier = "123 456 782";
constexpr int kEvents = 10'000;

fs::path& Folder() {
    static fs::path folder;
    return folder;
}

std::string ReturnPath(int events) {
    return (Folder() / ("events-" + std::to_string(events) + ".TAX")).string();
}

std::string DateText(std::mt19937& random, int firstYear, int lastYear) {
    const int year = firstYear + static_cast<int>(random() % (lastYear - firstYear + 1));
    const int month = 1 + static_cast<int>(random() % 12);
    const int day = 1 + static_cast<int>(random() % 28);
    return cgt::FormatDate(*cgt::EncodeDate(year, month, day));
}

std::string Amount(std::mt19937& random, int most) {
    return std::to_string(1 + random() % most) + ".00";
}

const char* TypeOf(int worksheet, unsigned pick) {
    switch (worksheet) {
    case cgt::wkShares:
        return pick % 2 ? "SA" : "SN";
    case cgt::wkTrustInterests:
        return pick % 2 ? "UA" : "UN";
    case cgt::wkRealEstate:
        return pick % 2 ? "RA" : "RN";
    case cgt::wkPersonalUse:
        return pick % 2 ? "P" : "A";
    case cgt::wkOtherAssets:
        return pick % 3 == 0 ? "G" : pick % 3 == 1 ? "OA" : "ON";
    default:
        return "ON";
    }
}

// One event as its screens leave it: registration, cost elements, event and proceeds,
// roll-over answers.
void EnterEvent(int worksheet, int serial, std::mt19937& random) {
    cgt::ZeroFillScratchTags();
    cgt::SetFieldStr(kName, "Asset no. " + std::to_string(serial));
    cgt::SetFieldStr(kAssetType, TypeOf(worksheet, random()));
    const std::string acquired = DateText(random, 1986, 2002);
    cgt::SetFieldStr(kAcquisitionDate, acquired);
    const std::string event = DateText(random, 2003, 2003);
    auto elements = std::make_shared<cgt::StringList>();
    auto add = [&](const char* code, const std::string& date, const std::string& amount,
                   const std::string& excluded) {
        const std::string row[] = {code, date, date, "Cost", amount, excluded, "", ""};
        elements->insert(elements->end(), std::begin(row), std::end(row));
    };
    if (serial % 5 == 0) {
        cgt::SetFieldStr(kCostBaseDate, acquired);
        cgt::SetFieldVal(kSectionTwoIndexed, 20000 + random() % 50000);
        cgt::SetFieldVal(kSectionTwoNonIndexed, 18000 + random() % 50000);
        cgt::SetFieldVal(kSectionTwoReduced, 18000 + random() % 50000);
    } else {
        add("1 - Purchase/Acquisition cost", acquired, Amount(random, 80000), "");
    }
    add("2A - Incidentals re holding & acquisition", acquired, Amount(random, 500), "");
    if (serial % 3 == 0)
        add("3A - Non-capital costs of ownership", DateText(random, 2003, 2003),
            Amount(random, 900), Amount(random, 100));
    if (serial % 4 == 0)
        add("5 - Capital expenditure - maintain ownership", DateText(random, 2003, 2003),
            Amount(random, 3000), "");
    add("2B - Incidentals re specific CGT event", event, Amount(random, 400), "");
    cgt::SetFieldLst(kCostElements, elements);
    cgt::SetFieldStr(kEventDate, event);
    cgt::SetFieldVal(kCapitalProceeds, 1 + random() % 150000);
    cgt::SetFieldChecked(random() % 2 ? kRollOverNo : kRollOverYes);
    if (worksheet == cgt::wkDepreciating) {
        cgt::SetFieldVal(kDepreciatingCost, 1000 + random() % 60000);
        cgt::SetFieldVal(kTaxableUsePercent, random() % 100);
    }
}

// A return of `events` events, each computed once, saved. Each row is stored as the frame stores
// it and appended to its worksheet.
bool SaveReturn(int events) {
    cgt::ResetModuleRun();
    cgt::Run().HostIdentifier = kIdentifier;
    cgt::SetFieldStr(cgt::tag::kIdentifier, kIdentifier);
    std::mt19937 random(2004);
    const auto kinds = cgt::GainWorksheetKinds();
    std::vector<int> rows(kinds.size(), 0);
    for (int serial = 0; serial < events; ++serial) {
        const std::size_t k = static_cast<std::size_t>(serial) % kinds.size();
        EnterEvent(kinds[k], serial, random);
        cgt::Worksheet row;
        cgt::StoreScratchAsRow(row, ++rows[k]);
        cgt::Worksheet* sheet = cgt::EnsureWorksheet(kinds[k]);
        for (const cgt::WorksheetItem& item : row.items())
            sheet->append(item);
    }
    cgt::RecomputeEvents();
    return cgt::SaveDataFile(ReturnPath(events)) == cgt::SaveStatus::Saved;
}

bool Load(int events) {
    cgt::ResetModuleRun();
    cgt::Run().HostIdentifier = kIdentifier;
    return cgt::LoadDataFile(ReturnPath(events)) == cgt::LoadStatus::Loaded;
}

void BM_Load(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (!Load(events)) {
            state.SkipWithError("the return does not load");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * events);
}

void BM_Recompute(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    if (!Load(events)) state.SkipWithError("the return does not load");
    std::size_t recomputed = 0;
    for (auto _ : state)
        recomputed = cgt::RecomputeEvents().size();
    if (recomputed != static_cast<std::size_t>(events))
        state.SkipWithError("not every event was recomputed");
    state.SetItemsProcessed(state.iterations() * events);
}

// The table as the user first meets it: each iteration loads the return afresh, outside the
// timing, so that every one stores the choices into rows that had none. (Later visits rewrite
// rows of the same shape in place and cost less; timing them together would weigh the first
// visit by however many iterations the run happens to choose for each size.) Earlier years'
// losses, so that the automatic choices apply losses of every kind.
void BM_ChoiceTable(benchmark::State& state) {
    const int events = static_cast<int>(state.range(0));
    std::optional<cgt::Refusal> refused;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool loaded = Load(events);
        cgt::SetFieldVal(cgt::tag::kUnappliedCollectableLosses, 40000);
        cgt::SetFieldVal(cgt::tag::kUnappliedOtherLosses, 2000000);
        state.ResumeTiming();
        if (!loaded) {
            state.SkipWithError("the return does not load");
            break;
        }
        const cgt::ChoiceRun run = cgt::RunChoiceTable(cgt::ChoiceMode::MakeAll);
        refused = run.refused;
        rows = static_cast<int>(run.table.rows.size());
    }
    if (refused) state.SkipWithError(("the table refused: " + refused->message).c_str());
    if (rows < events / 2) state.SkipWithError("the table lacks rows");
    state.counters["rows"] = rows;
    state.SetItemsProcessed(state.iterations() * events);
}

// A table of 10,000 rows, 2,000 of them needing a method, with collectables, capital losses and
// earlier years' losses of both kinds that cover about a third of the gains: the lowest net
// capital gain found on it.
cgt::ChoiceTable LowestGainTable() {
    std::mt19937 random(1985);
    auto between = [&](long long low, long long high) {
        return low + static_cast<long long>(random() % static_cast<unsigned>(high - low + 1));
    };
    auto cell = [](long long amount) { return cgt::ChoiceAmount(std::to_string(amount)); };
    cgt::ChoiceSources sources;
    long long gains = 0, collectables = 0;
    for (int i = 0; i < 10'000; ++i) {
        cgt::ChoiceRow line;
        line.section = "Manual";
        line.description = "Line " + std::to_string(i);
        line.canDefer = cgt::ChoiceAnswer::No;
        const char* const types[] = {"SN", "RN", "UN", "SA", "OA", "ON"};
        line.type = types[i % 6];
        if (i % 5 == 0) { // a parcel needing a method: indexation lowers the gain
            const long long discount = between(1'000, 100'000);
            line.discount = cell(discount);
            line.indexed = cell(discount * between(50, 100) / 100);
            gains += discount;
        } else if (i % 23 == 0) {
            line.loss = cell(between(100, 20'000));
        } else if (i % 11 == 0) {
            line.type = "A";
            const long long other = between(100, 5'000);
            line.other = cell(other);
            collectables += other;
        } else if (i % 2 == 0) {
            const long long discount = between(100, 50'000);
            line.discount = cell(discount);
            gains += discount;
        } else {
            const long long other = between(100, 30'000);
            line.other = cell(other);
            gains += other;
        }
        sources.manual.push_back(std::move(line));
    }
    sources.priorCollectableLosses = static_cast<cgt::Extended>(collectables / 2);
    sources.priorOtherLosses = static_cast<cgt::Extended>(gains / 4);
    cgt::ChoiceTable table = cgt::BuildChoiceTable(sources);
    cgt::RecalculateChoices(table);
    return table;
}

void BM_LowestChoices(benchmark::State& state) {
    const cgt::ChoiceTable table = LowestGainTable();
    cgt::LowestChoices lowest;
    for (auto _ : state) {
        state.PauseTiming();
        cgt::ChoiceTable working = table;
        state.ResumeTiming();
        lowest = cgt::MakeLowestChoices(working);
    }
    if (!lowest.found) state.SkipWithError("the solver did not find the lowest");
    state.counters["below_apply_all"] = static_cast<double>(lowest.BelowApplyAll());
}

BENCHMARK(BM_Load)
    ->Arg(kEvents)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_Recompute)
    ->Arg(kEvents)
    ->Arg(2 * kEvents)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);

BENCHMARK(BM_LowestChoices)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_ChoiceTable)
    ->Arg(kEvents)
    ->Arg(2 * kEvents)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::SilentDialogs dialogs("event_bench");
    cgt::SetDialogService(&dialogs);
    Folder() = fs::temp_directory_path() / ("cgt-event-bench-" + std::to_string(::getpid()));
    fs::create_directories(Folder());
    for (int events : {kEvents, 2 * kEvents})
        if (!SaveReturn(events)) {
            std::fprintf(stderr, "event_bench: cannot save the return of %d events\n", events);
            return 1;
        }
    std::printf("returns: %d and %d events over the six asset worksheets (%ju bytes enciphered "
                "for %d), in %s\n",
                kEvents, 2 * kEvents,
                static_cast<std::uintmax_t>(fs::file_size(ReturnPath(kEvents))), kEvents,
                Folder().c_str());

    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Ratios of the processor times, which other processes on the machine disturb least, with the
    // wall-clock ratio beside them.
    const bench::RatioStyle style{bench::Clock::Cpu, 2, 1, "wall-clock ratio"};
    const std::string n = std::to_string(kEvents), twice = std::to_string(2 * kEvents);
    bench::PrintRatio(reporter, "recompute/load", "BM_Recompute/" + n, "BM_Load/" + n, 1.0, "<",
                      style);
    bench::PrintRatio(reporter, "recompute 2n/n", "BM_Recompute/" + twice, "BM_Recompute/" + n, 2.3,
                      "<=", style);
    bench::PrintRatio(reporter, "choices/load", "BM_ChoiceTable/" + n, "BM_Load/" + n, 1.0, "<",
                      style);
    bench::PrintRatio(reporter, "lowest/load", "BM_LowestChoices", "BM_Load/" + n, 1.0, "<", style);
    bench::PrintRatio(reporter, "choices 2n/n", "BM_ChoiceTable/" + twice, "BM_ChoiceTable/" + n,
                      2.3, "<=", style);

    cgt::SetDialogService(nullptr);
    std::error_code ec;
    fs::remove_all(Folder(), ec);
    return 0;
}
