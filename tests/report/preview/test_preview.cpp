// The preview driven like a user: paging, fitting and zooming, the keys, the page range and
// its errors, saving as PDF (with the real file dialog too), Cancel while printing, printing
// without a printer, closing, and the printouts of an event opened modally.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "dialogs/modal_helper.h"
#include "known_return.h"
#include "pdf_text.h"
#include "report/preview/event_printouts.h"
#include "report/preview/preview_form.h"
#include "report/preview/printers.h"
#include "report/preview/printing_form.h"
#include "support/scripted_dialogs.h"

namespace cgt::test {
namespace {

using namespace report;

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillKnownReturn(120); // a worksheet of three or more pages
        form_ = std::make_unique<TPreviewForm>();
        form_->SetReport(LoadFilledReport("CGTWSHT"));
        form_->Title = "CGT worksheet";
        form_->ChoosePdfFile = [this](TPreviewForm&) {
            ++pdfAsked_;
            return pdfPath_;
        };
        pages_ = form_->Report()->PageCount();
        form_->resize(900, 700);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }
    void TearDown() override {
        form_.reset();
        ResetModuleRun();
    }

    template <typename T> T* Widget(const char* name) const {
        T* widget = form_->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::string Position() const { return Widget<QLabel>("MaxPage")->text().toStdString(); }
    std::string Of(int page) const {
        return std::to_string(page) + " of " + std::to_string(pages_);
    }
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void ClickImage(Qt::MouseButton button, QPoint at = {50, 50}) {
        QTest::mouseClick(Widget<QWidget>("Image1"), button, {}, at);
    }
    void TypePages(const QString& text) {
        Widget<QLineEdit>("TaxEdit1")->setFocus();
        QTest::keyClicks(Widget<QLineEdit>("TaxEdit1"), text);
    }

    ScriptedDialogs dialogs_;
    QTemporaryDir folder_;
    QString pdfPath_;
    int pdfAsked_ = 0;
    std::unique_ptr<TPreviewForm> form_;
    int pages_ = 0;
};

TEST_F(PreviewTest, PagesThroughTheReport) {
    ASSERT_GE(pages_, 3);
    EXPECT_EQ(Position(), Of(1));
    Click(Widget<QAbstractButton>("btnNext"));
    EXPECT_EQ(Position(), Of(2));
    Click(Widget<QAbstractButton>("btnLast"));
    EXPECT_EQ(Position(), Of(pages_));
    Click(Widget<QAbstractButton>("btnNext"));
    EXPECT_EQ(Position(), Of(pages_)) << "the last page stays";
    Click(Widget<QAbstractButton>("btnPrev"));
    EXPECT_EQ(Position(), Of(pages_ - 1));
    Click(Widget<QAbstractButton>("btnFirst"));
    Click(Widget<QAbstractButton>("btnPrev"));
    EXPECT_EQ(Position(), Of(1));
}

TEST_F(PreviewTest, FitsTheWidthOrThePageAndZoomsByClicks) {
    QScrollArea* box = Widget<QScrollArea>("ScrollBox1");
    const double ppm = form_->PixelsPerMM;
    EXPECT_NEAR(Widget<QWidget>("Image1")->width(), box->width() - 30, 1)
        << "shown at the page width";

    Click(Widget<QAbstractButton>("btnAllPage"));
    EXPECT_DOUBLE_EQ(form_->Zoom, std::min((box->height() - 12) / (297 * ppm),
                                           (box->width() - 12) / (210 * ppm)));
    EXPECT_LE(Widget<QWidget>("Image1")->height(), box->height() - 11);

    form_->Zoom = 1.0;
    for (int i = 0; i < 6; ++i)
        ClickImage(Qt::LeftButton);
    EXPECT_DOUBLE_EQ(form_->Zoom, 2.0) << "zooming in stops at 2.0";
    form_->Zoom = 0.6;
    ClickImage(Qt::RightButton);
    EXPECT_DOUBLE_EQ(form_->Zoom, 0.5) << "zooming out stops at 0.5";
    ClickImage(Qt::MiddleButton);
    EXPECT_DOUBLE_EQ(form_->Zoom, 0.5);

    // A click brings the clicked point to the middle of the view.
    Click(Widget<QAbstractButton>("btnPageWidth"));
    const QPoint at(Widget<QWidget>("Image1")->width() / 2,
                    Widget<QWidget>("Image1")->height() / 2);
    const int oldHeight = Widget<QWidget>("Image1")->height();
    ClickImage(Qt::LeftButton, at);
    const int expected =
        static_cast<int>((Widget<QWidget>("Image1")->height() + 10) * double(at.y()) / oldHeight -
                         box->viewport()->height() / 2);
    EXPECT_EQ(box->verticalScrollBar()->value(),
              std::clamp(expected, 0, box->verticalScrollBar()->maximum()));
    EXPECT_EQ(Position(), Of(1)) << "zooming keeps the page";
}

TEST_F(PreviewTest, PageKeysTurnPagesAtTheEdges) {
    QScrollBar* v = Widget<QScrollArea>("ScrollBox1")->verticalScrollBar();
    ASSERT_GT(v->maximum(), 0) << "the page is taller than the view at the page width";
    Widget<QScrollArea>("ScrollBox1")->setFocus();
    QTest::keyClick(Widget<QScrollArea>("ScrollBox1"), Qt::Key_PageDown);
    EXPECT_EQ(Position(), Of(1)) << "the first Page Down scrolls";
    EXPECT_GT(v->value(), 0);
    v->setValue(v->maximum());
    QTest::keyClick(Widget<QScrollArea>("ScrollBox1"), Qt::Key_PageDown);
    EXPECT_EQ(Position(), Of(2)) << "at the bottom, the next page from its top";
    EXPECT_EQ(v->value(), 0);
    QTest::keyClick(Widget<QScrollArea>("ScrollBox1"), Qt::Key_PageUp);
    EXPECT_EQ(Position(), Of(1)) << "at the top, the previous page from its bottom";
    EXPECT_EQ(v->value(), v->maximum());
    QTest::keyClick(Widget<QScrollArea>("ScrollBox1"), Qt::Key_Up);
    EXPECT_EQ(v->value(), v->maximum() - v->singleStep());
}

TEST_F(PreviewTest, APageRangeThatIsNotOneIsToldAndNothingPrints) {
    TypePages("1,2,");
    EXPECT_TRUE(Widget<QAbstractButton>("PagesBtn")->isChecked())
        << "typing in the page box chooses Pages";
    EXPECT_EQ(Widget<QLineEdit>("TaxEdit1")->text(), "1,2,");
    Click(Widget<QAbstractButton>("btnPdf"));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].kind, mkError);
    EXPECT_EQ(dialogs_.messages[0].text,
              "\"1,2,\" is not a valid page range. You must specify a valid range of pages before "
              "printing.\n\rAn example of a correct page range is \"1 - " +
                  std::to_string(pages_) + "\".");
    EXPECT_EQ(pdfAsked_, 0);

    Widget<QLineEdit>("TaxEdit1")->clear();
    Click(Widget<QAbstractButton>("btnPdf"));
    EXPECT_EQ(dialogs_.messages.size(), 1u) << "an empty page box prints nothing, silently";
    EXPECT_EQ(pdfAsked_, 0);

    TypePages("2");
    Click(Widget<QAbstractButton>("AllBtn"));
    EXPECT_EQ(Widget<QLineEdit>("TaxEdit1")->text(), "") << "All clears the page box";
}

