#pragma once
// The installed printers as the report engine sees them.

#include <optional>

#include "report/engine/xreport.h"

class QPrinter;

namespace cgt::report {

// No printer is installed.
bool NoPrinterInstalled();
// The geometry of a printer: its page layout (its minimum margins the unprintable ones) and
// resolution.
PrinterGeometry GeometryOf(const QPrinter& printer);
// The report's printer becomes the default printer (none when none is installed), and its
// margins are raised to that printer's unprintable ones.
void ReadPrinterGeometry(TXReport& report);

} // namespace cgt::report
