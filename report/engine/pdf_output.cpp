#include "report/engine/pdf_output.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtGui/QGuiApplication>
#include <QtGui/QPageSize>
#include <QtGui/QPdfWriter>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "report/core/catalog.h"
#include "report/core/fill.h"
#include "report/engine/field_drawer.h"
#include "report/engine/print_to_pdf.h"
#include "store/dialogs.h"

namespace cgt::report {

namespace {

constexpr int kPdfResolution = 600;
constexpr double kScriptPageMM = 275.0;

// A PDF page has no unprintable margins: the script page is centred in the paper's height.
void PlaceOnPdf(TXReport& report) {
    report.SetLeftMargin(report.Orientation() == 1 ? 10 : 15);
    const double height = report.PageHeight();
    if (height >= kScriptPageMM) {
        report.SetTopMargin(static_cast<int>((height - kScriptPageMM) / 2));
        report.PageScale = 1.0;
    } else {
        report.SetTopMargin(0);
        report.PageScale = height / kScriptPageMM;
    }
}

// Qt's notes about the environment (no runtime folder, no display) would break the tool's rule
// of one line on standard error for a failure; only its critical messages get through.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

std::unique_ptr<QGuiApplication> EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    qInstallMessageHandler(QuietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "cgt";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

void PrepareForPrinting(TXReport& report) {
    report.OnDrawField = [](char kind, const Record& record, QPainter& painter, const QRect& rect,
                            double fontScale, double xScale, double yScale) {
        DrawField(kind, record, painter, rect, fontScale, xScale, yScale);
    };
    report.ShowEditFields = false;
    report.UnitFactor = 0.1;
}

bool WritePdf(TXReport& report, const QString& path, const std::vector<int>& pages,
              const QString& title) {
    const QString part = path + QStringLiteral(".part");
    const SavedPlacement placement(report);
    {
        QPdfWriter writer(part);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4),
                        report.Orientation() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setTitle(title);
        writer.setCreator(QString::fromStdString(ApplicationTitle()));
        report.SetPrinter(PrinterGeometry{writer.pageLayout(), kPdfResolution});
        PlaceOnPdf(report);
        try {
            report.PrintPages(pages, writer);
        } catch (...) {
            placement.RestoreTo(report);
            QFile::remove(part);
            throw;
        }
        placement.RestoreTo(report);
    }
    if (report.Aborted || !QFile::exists(part)) {
        QFile::remove(part);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(part.toStdString(), path.toStdString(), ec);
    if (ec) {
        QFile::remove(part);
        throw PrintError("cannot write " + path.toStdString() + ": " + ec.message());
    }
    return true;
}

int PrintReportToPdf(std::string_view script, const std::string& path) {
    const auto application = EnsureApplication();
    TXReport report;
    PrepareForPrinting(report);
    report.LoadScript(script, 1, kAllSections);
    FillForm(report.Pages());
    if (report.PageCount() == 0)
        throw ReportError("the report " + std::string(script) + " has nothing to print");
    std::vector<int> pages;
    for (int i = 1; i <= report.PageCount(); ++i)
        pages.push_back(i);
    const ReportKind* kind = FindReport(script);
    const QString title =
        kind ? QString::fromLatin1(kind->title.data(), static_cast<qsizetype>(kind->title.size()))
             : QString::fromLatin1(script.data(), static_cast<qsizetype>(script.size()));
    WritePdf(report, QString::fromStdString(path), pages, title);
    return report.PageCount();
}

} // namespace cgt::report