TEST_F(PreviewTest, SavesTheChosenPagesAsPdf) {
    pdfPath_ = folder_.filePath("worksheet");
    TypePages("3-2");
    Click(Widget<QAbstractButton>("btnPdf"));
    const QString written = folder_.filePath("worksheet.pdf");
    EXPECT_EQ(pdfAsked_, 1);
    EXPECT_TRUE(dialogs_.messages.empty());
    ASSERT_EQ(PdfPageCount(written), 2) << "pages 2 and 3, named with .pdf";
    EXPECT_EQ(PdfText(written, 1).find("Capital gains tax worksheet"), std::string::npos);
    EXPECT_NE(PdfText(written, 1).find("Taxpayer Name"), std::string::npos);
    EXPECT_FALSE(form_->IsPrinting);
    EXPECT_EQ(form_->findChild<TFPrinting*>(), nullptr) << "the printing window is gone";
    EXPECT_EQ(Position(), Of(1)) << "the preview shows the page it showed";

    Click(Widget<QAbstractButton>("AllBtn"));
    pdfPath_ = folder_.filePath("all.pdf");
    Click(Widget<QAbstractButton>("btnPdf"));
    EXPECT_EQ(PdfPageCount(pdfPath_), pages_);
}

TEST_F(PreviewTest, SavesThroughTheFileDialog) {
    form_->ChoosePdfFile = TPreviewForm().ChoosePdfFile;
    const QString path = folder_.filePath("chosen.pdf");
    auto ran = WhenModal([&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->windowTitle(), "Save as PDF");
        files->selectFile(path);
        QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
    });
    Click(Widget<QAbstractButton>("btnPdf"));
    EXPECT_TRUE(*ran);
    EXPECT_EQ(PdfPageCount(path), pages_);
}

