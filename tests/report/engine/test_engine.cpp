// The report engine: scripts loaded from the module's resources, printer geometry and margins,
// the placement on paper, drawing in screen and printing mode, the field drawer, and printing
// pages and copies on a paged device.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTimer>

#include "known_return.h"
#include "pdf_text.h"
#include "report/engine/field_drawer.h"
#include "report/engine/pdf_output.h"
#include "report/engine/xreport.h"
#include "tools/script_asm.h"

namespace cgt::test {
namespace {

using namespace report;

// A printer geometry on A4 with the given unprintable margins (mm).
PrinterGeometry Printer(double left, double top, double right, double bottom, int dpi = 300) {
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(left, top, right, bottom), QPageLayout::Millimeter,
                       QMarginsF(left, top, right, bottom));
    return PrinterGeometry{layout, dpi};
}

// An image of 10 pixels a millimetre: a script unit of 0.1 mm is one pixel.
QImage TenPerMM(int width = 2100, int height = 2970) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    return image;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { FillKnownReturn(); }
    void TearDown() override { ResetModuleRun(); }
};

TEST_F(EngineTest, LoadsTheModulesScriptsByName) {
    for (const char* name :
         {"CGTWSHT", "CGTASSET", "CGTNASS", "CGTCHOICE", "CGTCHOICEOLD", "CGTDISEV", "SCHEDCGT"}) {
        SCOPED_TRACE(name);
        if (std::string(name) == "SCHEDCGT") FetchRow(wkSchedule, 1);
        TXReport report;
        report.LoadScript(name, 1, kAllSections);
        EXPECT_GE(report.PageCount(), 1);
    }
    TXReport report;
    EXPECT_THROW(report.LoadScript("NOSUCHSCRIPT", 1, 1), ReportError);
    EXPECT_EQ(report.PageCount(), 0);
}

TEST_F(EngineTest, MarginsNeverBelowTheUnprintableOnes) {
    TXReport report;
    EXPECT_TRUE(report.NoPrinter());
    EXPECT_EQ(report.PageWidth(), 210);
    EXPECT_EQ(report.PageHeight(), 297);
    report.SetLeftMargin(-3);
    EXPECT_EQ(report.LeftMargin(), 0) << "a negative margin is stored as 0";

    report.SetLeftMargin(2);
    report.SetTopMargin(9);
    report.SetPrinter(Printer(4, 5, 6, 7));
    EXPECT_EQ(report.LeftMargin(), 4) << "reading the printer raises the margins";
    EXPECT_EQ(report.TopMargin(), 9);
    EXPECT_EQ(report.RightMargin(), 6);
    report.SetLeftMargin(2);
    EXPECT_EQ(report.LeftMargin(), 4);
    report.SetLeftMargin(20);
    EXPECT_EQ(report.LeftMargin(), 20);

    report.SetOrientation(1);
    EXPECT_EQ(report.PageWidth(), 297) << "landscape turns the printer's paper";
    EXPECT_EQ(report.PageHeight(), 210);
}

TEST_F(EngineTest, PlacesTheScriptPageOnThePaper) {
    struct Case {
        const char* name;
        std::optional<PrinterGeometry> printer;
        int orientation;
        int left, top;
        double scale;
    };
    const Case cases[] = {
        {"no printer: at the top", std::nullopt, 0, 15, 0, 1.0},
        {"room for 275 mm: centred", Printer(4, 5, 4, 5), 0, 15, 5 + 6, 1.0},
        {"too little room: shrunk", Printer(4, 15, 4, 15), 0, 15, 15, (297.0 - 30) / 275},
        {"landscape: by the width", Printer(4, 15, 4, 15), 1, 10, 15, (297.0 - 10 - 4) / 275},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TXReport report;
        report.SetOrientation(c.orientation);
        report.SetPrinter(c.printer);
        PlaceOnPaper(report);
        EXPECT_EQ(report.LeftMargin(), c.left);
        EXPECT_EQ(report.TopMargin(), c.top);
        EXPECT_DOUBLE_EQ(report.PageScale, c.scale);
    }
}

