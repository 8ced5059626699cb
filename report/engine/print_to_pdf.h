#pragma once
// Prints a report of the loaded return to a PDF file without a window, for the command-line
// tool. No Qt in this header.

#include <string>
#include <string_view>

namespace cgt::report {

// Loads the whole script, fills its fields from the store (an event's or the schedule's row
// open in the scratch tags) and writes its pages to `path`. Creates the Qt application object
// when there is none, on the offscreen platform unless one is named. Returns the page count.
// Throws ReportError (no such script, nothing to print), ScriptError or PrintError.
int PrintReportToPdf(std::string_view script, const std::string& path);

} // namespace cgt::report
