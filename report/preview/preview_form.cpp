#include "report/preview/preview_form.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "report/core/page_range.h"
#include "report/engine/pdf_output.h"
#include "report/preview/printers.h"
#include "report/preview/printing_form.h"
#include "store/dialogs.h"
#include "ui_preview_form.h"

namespace cgt::report {

namespace {

constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 2.0;
constexpr double kZoomIn = 1.2;
constexpr double kZoomOut = 0.8;
// Room left beside the page when it fits the width, and around it when the whole page fits.
constexpr int kWidthRoom = 30;
constexpr int kPageRoom = 12;
// The scroll range is the picture and this much more, when the picture does not fit.
constexpr int kScrollExtra = 10;

std::unique_ptr<QPrinter> AskForPrinter(TPreviewForm& form) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (!chosen.isNull()) printer->setPrinterName(chosen.printerName());
    QPrintDialog dialog(printer.get(), &form);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    // The report prints the copies itself, one after the other in one job.
    if (TXReport* report = form.Report()) report->NumbOfCopies = std::max(1, printer->copyCount());
    printer->setCopyCount(1);
    return printer;
}

QString AskForPdfFile(TPreviewForm& form) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    const QString name = (form.Title.isEmpty() ? QStringLiteral("Report") : form.Title) + ".pdf";
    QFileDialog dialog(&form, QStringLiteral("Save as PDF"), QDir(folder).filePath(name),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

std::string Latin1(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

TPreviewForm::TPreviewForm(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowStaysOnTopHint),
      ui_(std::make_unique<Ui::TPreviewForm>()) {
    ui_->setupUi(this);
    ChoosePrinter = AskForPrinter;
    ChoosePdfFile = AskForPdfFile;
    ui_->ScrollBox1->setBackgroundRole(QPalette::Dark);
    ui_->ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    connect(ui_->btnPrint, &QPushButton::clicked, this, &TPreviewForm::btnPrintClick);
    connect(ui_->btnPdf, &QPushButton::clicked, this, &TPreviewForm::btnPdfClick);
    connect(ui_->BtnExit, &QPushButton::clicked, this, &TPreviewForm::BtnExitClick);
    connect(ui_->AllBtn, &QRadioButton::clicked, this, &TPreviewForm::AllBtnClick);
    connect(ui_->btnFirst, &QToolButton::clicked, this, &TPreviewForm::btnFirstClick);
    connect(ui_->btnPrev, &QToolButton::clicked, this, &TPreviewForm::btnPrevClick);
    connect(ui_->btnNext, &QToolButton::clicked, this, &TPreviewForm::btnNextClick);
    connect(ui_->btnLast, &QToolButton::clicked, this, &TPreviewForm::btnLastClick);
    connect(ui_->btnAllPage, &QToolButton::clicked, this, &TPreviewForm::btnAllPageClick);
    connect(ui_->btnPageWidth, &QToolButton::clicked, this, &TPreviewForm::btnPageWidthClick);
    connect(ui_->Image1, &TPageImage::MouseDown, this, &TPreviewForm::Image1MouseDown);
    // The form sees the keys before its controls.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    FormCreate();
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::SetReport(std::unique_ptr<TXReport> report) {
    report_ = std::move(report);
}

void TPreviewForm::FormCreate() {
    Zoom = 1.0;
    ui_->Image1->ResizePicture(QSize(1, 1), 96);
    IsPrinting = false;
}

void TPreviewForm::FormActivate() {
    // The page image's cursor is the standard arrow.
    ui_->Image1->setCursor(Qt::ArrowCursor);
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (layout() != nullptr) layout()->activate();
    FormActivate();
    FormShow();
}

void TPreviewForm::FormShow() {
    if (!report_) return;
    const QScreen* shownOn = screen();
    PixelsPerMM = (shownOn ? shownOn->logicalDotsPerInchX() : 96.0) / 25.4;
    PlaceOnPaper(*report_);
    Zoom = (ui_->ScrollBox1->width() - kWidthRoom) / (report_->PageWidth() * PixelsPerMM);
    ResizeImage();
    ShowPage(1);
}

void TPreviewForm::ResizeImage() {
    if (!report_) return;
    const int width = static_cast<int>(std::lround(report_->PageWidth() * PixelsPerMM * Zoom));
    const int height = static_cast<int>(std::lround(report_->PageHeight() * PixelsPerMM * Zoom));
    ui_->Image1->ResizePicture(QSize(width, height), PixelsPerMM * 25.4);
}

void TPreviewForm::ShowPage(int page) {
    if (!report_) return;
    report_->GotoPage(page);
    QImage& picture = ui_->Image1->Picture();
    {
        QPainter painter(&picture);
        report_->DrawPage(report_->CurrentPage(), &painter, false, Zoom);
    }
    ui_->Image1->update();
    UpdatePagePosition();
}

void TPreviewForm::UpdatePagePosition() {
    ui_->MaxPage->setText(
        QStringLiteral("%1 of %2").arg(report_->CurrentPage()).arg(report_->PageCount()));
}

void TPreviewForm::btnFirstClick() {
    ShowPage(1);
}
void TPreviewForm::btnPrevClick() {
    if (report_) ShowPage(report_->CurrentPage() - 1);
}
void TPreviewForm::btnNextClick() {
    if (report_) ShowPage(report_->CurrentPage() + 1);
}
void TPreviewForm::btnLastClick() {
    if (report_) ShowPage(report_->PageCount());
}

void TPreviewForm::btnAllPageClick() {
    if (!report_) return;
    Zoom = std::min((ui_->ScrollBox1->height() - kPageRoom) / (report_->PageHeight() * PixelsPerMM),
                    (ui_->ScrollBox1->width() - kPageRoom) / (report_->PageWidth() * PixelsPerMM));
    ResizeImage();
    ShowPage(report_->CurrentPage());
    ui_->ScrollBox1->horizontalScrollBar()->setValue(0);
    ui_->ScrollBox1->verticalScrollBar()->setValue(0);
}

void TPreviewForm::btnPageWidthClick() {
    if (!report_) return;
    Zoom = (ui_->ScrollBox1->width() - kWidthRoom) / (report_->PageWidth() * PixelsPerMM);
    ResizeImage();
    ShowPage(report_->CurrentPage());
    ui_->ScrollBox1->horizontalScrollBar()->setValue(0);
    ui_->ScrollBox1->verticalScrollBar()->setValue(0);
}

// A click zooms in (left) or out (right) and brings the clicked point to the middle.
void TPreviewForm::Image1MouseDown(Qt::MouseButton button, int x, int y) {
    if (!report_) return;
    const int oldWidth = std::max(1, ui_->Image1->width());
    const int oldHeight = std::max(1, ui_->Image1->height());
    if (button == Qt::LeftButton) Zoom *= kZoomIn;
    if (button == Qt::RightButton) Zoom *= kZoomOut;
    Zoom = std::clamp(Zoom, kMinZoom, kMaxZoom);
    ResizeImage();
    const QSize box = ui_->ScrollBox1->viewport()->size();
    const int hRange =
        ui_->Image1->width() + kScrollExtra > box.width() ? ui_->Image1->width() + kScrollExtra : 0;
    const int vRange = ui_->Image1->height() + kScrollExtra > box.height()
                           ? ui_->Image1->height() + kScrollExtra
                           : 0;
    ui_->ScrollBox1->horizontalScrollBar()->setValue(
        static_cast<int>(std::trunc(hRange * static_cast<double>(x) / oldWidth - box.width() / 2)));
    ui_->ScrollBox1->verticalScrollBar()->setValue(static_cast<int>(
        std::trunc(vRange * static_cast<double>(y) / oldHeight - box.height() / 2)));
    ShowPage(report_->CurrentPage());
}

bool TPreviewForm::FormKeyDown(int key) {
    if (!report_) return false;
    QScrollBar* v = ui_->ScrollBox1->verticalScrollBar();
    QScrollBar* h = ui_->ScrollBox1->horizontalScrollBar();
    const int page = ui_->ScrollBox1->viewport()->height() - v->singleStep();
    switch (key) {
    case Qt::Key_PageUp:
        if (v->value() != 0 || report_->CurrentPage() == 1) {
            v->setValue(v->value() - page);
        } else {
            btnPrevClick();
            v->setValue(v->maximum());
        }
        return true;
    case Qt::Key_PageDown:
        if (v->value() >= v->maximum() && report_->CurrentPage() < report_->PageCount()) {
            btnNextClick();
            v->setValue(0);
        } else {
            v->setValue(v->value() + page);
        }
        return true;
    case Qt::Key_Home:
        h->setValue(0);
        return true;
    case Qt::Key_End:
        h->setValue(ui_->ScrollBox1->width());
        return true;
    case Qt::Key_Up:
        v->setValue(v->value() - v->singleStep());
        return true;
    case Qt::Key_Down:
        v->setValue(v->value() + v->singleStep());
        return true;
    default:
        return false;
    }
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == ui_->TaxEdit1) {
        TaxEdit1KeyDown();
        // Keys that move the caret in the page box stay the box's.
        if (key == Qt::Key_Home || key == Qt::Key_End) return false;
    }
    return FormKeyDown(key);
}

void TPreviewForm::TaxEdit1KeyDown() {
    ui_->PagesBtn->setChecked(true);
}

void TPreviewForm::AllBtnClick() {
    ui_->TaxEdit1->clear();
}

std::vector<int> TPreviewForm::PagesToPrint() {
    std::vector<int> pages;
    if (!report_) return pages;
    if (ui_->PagesBtn->isChecked()) {
        const std::string typed = Latin1(ui_->TaxEdit1->text());
        const PageRange range = ParsePageRange(typed);
        if (!range.valid) {
            MsgBox(PageRangeMessage(typed, Latin1(ui_->MaxPage->text())), mkError, mbOK);
            return pages;
        }
        return range.pages;
    }
    for (int page = 1; page <= report_->PageCount(); ++page)
        pages.push_back(page);
    return pages;
}

void TPreviewForm::RunPrint(const std::function<void()>& print) {
    const int shown = report_->CurrentPage();
    TFPrinting printing(report_.get(), this);
    printing.show();
    printing.repaint();
    IsPrinting = true;
    std::string error;
    try {
        print();
    } catch (const std::exception& e) {
        error = e.what();
    }
    printing.close();
    IsPrinting = false;
    ShowPage(shown);
    if (!error.empty()) MsgBox("The pages could not be printed.\n\n" + error, mkError, mbOK);
}

void TPreviewForm::btnPrintClick() {
    if (!report_) return;
    if (NoPrinterInstalled()) {
        MsgBox("Printer is not set. Cannot print.", mkInformation, mbOK);
        return;
    }
    const std::vector<int> pages = PagesToPrint();
    if (pages.empty()) return;
    std::unique_ptr<QPrinter> printer = ChoosePrinter(*this);
    if (!printer) return;
    printer->setDocName(QString::fromStdString(ApplicationTitle()) + " workpapers");
    RunPrint([&] {
        const SavedPlacement placement(*report_);
        report_->SetPrinter(GeometryOf(*printer));
        PlaceOnPaper(*report_);
        try {
            report_->PrintPages(pages, *printer, [&printer] { printer->abort(); });
        } catch (...) {
            placement.RestoreTo(*report_);
            throw;
        }
        placement.RestoreTo(*report_);
    });
}

void TPreviewForm::btnPdfClick() {
    if (!report_) return;
    const std::vector<int> pages = PagesToPrint();
    if (pages.empty()) return;
    QString path = ChoosePdfFile(*this);
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    RunPrint([&] { WritePdf(*report_, path, pages, Title); });
}

void TPreviewForm::BtnExitClick() {
    close();
}

void TPreviewForm::closeEvent(QCloseEvent* event) {
    if (IsPrinting) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TPreviewForm::done(int result) {
    if (IsPrinting) return;
    report_.reset();
    QDialog::done(result);
}

} // namespace cgt::report