// Printing mode measures the margins from the paper's edge: the device's origin is the
// printable area's corner.
TEST_F(EngineTest, OriginOfScreenAndPrintingMode) {
    TXReport report;
    report.UnitFactor = 0.1;
    report.LoadScript(AssembleScript("section condition=0 placement=absolute height=2750\n"
                                     "    frame 25 120 1000 170\n    text \"here\"\n"),
                      1, 1);
    report.SetPrinter(Printer(4, 5, 4, 5));
    report.SetLeftMargin(15);
    report.SetTopMargin(11);
    QImage image = TenPerMM();
    auto where = [&](bool printing, double zoom) {
        for (const DrawOp& op : report.LayOutPage(1, image, zoom, printing))
            if (op.kind == DrawOp::Kind::Text) return std::make_pair(op.x, op.y);
        return std::make_pair(-1, -1);
    };
    EXPECT_EQ(where(false, 1.0), std::make_pair(150 + 25, 110 + 120));
    EXPECT_EQ(where(true, 1.0), std::make_pair(150 - 40 + 25, 110 - 50 + 120));
    EXPECT_EQ(where(false, 0.5), std::make_pair(75 + 12, 55 + 60)) << "12.5 rounds to even";
    report.PageScale = 2.0;
    EXPECT_EQ(where(false, 1.0), std::make_pair(150 + 50, 110 + 240))
        << "the page scale moves the records, not the margins";
}

TEST_F(EngineTest, ScreenModeFillsTheBackgroundUnlessKept) {
    TXReport report;
    report.UnitFactor = 0.1;
    report.LoadScript(AssembleScript("section condition=0 placement=absolute height=2750\n"
                                     "    attributes brush=15 pen=1\n    rect 100 100 200 200\n"),
                      1, 1);
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        QImage image = TenPerMM(400, 400);
        image.fill(QColor(10, 20, 30));
        QPainter painter(&image);
        report.DrawPage(1, &painter, keep, 1.0);
        painter.end();
        EXPECT_EQ(image.pixelColor(5, 5), keep ? QColor(10, 20, 30) : QColor(228, 216, 192));
        EXPECT_EQ(image.pixelColor(150, 150), QColor(Qt::white)) << "the record is drawn";
    }
    TXReport empty;
    QImage image = TenPerMM(10, 10);
    QPainter painter(&image);
    empty.DrawPage(1, &painter, false, 1.0);
    empty.DrawPage(1, nullptr, false, 1.0);
}

QImage DrawnField(const Record& record, char kind = rkField) {
    QImage image = TenPerMM(600, 120);
    QPainter painter(&image);
    DrawField(kind, record, painter, QRect(20, 20, 400, 60), 1.0, 1.0, 1.0);
    return image;
}

Record FieldOf(int tag, int type, int flags) {
    Record r = MakeRecord(rkField);
    r.setI16(fld::kTag, tag);
    r.setU8(fld::kType, type);
    r.setU8(fld::kBoxFlags, flags);
    return r;
}

// The value box draws an amount without its sign, and the loss marker "L" for a negative one.
TEST_F(EngineTest, FieldDrawerShowsAmountsWithoutSignAndTheLossMarker) {
    using namespace tag::event;
    SetFieldVal(kCapitalLoss, -150);
    SetFieldVal(kOtherGain, 150);
    SetFieldStr(kFirstMessage, "L");
    EXPECT_EQ(DrawnField(FieldOf(kCapitalLoss, 2, bfNoBox)),
              DrawnField(FieldOf(kOtherGain, 2, bfNoBox)));
    EXPECT_EQ(DrawnField(FieldOf(kCapitalLoss, dispSign, 0)),
              DrawnField(FieldOf(kFirstMessage, 6, 0)))
        << "kind 7 draws L where kind 6 draws a text";
    EXPECT_NE(DrawnField(FieldOf(kCapitalLoss, 2, bfNoBox)),
              DrawnField(FieldOf(kCapitalLoss, 2, 0)))
        << "a box is drawn unless box flag 1";
    EXPECT_EQ(DrawnField(FieldOf(kCapitalLoss, 2, 0), 'Z'), TenPerMM(600, 120))
        << "other kinds draw nothing";
    EXPECT_NE(DrawnField(FieldOf(0, 0, 0), rkCaution), TenPerMM(600, 120));
}

