#pragma once
// Section 7 of a share or trust interest event with non-assessable payments: the cost base
// adjustment worksheet (cgt/rules/adjustment_worksheet.h), worked out from the row every time the
// screen is shown. The taxpayer view shows the adjusted cost base and the gains the payments
// made; the worksheet view the grid of the passes. TQCGT_59a (2015) serves shares and checks the
// grid's dates when left, TQCGT_59b (2028) trust interests.

#include <memory>
#include <optional>

#include "cgt/rules/adjustment_worksheet.h"
#include "cgt/screens/events/event_screen.h"

namespace Ui {
class PaymentSummaryForm;
}

class TPaymentSummaryScreen : public TEventScreen {
    Q_OBJECT

public:
    ~TPaymentSummaryScreen() override;

    enum View { TaxpayerView = 0, WorksheetView = 1 };

    void FormShow() override;
    // Shows the view chosen in the views box.
    void RadioGroup3Click();

    View ShownView() const { return view_; }
    const cgt::AdjustmentWorksheet& Calculation() const { return ws_; }
    Ui::PaymentSummaryForm& ui() { return *ui_; }

protected:
    TPaymentSummaryScreen(cgt::PaymentKind kind, QWidget* parent);
    // The worksheet view shows a refused cell of the worksheet.
    QWidget* RefusedControl(const cgt::Refusal& refusal) override;

private:
    void Calculate();
    void ShowView(View view);

    std::unique_ptr<Ui::PaymentSummaryForm> ui_;
    cgt::PaymentKind kind_;
    cgt::AdjustmentWorksheet ws_;
    View view_ = TaxpayerView;
};

// 2015: shares.
class TQCGT_59a : public TPaymentSummaryScreen {
    Q_OBJECT

public:
    explicit TQCGT_59a(QWidget* parent = nullptr);

protected:
    // A date before 20/09/1985 in the worksheet.
    std::optional<cgt::Refusal> CheckEntries() override;
};

// 2028: trust interests.
class TQCGT_59b : public TPaymentSummaryScreen {
    Q_OBJECT

public:
    explicit TQCGT_59b(QWidget* parent = nullptr);

protected:
    // Nothing to check.
    std::optional<cgt::Refusal> CheckEntries() override;
};
