// The cost base adjustment worksheet of a share parcel with 1,000 and with 2,000 capital
// payments, each on its own day, beside cost elements between them. After the run the program
// prints the time for 2,000 payments over 1,000 (target at most 2.5), as a ratio of processor
// times: the passes run once per payment, so the work should grow with the payments.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/dates.h"
#include "bench/ratio_reporter.h"
#include "cgt/rules/adjustment_worksheet.h"

namespace {

constexpr int kPayments = 1'000;

cgt::AdjustmentInputs Inputs(int payments) {
    cgt::AdjustmentInputs in;
    in.kind = cgt::PaymentKind::Shares;
    cgt::Event& g = in.event;
    g.paymentEventCode = "G1";
    g.acquisitionDate = g.costBaseDate = "01/03/1990";
    g.sectionTwo = {10'000'000, 10'000'000, 10'000'000};
    g.eventDate = "15/02/2004";
    g.proceeds = 20'000'000;
    const cgt::DateTime first = *cgt::EncodeDate(1990, 6, 1);
    for (int i = 0; i < payments; ++i) {
        const std::string day = cgt::FormatDate(first + 3 * i);
        g.payments.insert(g.payments.end(), {day, day, "Return of capital", "1500.00", "", ""});
        if (i % 10 == 0) {
            cgt::CostElement e;
            e.entered = true;
            e.code = "4";
            e.dateIncurred = cgt::FormatDate(first + 3 * i + 1);
            e.description = "Capital expenditure";
            e.amount = 250;
            g.elements.push_back(e);
        }
    }
    return in;
}

void BM_Adjustment(benchmark::State& state) {
    const cgt::AdjustmentInputs in = Inputs(static_cast<int>(state.range(0)));
    std::size_t rows = 0;
    for (auto _ : state) {
        const cgt::AdjustmentWorksheet ws = cgt::ComputeAdjustmentWorksheet(in);
        rows = static_cast<std::size_t>(ws.Grid().RowCount());
        if (!ws.results.published) state.SkipWithError("no pass published its results");
    }
    benchmark::DoNotOptimize(rows);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_Adjustment)
    ->Arg(kPayments)
    ->Arg(2 * kPayments)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::Smallest);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bench::PrintRatio(reporter, "adjustment 2n/n", "BM_Adjustment/" + std::to_string(2 * kPayments),
                      "BM_Adjustment/" + std::to_string(kPayments), 2.5,
                      "<=", {bench::Clock::Cpu, 2, 2, nullptr});
    return 0;
}