TEST_F(PreviewTest, CancelStopsTheSaveAndLeavesNoFile) {
    pdfPath_ = folder_.filePath("cancelled.pdf");
    bool cancelled = false;
    QTimer::singleShot(0, [&] {
        if (auto* printing = form_->findChild<TFPrinting*>()) {
            EXPECT_TRUE(printing->isVisible());
            EXPECT_EQ(printing->windowTitle(), "Printing");
            EXPECT_TRUE(form_->IsPrinting);
            QTest::mouseClick(printing->findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
            cancelled = true;
        }
    });
    Click(Widget<QAbstractButton>("btnPdf"));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(form_->Report()->PrintingPage, 1) << "stopped after the page under way";
    EXPECT_FALSE(QFile::exists(pdfPath_));
    EXPECT_FALSE(QFile::exists(pdfPath_ + ".part"));
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(PreviewTest, PrintingWithoutAPrinterIsTold) {
    if (!NoPrinterInstalled()) GTEST_SKIP() << "a printer is installed here";
    Click(Widget<QAbstractButton>("btnPrint"));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "Printer is not set. Cannot print.");
    EXPECT_EQ(dialogs_.messages[0].kind, mkInformation);
    EXPECT_TRUE(form_->isVisible());
}

TEST_F(PreviewTest, CloseIsRefusedWhilePrintingAndFreesTheReport) {
    form_->IsPrinting = true;
    Click(Widget<QAbstractButton>("BtnExit"));
    EXPECT_TRUE(form_->isVisible());
    EXPECT_NE(form_->Report(), nullptr);
    form_->IsPrinting = false;
    Click(Widget<QAbstractButton>("BtnExit"));
    EXPECT_FALSE(form_->isVisible());
    EXPECT_EQ(form_->Report(), nullptr);
}

// The print buttons' call: the printout filled from the store opens modally, maximised.
TEST(EventPrintouts, OpenInTheModalPreviewFilledFromTheStore) {
    ScriptedDialogs dialogs;
    FillKnownReturn();
    for (EventPrintout printout :
         {EventPrintout::Worksheet, EventPrintout::AssetRegister, EventPrintout::NonAssessable}) {
        SCOPED_TRACE(std::string(ScriptOf(printout)));
        bool filled = false;
        auto ran = WhenModal([&](QDialog& dialog) {
            auto* preview = qobject_cast<TPreviewForm*>(&dialog);
            ASSERT_NE(preview, nullptr);
            EXPECT_EQ(preview->windowTitle(), "Preview");
            EXPECT_TRUE(preview->windowState() & Qt::WindowMaximized);
            EXPECT_EQ(preview->findChild<QLabel*>("MaxPage")->text(), "1 of 1");
            for (const Record& r : preview->Report()->Pages().pages()[0].records)
                filled = filled || (r.hasText && r.text == kKnownAsset);
            QTest::mouseClick(preview->findChild<QPushButton*>("BtnExit"), Qt::LeftButton);
        });
        PreviewEventPrintout(nullptr, printout);
        EXPECT_TRUE(*ran);
        EXPECT_TRUE(filled) << "the asset's name from the store";
    }
    EXPECT_TRUE(dialogs.messages.empty());
    ResetModuleRun();
}

} // namespace
} // namespace cgt::test
