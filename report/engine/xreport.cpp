#include "report/engine/xreport.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QFile>
#include <QtGui/QGuiApplication>
#include <QtGui/QPagedPaintDevice>
#include <QtGui/QPainter>
#include <QtGui/QScreen>

#include <algorithm>
#include <cmath>
#include <string>

#include "report/core/script.h"
#include "report/engine/page_painter.h"
#include "report/engine/qt_text.h"

// The scripts are compiled into the engine library: register them before the first load.
static void InitReportScripts() {
    Q_INIT_RESOURCE(report_scripts);
}

namespace cgt::report {

namespace {

// The script page's height in millimetres, which the preview fits into the printable height.
constexpr double kScriptPageMM = 275.0;
constexpr int kPaperWidthMM = 210;
constexpr int kPaperHeightMM = 297;
constexpr std::size_t kMaxResourceName = 63;
// The page's background on screen; silver on a screen of fewer than 16 bits a pixel.
constexpr QRgb kScreenPaper = 0xFFE4D8C0; // (228, 216, 192)
constexpr QRgb kScreenPaperFewColours = 0xFFC0C0C0;

int Round(double value) {
    return static_cast<int>(std::nearbyint(value));
}

QMarginsF MillimetreMargins(const QPageLayout& layout) {
    QPageLayout mm = layout;
    mm.setUnits(QPageLayout::Millimeter);
    return mm.minimumMargins();
}

QRectF MillimetrePaper(const QPageLayout& layout) {
    return layout.fullRect(QPageLayout::Millimeter);
}

} // namespace

int PrinterGeometry::UnprintableLeft() const {
    return Round(MillimetreMargins(layout).left());
}
int PrinterGeometry::UnprintableTop() const {
    return Round(MillimetreMargins(layout).top());
}
int PrinterGeometry::UnprintableRight() const {
    return Round(MillimetreMargins(layout).right());
}
int PrinterGeometry::UnprintableBottom() const {
    return Round(MillimetreMargins(layout).bottom());
}
double PrinterGeometry::PaperWidth() const {
    return MillimetrePaper(layout).width();
}
double PrinterGeometry::PaperHeight() const {
    return MillimetrePaper(layout).height();
}

TXReport::TXReport() {
    SetPrinter(std::nullopt);
}

int TXReport::Unprintable(int side) const {
    if (!printer_) return 0;
    switch (side) {
    case 0:
        return printer_->UnprintableLeft();
    case 1:
        return printer_->UnprintableTop();
    case 2:
        return printer_->UnprintableRight();
    default:
        return printer_->UnprintableBottom();
    }
}

void TXReport::SetLeftMargin(int mm) {
    left_ = std::max({mm, Unprintable(0), 0});
}
void TXReport::SetTopMargin(int mm) {
    top_ = std::max({mm, Unprintable(1), 0});
}
void TXReport::SetRightMargin(int mm) {
    right_ = std::max({mm, Unprintable(2), 0});
}
void TXReport::SetBottomMargin(int mm) {
    bottom_ = std::max({mm, Unprintable(3), 0});
}

void TXReport::SetPrinter(std::optional<PrinterGeometry> printer) {
    printer_ = std::move(printer);
    if (printer_)
        printer_->layout.setOrientation(orientation_ == 1 ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
    SetLeftMargin(left_);
    SetRightMargin(right_);
    SetTopMargin(top_);
    SetBottomMargin(bottom_);
}

void TXReport::SetOrientation(int orientation) {
    orientation_ = orientation;
    if (printer_) SetPrinter(printer_);
}

int TXReport::PageWidth() const {
    return printer_ ? Round(printer_->PaperWidth()) : kPaperWidthMM;
}

int TXReport::PageHeight() const {
    return printer_ ? Round(printer_->PaperHeight()) : kPaperHeightMM;
}

void TXReport::LoadScript(std::string_view name, int first, int last) {
    InitReportScripts();
    const std::string resource(name.substr(0, std::min(name.size(), kMaxResourceName)));
    QFile file(QStringLiteral(":/reports/") + QString::fromStdString(resource));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError("the module carries no report script named " + resource);
    const QByteArray data = file.readAll();
    const Script script =
        ReadScript(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                             static_cast<std::size_t>(data.size())));
    LoadScript(script, first, last);
}

void TXReport::LoadScript(const Script& script, int first, int last) {
    LoadHooks hooks;
    if (OnSetFieldType) hooks.setFieldType = OnSetFieldType;
    pages_.Load(script, first, last, hooks);
}

DrawSettings TXReport::Settings(QPaintDevice& device, double zoom, bool printing) const {
    DrawSettings s;
    s.printing = printing;
    s.mapColours = printing || !OnAddTaxEdit;
    s.showEditFields = ShowEditFields;
    s.fontScale = printing ? 1.0 : zoom;
    // Pixels per millimetre: the printer's in printing mode, the screen's otherwise; both are
    // the device's resolution.
    const double xPerMM = zoom * device.logicalDpiX() / 25.4;
    const double yPerMM = zoom * device.logicalDpiY() / 25.4;
    if (printing || !OnAddTaxEdit) {
        s.left = Round(left_ * xPerMM);
        s.top = Round(top_ * yPerMM);
        if (printing) {
            s.left -= Round(Unprintable(0) * xPerMM);
            s.top -= Round(Unprintable(1) * yPerMM);
        }
    }
    s.xScale = xPerMM * UnitFactor * PageScale;
    s.yScale = yPerMM * UnitFactor * PageScale;
    return s;
}

std::vector<DrawOp> TXReport::LayOutPage(int n, QPaintDevice& device, double zoom, bool printing) {
    const Page* page = pages_.GotoPage(n);
    if (page == nullptr) return {};
    QtTextMetrics metrics(&device);
    return LayoutPage(*page, Settings(device, zoom, printing), metrics);
}

void TXReport::DrawPage(int n, QPainter* painter, bool keepBackground, double zoom, bool printing) {
    if (painter == nullptr || painter->device() == nullptr) return;
    const Page* page = pages_.GotoPage(n);
    if (page == nullptr) return;
    QPaintDevice& device = *painter->device();
    const DrawSettings settings = Settings(device, zoom, printing);
    if (!printing && !keepBackground) {
        const QRect clip = painter->hasClipping() ? painter->clipBoundingRect().toAlignedRect()
                                                  : QRect(0, 0, device.width(), device.height());
        painter->fillRect(
            clip, QColor::fromRgb(device.depth() < 16 ? kScreenPaperFewColours : kScreenPaper));
    }
    QtTextMetrics metrics(&device);
    const std::vector<DrawOp> ops = LayoutPage(*page, settings, metrics);
    PaintHandlers handlers{&OnDrawField, &OnAddTaxEdit, &OnSetJump};
    painter->save();
    PaintOps(ops, *painter, settings, handlers);
    painter->restore();
}

void TXReport::PrintPages(const std::vector<int>& set, QPagedPaintDevice& device,
                          const std::function<void()>& abortJob) {
    if (set.empty()) return;
    std::vector<int> pages = set;
    std::sort(pages.begin(), pages.end());
    device.setPageOrientation(orientation_ == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device)) throw PrintError("the print job could not be started");
    Aborted = false;
    bool first = true;
    try {
        for (int copy = 0; copy < std::max(1, NumbOfCopies) && !Aborted; ++copy) {
            for (int i = 1; i <= PageCount() && !Aborted; ++i) {
                if (i > kMaxPages || !std::binary_search(pages.begin(), pages.end(), i)) continue;
                PrintingPage = i;
                if (!first && !device.newPage())
                    throw PrintError("a new page could not be started");
                first = false;
                DrawPage(i, &painter, false, 1.0, true);
                QCoreApplication::processEvents();
            }
        }
    } catch (...) {
        if (abortJob) abortJob();
        painter.end();
        throw;
    }
    if (Aborted && abortJob) abortJob();
    painter.end();
}

