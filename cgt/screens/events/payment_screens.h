#pragma once
// Section 4 of a share or trust interest event: the non-assessable payments received for the
// asset (tag 738), one grid row per payment. TQCGT_18 (2012) takes capital payments for shares
// (CGT event G1), TQCGT_18b (2025) the non-assessable amounts of trust distributions (CGT event
// E4), deriving each row's CGT event date from its date of payment. Both continue the event's
// row, check the rows when left (cgt/rules/payment_checks.h) and keep them in date order.

#include <memory>
#include <optional>
#include <span>

#include "cgt/rules/adjustment_worksheet.h"
#include "cgt/screens/events/event_screen.h"

class QLineEdit;
class TTextLbl;
class TXGrid;

namespace Ui {
class SharePaymentsForm;
class TrustPaymentsForm;
} // namespace Ui

// What both payment screens share: the grid's columns, the help below it following the column,
// the checks, the order on Next and the refused row's cell.
class TPaymentsScreen : public TEventScreen {
    Q_OBJECT

public:
    void FormShow() override;

    TXGrid* XGrid1() const { return grid_; }
    TTextLbl* YBLbl() const { return help_; }
    cgt::PaymentKind Kind() const { return kind_; }

protected:
    TPaymentsScreen(cgt::PaymentKind kind, QWidget* parent);
    // Binds the form's controls (the grid's columns `widths` wide) and continues the event's
    // row, writing the payments' CGT event.
    void Bind(TXGrid* grid, std::span<const int> widths, TTextLbl* help, QLineEdit* eventDisplay);
    // The help of the column entered; the trust screen assists the row as well.
    virtual void XGrid1Click(int col, int row);

    std::optional<cgt::Refusal> CheckEntries() override;
    cgt::NextStep NextPressed() override;
    QWidget* RefusedControl(const cgt::Refusal& refusal) override;

private:
    cgt::PaymentKind kind_;
    TXGrid* grid_ = nullptr;
    TTextLbl* help_ = nullptr;
};

// 2012: capital payments for shares.
class TQCGT_18 : public TPaymentsScreen {
    Q_OBJECT

public:
    explicit TQCGT_18(QWidget* parent = nullptr);
    ~TQCGT_18() override;

    void FormShow() override;
    Ui::SharePaymentsForm& ui() { return *ui_; }

private:
    std::unique_ptr<Ui::SharePaymentsForm> ui_;
};

// 2025: non-assessable payments for trust interests.
class TQCGT_18b : public TPaymentsScreen {
    Q_OBJECT

public:
    explicit TQCGT_18b(QWidget* parent = nullptr);
    ~TQCGT_18b() override;

    void FormShow() override;
    Ui::TrustPaymentsForm& ui() { return *ui_; }

protected:
    // Derives the row's CGT event date and opens or locks its amounts by its date of payment.
    void XGrid1Click(int col, int row) override;
    std::optional<cgt::Refusal> CheckEntries() override;

private:
    std::unique_ptr<Ui::TrustPaymentsForm> ui_;
};
