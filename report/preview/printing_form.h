#pragma once
// The window shown while a report prints: an animation, the page being printed and Cancel,
// which stops the print after the current page.

#include <QDialog>
#include <QTimer>

#include <memory>

#include "report/engine/xreport.h"

namespace Ui {
class TFPrinting;
}

namespace cgt::report {

class TFPrinting : public QDialog {
    Q_OBJECT
public:
    explicit TFPrinting(TXReport* report, QWidget* parent = nullptr);
    ~TFPrinting() override;

    TXReport* Report;
    QTimer* Timer1;
    int FrameCounter = 0;

public slots:
    void CancelBtnClick();
    void FormShow();
    void FormClose();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape cancels as the button does

private:
    std::unique_ptr<Ui::TFPrinting> ui_;
};

} // namespace cgt::report
