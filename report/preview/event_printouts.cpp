#include "report/preview/event_printouts.h"

#include <QApplication>
#include <QScreen>

#include "report/core/catalog.h"
#include "report/core/fill.h"
#include "report/engine/pdf_output.h"
#include "report/preview/preview_form.h"
#include "report/preview/printers.h"
#include "store/dialogs.h"

namespace cgt::report {

std::string_view ScriptOf(EventPrintout printout) {
    switch (printout) {
    case EventPrintout::Worksheet:
        return "CGTWSHT";
    case EventPrintout::AssetRegister:
        return "CGTASSET";
    case EventPrintout::NonAssessable:
        return "CGTNASS";
    }
    return {};
}

std::unique_ptr<TXReport> LoadFilledReport(std::string_view script) {
    auto report = std::make_unique<TXReport>();
    ReadPrinterGeometry(*report);
    PrepareForPrinting(*report);
    report->LoadScript(script, 1, kAllSections);
    FillForm(report->Pages());
    return report;
}

void PreviewReport(QWidget* owner, std::string_view script) {
    std::unique_ptr<TXReport> report;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        report = LoadFilledReport(script);
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        MsgBox("The printout could not be prepared.\n\n" + std::string(e.what()), mkError, mbOK);
        return;
    }
    QApplication::restoreOverrideCursor();
    TPreviewForm preview(owner);
    const ReportKind* kind = FindReport(script);
    preview.Title = kind ? QString::fromLatin1(kind->title.data(), kind->title.size())
                         : QString::fromLatin1(script.data(), script.size());
    preview.SetReport(std::move(report));
    if (const QScreen* screen = owner ? owner->screen() : QApplication::primaryScreen())
        preview.setGeometry(screen->availableGeometry());
    preview.setWindowState(Qt::WindowMaximized);
    preview.exec();
}

void PreviewEventPrintout(QWidget* owner, EventPrintout printout) {
    PreviewReport(owner, ScriptOf(printout));
}

} // namespace cgt::report
