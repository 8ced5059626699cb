#pragma once
// Reports printed to PDF files: the preview's "Save as PDF…" and `cgt print`.

#include <QtCore/QString>

#include <string>
#include <string_view>
#include <vector>

#include "report/engine/xreport.h"

namespace cgt::report {

// The last section of any script, for loading a script whole.
inline constexpr int kAllSections = 32767;

// Sets up a report as the printouts are: the module's field drawer, editable fields drawn as
// fields, script units of 0.1 mm.
void PrepareForPrinting(TXReport& report);

// Writes the pages of the set to `path` as PDF on A4 paper, each placed as on a printer (15 mm
// from the left, centred in the height). The file appears only when the whole report is
// written; a cancelled print (Aborted) leaves none and returns false. The report's printer,
// margins and scale are as before afterwards. Throws PrintError.
bool WritePdf(TXReport& report, const QString& path, const std::vector<int>& pages,
              const QString& title);

} // namespace cgt::report
