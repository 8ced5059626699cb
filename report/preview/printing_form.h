#pragma once
// The window shown while a report prints: an animation, the page being printed and Cancel,
// which stops the print after the current page.

#include <QDialog>
#include <QTimer>

#include "report/engine/xreport.h"
#include "ui_printing_form.h"

class TFPrinting : public QDialog {
    Q_OBJECT
public:
    explicit TFPrinting(cgt::report::TXReport* report, QWidget* parent = nullptr);
    ~TFPrinting() override;

    cgt::report::TXReport* Report;
    QTimer* Timer1;
    int FrameCounter = 0;

    Ui::TFPrinting ui;

public slots:
    void CancelBtnClick();
    void FormShow();
    void FormClose();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape cancels as the button does
};