bool BlackIn(const QImage& image, int x, int top, int bottom) {
    for (int y = top; y <= bottom; ++y)
        if (qGray(image.pixel(x, y)) < 100) return true;
    return false;
}

// A vertical frame edge between x1 and x2: a column black from the box's top to its bottom.
bool EdgeBetween(const QImage& image, int x1, int x2) {
    for (int x = x1; x <= x2; ++x) {
        bool full = true;
        for (int y = 25; y <= 75 && full; ++y)
            full = qGray(image.pixel(x, y)) < 100;
        if (full) return true;
    }
    return false;
}

TEST_F(EngineTest, CentsBoxIsNarrowerWithACrossedOutDoubleZero) {
    const QImage plain = DrawnField(FieldOf(tag::event::kDiscountGain, 2, 0));
    const QImage cents = DrawnField(FieldOf(tag::event::kDiscountGain, 2, bfCents));
    // The box spans x 20..420; with the cents flag its right edge stands 40 units further left.
    EXPECT_TRUE(EdgeBetween(plain, 415, 421));
    EXPECT_FALSE(EdgeBetween(cents, 385, 421));
    EXPECT_TRUE(EdgeBetween(cents, 375, 381));
    bool inkRight = false;
    for (int x = 384; x < 440; ++x)
        inkRight = inkRight || BlackIn(cents, x, 30, 70);
    EXPECT_TRUE(inkRight) << "the dot and the struck-out 00 right of the box";
}

// Two copies of pages 1 and 2 print as four sheets of one job: 1, 2, 1, 2.
TEST_F(EngineTest, PrintsCopiesOfTheSelectedPagesInOneJob) {
    QTemporaryDir folder;
    const QString path = folder.filePath("copies.pdf");
    TXReport report;
    report.UnitFactor = 0.1;
    report.NumbOfCopies = 2;
    report.LoadScript(AssembleScript(R"(
section condition=0 placement=absolute height=2750
    frame 100 100 1000 200
    text "sheet one"
section condition=0 placement=absolute height=2750
    frame 100 100 1000 200
    text "sheet two"
section condition=0 placement=absolute height=2750
    frame 100 100 1000 200
    text "sheet three"
)"),
                      1, 3);
    {
        QPdfWriter writer(path);
        report.PrintPages({2, 1}, writer);
    }
    EXPECT_EQ(PdfPageCount(path), 4);
    EXPECT_EQ(PdfText(path, 1), "sheet one");
    EXPECT_EQ(PdfText(path, 2), "sheet two");
    EXPECT_EQ(PdfText(path, 3), "sheet one");
    EXPECT_EQ(PdfText(path, 4), "sheet two");

    // Cancel, seen between pages, ends the print after the page under way.
    bool aborted = false;
    QTimer::singleShot(0, [&] { report.Aborted = true; });
    {
        QPdfWriter writer(folder.filePath("cancelled.pdf"));
        report.PrintPages({1, 2, 3}, writer, [&] { aborted = true; });
    }
    EXPECT_TRUE(aborted);
    EXPECT_EQ(report.PrintingPage, 1);
    EXPECT_EQ(PdfPageCount(folder.filePath("cancelled.pdf")), 1);

    report.PrintPages({}, *std::make_unique<QPdfWriter>(folder.filePath("none.pdf")));
    EXPECT_FALSE(QFile::exists(folder.filePath("none.pdf"))) << "an empty set prints nothing";
}

} // namespace
} // namespace cgt::test
