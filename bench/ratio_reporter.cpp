#include "bench/ratio_reporter.h"

#include <algorithm>
#include <cstdio>

namespace bench {

double Smallest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown;
    for (const auto& run : runs) {
        if (run.run_type == Run::RT_Aggregate) {
            shown.push_back(run);
            continue;
        }
        if (runs.size() == 1) shown.push_back(run);
        if (run.error_occurred || run.iterations == 0) continue;
        const double n = static_cast<double>(run.iterations);
        const Timing t{run.real_accumulated_time / n, run.cpu_accumulated_time / n};
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
        auto [it, fresh] = timings_.try_emplace(std::move(name), t);
        if (!fresh) {
            it->second.real = std::min(it->second.real, t.real);
            it->second.cpu = std::min(it->second.cpu, t.cpu);
        }
    }
    if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
}

const Timing* RatioReporter::Find(const std::string& name) const {
    const auto it = timings_.find(name);
    return it == timings_.end() ? nullptr : &it->second;
}

namespace {

std::string RatioLine(const RatioReporter& reporter, const char* label, const std::string& over,
                      const std::string& under, double target, const char* relation,
                      const RatioStyle& style) {
    const Timing* a = reporter.Find(over);
    const Timing* b = reporter.Find(under);
    char text[256];
    if (!a || !b || b->cpu <= 0 || b->real <= 0) {
        std::snprintf(text, sizeof text, "%s = n/a (target %s %.*f)", label, relation,
                      style.targetDecimals, target);
        return text;
    }
    const bool cpu = style.clock == Clock::Cpu;
    const double aTime = cpu ? a->cpu : a->real, bTime = cpu ? b->cpu : b->real;
    const double other = cpu ? a->real / b->real : a->cpu / b->cpu;
    int n =
        std::snprintf(text, sizeof text, "%s = %.2f (target %s %.*f)   [%s%.*f ms / %.*f ms", label,
                      aTime / bTime, relation, style.targetDecimals, target, cpu ? "cpu " : "",
                      style.timeDecimals, aTime * 1e3, style.timeDecimals, bTime * 1e3);
    if (style.otherRatio && n > 0 && n < static_cast<int>(sizeof text))
        n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "; %s %.2f",
                           style.otherRatio, other);
    return std::string(text) + "]";
}

} // namespace

void PrintRatio(const RatioReporter& reporter, const char* label, const std::string& over,
                const std::string& under, double target, const char* relation,
                const RatioStyle& style) {
    std::printf("%s\n", RatioLine(reporter, label, over, under, target, relation, style).c_str());
}

} // namespace bench
