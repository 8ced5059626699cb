#pragma once
// TXReport: turns report scripts into pages and draws them on any QPainter at any scale: on the
// preview's page image (screen mode, at a zoom) or on a paged device such as a printer or a
// PDF writer (printing mode). It knows nothing of tax: it reads the store only to decide which
// sections and how many table rows print, and hands the drawing of a field's value to its
// OnDrawField handler.
//
// The printer it lays pages out for is described by a PrinterGeometry (from a QPageLayout and
// a resolution); the printing layer reads it from the installed printers. Without one, pages
// are 210 × 297 mm and have no unprintable margins.

#include <QtCore/QRect>
#include <QtGui/QPageLayout>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "report/core/layout.h"
#include "report/core/pages.h"

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

namespace cgt::report {

// The printer a report is laid out for: its pixels per millimetre and unprintable margins.
struct PrinterGeometry {
    QPageLayout layout; // page size, orientation; its minimum margins are the unprintable ones
    int resolution = 300;

    double xPixelsPerMM() const { return resolution / 25.4; }
    double yPixelsPerMM() const { return resolution / 25.4; }
    // The unprintable margins in whole millimetres, and the paper in millimetres.
    int UnprintableLeft() const;
    int UnprintableTop() const;
    int UnprintableRight() const;
    int UnprintableBottom() const;
    double PaperWidth() const;
    double PaperHeight() const;
};

class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Draws a record the engine does not draw itself: fields, caution signs, unknown kinds.
using DrawFieldHandler =
    std::function<void(char kind, const Record& record, QPainter& painter, const QRect& rect,
                       double fontScale, double xScale, double yScale)>;
// Places an edit control over an editable field drawn on screen.
using AddTaxEditHandler =
    std::function<void(int index, const Record& record, QPainter& painter, const QRect& rect,
                       double fontScale, double xScale, double yScale)>;
using SetFieldTypeHandler = std::function<void(int tag, int type)>;
using SetJumpHandler =
    std::function<void(QPainter& painter, int jump, const QRect& rect, bool clearJumps)>;

class TXReport {
public:
    TXReport();

    // Margins in millimetres, never below the unprintable margin on their side (nor 0).
    int LeftMargin() const { return left_; }
    int RightMargin() const { return right_; }
    int TopMargin() const { return top_; }
    int BottomMargin() const { return bottom_; }
    void SetLeftMargin(int mm);
    void SetRightMargin(int mm);
    void SetTopMargin(int mm);
    void SetBottomMargin(int mm);

    // 0 portrait, 1 landscape; sets the printer's orientation too and reads its geometry again.
    int Orientation() const { return orientation_; }
    void SetOrientation(int orientation);

    double UnitFactor = 1.0; // millimetres per script unit
    int NumbOfCopies = 1;
    bool ShowEditFields = true;
    double PageScale = 1.0; // multiplies every coordinate, not the font sizes
    bool Aborted = false;   // set by the printing window's Cancel
    int PrintingPage = 0;   // the page being printed

    DrawFieldHandler OnDrawField;
    AddTaxEditHandler OnAddTaxEdit;
    SetFieldTypeHandler OnSetFieldType;
    SetJumpHandler OnSetJump;

    // Appends the pages of sections first..last of the script carried as ":/reports/NAME".
    // Throws ReportError for a name with no script, ScriptError for a malformed one.
    void LoadScript(std::string_view name, int first, int last);
    void LoadScript(const Script& script, int first, int last);

    int PageCount() const { return pages_.PageCount(); }
    int CurrentPage() const { return pages_.CurrentPage(); }
    // Makes page n current (clamped); nullptr when nothing is loaded.
    Page* GotoPage(int n) { return pages_.GotoPage(n); }
    PageList& Pages() { return pages_; }
    void ClearPages() { pages_.Clear(); }

    // Draws page n; `printing` when the painter's device is the printer. Nothing happens
    // without a painter or pages.
    void DrawPage(int n, QPainter* painter, bool keepBackground, double zoom,
                  bool printing = false);
    // The drawing operations of page n on `device`, as DrawPage lays them out.
    std::vector<DrawOp> LayOutPage(int n, QPaintDevice& device, double zoom, bool printing);

    // Prints the pages of the set on the device, NumbOfCopies times, each on its own sheet;
    // lets pending events through after each page and stops when Aborted is set, then calls
    // abortJob. Throws PrintError when the job cannot start or a page cannot be added.
    void PrintPages(const std::vector<int>& pages, QPagedPaintDevice& device,
                    const std::function<void()>& abortJob = {});

    // The paper in millimetres: 210 × 297 without a printer.
    int PageWidth() const;
    int PageHeight() const;
    bool NoPrinter() const { return !printer_.has_value(); }
    const std::optional<PrinterGeometry>& Printer() const { return printer_; }
    // ReadPrinterGeometry's result: the printer (or none), then the margins set again.
    void SetPrinter(std::optional<PrinterGeometry> printer);

private:
    DrawSettings Settings(QPaintDevice& device, double zoom, bool printing) const;
    int Unprintable(int side) const;

    PageList pages_;
    std::optional<PrinterGeometry> printer_;
    int left_ = 0;
    int right_ = 0;
    int top_ = 0;
    int bottom_ = 0;
    int orientation_ = 0;
};

// A report's printer, margins and page scale, kept while it prints on another device and put
// back afterwards.
class SavedPlacement {
public:
    explicit SavedPlacement(const TXReport& report);
    void RestoreTo(TXReport& report) const;

private:
    std::optional<PrinterGeometry> printer_;
    int left_;
    int top_;
    int right_;
    int bottom_;
    double pageScale_;
};

// Places the script page (275 mm high) on the printer's paper, as the preview does before it
// shows the first page: a left margin of 15 mm (10 in landscape), the page centred in the
// printable height, or shrunk to it when it does not fit.
void PlaceOnPaper(TXReport& report);

} // namespace cgt::report
