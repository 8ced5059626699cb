#include "report/preview/printers.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace cgt::report {

bool NoPrinterInstalled() {
    return QPrinterInfo::availablePrinters().isEmpty();
}

PrinterGeometry GeometryOf(const QPrinter& printer) {
    return PrinterGeometry{printer.pageLayout(), printer.resolution()};
}

void ReadPrinterGeometry(TXReport& report) {
    if (NoPrinterInstalled()) {
        report.SetPrinter(std::nullopt);
        return;
    }
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) info = QPrinterInfo::availablePrinters().front();
    const QPrinter printer(info, QPrinter::HighResolution);
    report.SetPrinter(GeometryOf(printer));
}

} // namespace cgt::report
