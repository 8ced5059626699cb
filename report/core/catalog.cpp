#include "report/core/catalog.h"

#include <array>

#include "store/tags.h"

namespace cgt::report {

namespace {

constexpr std::array kReports{
    ReportKind{"CGTWSHT", "Capital gains tax worksheet", true, 0, 0},
    ReportKind{"CGTASSET", "CGT asset register", true, 0, 0},
    ReportKind{"CGTNASS", "Non-assessable payments worksheet", true, 0, 0},
    ReportKind{"CGTCHOICE", "Choice table summary", false, 0, 0},
    ReportKind{"CGTCHOICEOLD", "Choice table summary (one page)", false, 0, 0},
    ReportKind{"CGTDISEV", "CGT events", false, 0, 0},
    ReportKind{"SCHEDCGT", "CGT schedule", false, wkSchedule, 1},
};

} // namespace

std::span<const ReportKind> Reports() {
    return kReports;
}

const ReportKind* FindReport(std::string_view name) {
    for (const ReportKind& kind : kReports)
        if (kind.name == name) return &kind;
    return nullptr;
}

} // namespace cgt::report
