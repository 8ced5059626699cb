#pragma once
// The benchmarks' console report and the ratio lines printed after it: each benchmark's smallest
// time per iteration over its repetitions, and one line per ratio of two benchmarks against
// its target.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace bench {

// The smallest of the repetitions, as a statistic ("min").
double Smallest(const std::vector<double>& v);

struct Timing {
    double real = 0; // seconds per iteration, the smallest of the repetitions
    double cpu = 0;
};

// The console report: the aggregates of repeated benchmarks, a benchmark run once as it is. Keeps
// each benchmark's smallest times per iteration under "BM_Name", or "BM_Name/arg" for a
// benchmark with an argument.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    const Timing* Find(const std::string& name) const;

private:
    std::map<std::string, Timing> timings_;
};

enum class Clock { Cpu, Real };

// How a ratio line reads: the clock of the ratio (a processor-time ratio shows its times as
// "[cpu a ms / b ms"), the decimals of the target and of the times, and the label of the other
// clock's ratio shown after the times, or none.
struct RatioStyle {
    Clock clock = Clock::Cpu;
    int targetDecimals = 2;
    int timeDecimals = 1;
    const char* otherRatio = nullptr;
};

// Prints "label = 0.59 (target < 1.00)   [cpu 270.8 ms / 515.3 ms; wall-clock ratio 0.53]": the
// time of `over` against that of `under`; "label = n/a (target < 1.00)" when either is missing.
void PrintRatio(const RatioReporter& reporter, const char* label, const std::string& over,
                const std::string& under, double target, const char* relation,
                const RatioStyle& style);

} // namespace bench