SavedPlacement::SavedPlacement(const TXReport& report)
    : printer_(report.Printer()), left_(report.LeftMargin()), top_(report.TopMargin()),
      right_(report.RightMargin()), bottom_(report.BottomMargin()), pageScale_(report.PageScale) {}

void SavedPlacement::RestoreTo(TXReport& report) const {
    report.SetPrinter(printer_);
    report.SetLeftMargin(left_);
    report.SetTopMargin(top_);
    report.SetRightMargin(right_);
    report.SetBottomMargin(bottom_);
    report.PageScale = pageScale_;
}

void PlaceOnPaper(TXReport& report) {
    const bool landscape = report.Orientation() == 1;
    report.SetLeftMargin(landscape ? 10 : 15);
    const auto& printer = report.Printer();
    const int t = printer ? printer->UnprintableTop() : 0;
    const int b = printer ? printer->UnprintableBottom() : 0;
    const int h = report.PageHeight();
    if (t <= 0) {
        report.SetTopMargin(0);
        return;
    }
    const int s = static_cast<int>((h - t - b - kScriptPageMM) / 2);
    if (s > 0) {
        report.SetTopMargin(t + s);
        return;
    }
    report.SetTopMargin(t);
    if (landscape) {
        const int r = printer->UnprintableRight();
        report.PageScale = (report.PageWidth() - report.LeftMargin() - r) / kScriptPageMM;
    } else {
        report.PageScale = (h - report.TopMargin() - b) / kScriptPageMM;
    }
}

} // namespace cgt::report
