#pragma once
// TPreviewForm: every printout is seen first here. It shows one page at a time on a scrolling
// page image at a zoom, pages through the report, fits the page width or the whole page, and
// prints all pages or a typed page range on an installed printer, or saves them as PDF. It owns
// the report it shows.

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "report/engine/xreport.h"

class QPrinter;

namespace Ui {
class TPreviewForm;
}

namespace cgt::report {

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TPreviewForm(QWidget* parent = nullptr);
    ~TPreviewForm() override;

    // The report to show; the window owns it from now on. Set before the window is shown.
    void SetReport(std::unique_ptr<TXReport> report);
    TXReport* Report() const { return report_.get(); }

    double Zoom = 1.0;
    double PixelsPerMM = 96 / 25.4;
    bool IsPrinting = false;

    // The title that names the PDF file and its pages ("CGT worksheet").
    QString Title;

    // Asks for the printer: by default the print dialog on the default printer; nullptr when
    // the user cancels. The copies asked for go into the report's NumbOfCopies.
    std::function<std::unique_ptr<QPrinter>(TPreviewForm& form)> ChoosePrinter;
    // Asks for the PDF file's name: by default a save dialog; empty when the user cancels.
    std::function<QString(TPreviewForm& form)> ChoosePdfFile;

public slots:
    void FormActivate();
    void btnPrintClick();
    void btnPdfClick();
    void BtnExitClick();
    void FormCreate();
    void FormShow();
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void TaxEdit1KeyDown();
    void AllBtnClick();
    void btnFirstClick();
    void btnPrevClick();
    void btnNextClick();
    void btnLastClick();
    void btnAllPageClick();
    void btnPageWidthClick();
    // Handles the keys the form sees first; true when handled.
    bool FormKeyDown(int key);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The pages the Print and Save as PDF commands print; an empty set prints nothing.
    std::vector<int> PagesToPrint();
    void ResizeImage();
    void ShowPage(int page);
    void UpdatePagePosition();
    // Runs a print under the printing window; its errors are shown in a message box.
    void RunPrint(const std::function<void()>& print);

    std::unique_ptr<Ui::TPreviewForm> ui_;
    std::unique_ptr<TXReport> report_;
    bool shown_ = false;
};

} // namespace cgt::report
