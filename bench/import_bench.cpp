// Importing 100,000 and 200,000 share trades over 300 codes spread over 1986–2005 (reading the
// plain format, matching first in first out, recording and computing the events of 2003-04)
// beside saving the return that results. After the run the program prints import/save for
// 100,000 trades (target at most 2: the cipher is the floor of both) and 200,000 over 100,000
// (target at most 2.3), as ratios of processor time.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/dates.h"
#include "bench/ratio_reporter.h"
#include "bench/silent_dialogs.h"
#include "cgt/records/trade_import.h"
#include "cgt/rules/trade_plan.h"
#include "store/data_file.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kIdentifier = "123 456 782";
constexpr int kTrades = 100'000;
constexpr int kCodes = 300;

// Trades in date order over 1986–2005: each code buys parcels and now and then sells part of
// what it holds, so that every sale is covered.
std::string PlainTrades(int trades) {
    std::mt19937 random(1986);
    const cgt::DateTime first = *cgt::EncodeDate(1986, 1, 2), last = *cgt::EncodeDate(2005, 12, 30);
    std::vector<long long> held(kCodes, 0);
    std::string text = "date,code,side,quantity,price,brokerage\n";
    for (int i = 0; i < trades; ++i) {
        const cgt::DateTime day = first + (last - first) * i / trades;
        const int code = static_cast<int>(random() % kCodes);
        const bool sell = held[code] > 0 && random() % 3 == 0;
        const long long units = sell ? 1 + static_cast<long long>(random() % held[code])
                                     : 100 + static_cast<long long>(random() % 2000);
        held[code] += sell ? -units : units;
        const int cents = 100 + static_cast<int>(random() % 5000);
        text += cgt::FormatDate(day) + ",C" + std::to_string(code) + (sell ? ",Sell," : ",Buy,") +
                std::to_string(units) + "," + std::to_string(cents / 100) + "." +
                std::to_string(cents % 100 / 10) + std::to_string(cents % 10) + ",19.95\n";
    }
    return text;
}

void NewReturn() {
    cgt::ResetModuleRun();
    cgt::Run().HostIdentifier = kIdentifier;
    cgt::SetFieldStr(cgt::tag::kIdentifier, kIdentifier);
}

void BM_Import(benchmark::State& state) {
    const std::string trades = PlainTrades(static_cast<int>(state.range(0)));
    std::size_t events = 0;
    for (auto _ : state) {
        state.PauseTiming();
        NewReturn();
        state.ResumeTiming();
        const cgt::TradePlan plan =
            cgt::PlanTradeImport({{"trades.csv", trades}}, cgt::MatchMethod::Fifo);
        if (!plan.refused.empty()) {
            state.SkipWithError(plan.refused[0].Text().c_str());
            break;
        }
        events = static_cast<std::size_t>(cgt::RecordImportedEvents(plan.events, {}).added);
    }
    state.counters["events"] = static_cast<double>(events);
}

void BM_SaveImported(benchmark::State& state) {
    NewReturn();
    const cgt::TradePlan plan = cgt::PlanTradeImport(
        {{"trades.csv", PlainTrades(static_cast<int>(state.range(0)))}}, cgt::MatchMethod::Fifo);
    cgt::RecordImportedEvents(plan.events, {});
    const std::string path =
        (fs::temp_directory_path() / ("cgt-import-bench-" + std::to_string(::getpid()) + ".TAX"))
            .string();
    for (auto _ : state)
        if (cgt::SaveDataFile(path) != cgt::SaveStatus::Saved) {
            state.SkipWithError("the return does not save");
            break;
        }
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(fs::path(path).replace_extension(".BAK"), ec);
}

BENCHMARK(BM_Import)
    ->Arg(kTrades)
    ->Arg(2 * kTrades)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ComputeStatistics("min", bench::Smallest);
BENCHMARK(BM_SaveImported)
    ->Arg(kTrades)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ComputeStatistics("min", bench::Smallest);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::SilentDialogs dialogs("import_bench");
    cgt::SetDialogService(&dialogs);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const bench::RatioStyle style{bench::Clock::Cpu, 2, 1, "wall-clock ratio"};
    const std::string n = std::to_string(kTrades), twice = std::to_string(2 * kTrades);
    bench::PrintRatio(reporter, "import/save", "BM_Import/" + n, "BM_SaveImported/" + n, 2.0,
                      "<=", style);
    bench::PrintRatio(reporter, "import 2n/n", "BM_Import/" + twice, "BM_Import/" + n, 2.3,
                      "<=", style);
    cgt::SetDialogService(nullptr);
    return 0;
}
