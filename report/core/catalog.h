#pragma once
// The report scripts the module carries, and what each prints from.

#include <span>
#include <string_view>

namespace cgt::report {

struct ReportKind {
    std::string_view name;  // the script's resource name
    std::string_view title; // what it prints
    // Printed from one event's worksheet row, open in the scratch tags.
    bool eventRow = false;
    // Printed from a row of its own (the schedule), or 0.
    int worksheet = 0;
    int row = 0;
};

std::span<const ReportKind> Reports();
// nullptr for a name that is no report.
const ReportKind* FindReport(std::string_view name);

} // namespace cgt::report
