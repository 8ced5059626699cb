#pragma once
// The last screen of an asset section, "Section - 7 - Summary of calculations": the event's
// capital gain by each method or its capital loss (the taxpayer view), its asset register and
// its CGT worksheet. TQCGT_58 (2016, 2029, 2040, 2060, 2070) shows the standard worksheet,
// TQCGT_58A (2050) the depreciating-asset variant. The screen opens the event's row; shown, it
// runs the widget-free calculation (cgt/rules/gain_worksheet.h), which stores every result in the
// row, and shows what it computed. Leaving it by any route lets the next visit recalculate.

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "cgt/rules/gain_worksheet.h"
#include "interview/child_form.h"

class QPushButton;
class TTaxEdit;
class TXGrid;

namespace Ui {
class GainWorksheetForm;
class GainResultsForm;
class DepreciatingResultsForm;
} // namespace Ui

class TGainScreen : public TChildForm, public cgt::CheckedScreen {
    Q_OBJECT

public:
    ~TGainScreen() override;

    enum View { TaxpayerView = 0, AssetRegisterView = 1, WorksheetView = 2 };

    void FormShow() override;
    // Shows the view chosen in the views box.
    void RadioGroup3Click();
    // Scrolls the worksheet to the part of the column clicked (or entered).
    void XGrid1Click(int column);
    // Leaving the screen by any route lets the next visit recalculate; it never keeps the user.
    std::optional<cgt::ScreenRefusal> CheckLeave(cgt::Direction direction) override;
    // Next goes on to the section's another-event question.
    cgt::NextStep Next(cgt::Answer answer) override;
    // The print buttons: the event's CGT worksheet, asset register and non-assessable payments
    // worksheet, each previewed before it prints.
    void PrintCGTWshtBtnClick();
    void PrintAssRegtBtnClick();
    void PrintNonAssBtnClick();

    // The worksheet whose row the screen shows; 0 without an interview frame.
    int Worksheet() const { return worksheet_; }
    View ShownView() const { return view_; }
    bool Computed() const { return computed_; }
    const cgt::GainWorksheet& Calculation() const { return ws_; }
    Ui::GainWorksheetForm& ui() { return *ui_; }

protected:
    TGainScreen(cgt::GainVariant variant, QWidget* parent);
    // The result block's container, for the variant's form.
    QWidget* ResultsHost() const;
    // The edits of a result column, every row of the variant's block.
    virtual std::vector<TTaxEdit*> ColumnEdits(int column) const = 0;
    // Shows what the variant's block has beyond the stored results.
    virtual void ShowBlock() {}

private:
    void FormCreate();
    void Calculate();
    void ShowAssetType();
    void ShowResults();
    void ShowView(View view);
    // The event's kind has non-assessable payments (shares and trust interests).
    bool HasPayments() const;
    // Stores the screen, previews the printout and opens the event's row again.
    void PrintOut(int printout);

    std::unique_ptr<Ui::GainWorksheetForm> ui_;
    cgt::GainVariant variant_;
    cgt::GainWorksheet ws_;
    int worksheet_ = 0;
    int row_ = 0;
    bool computed_ = false;
    View view_ = TaxpayerView;
};

// 2016, 2029, 2040, 2060, 2070: shares, trust interests, real estate, personal use assets and
// collectables, intangible and other assets.
class TQCGT_58 : public TGainScreen {
    Q_OBJECT

public:
    explicit TQCGT_58(QWidget* parent = nullptr);
    ~TQCGT_58() override;

    Ui::GainResultsForm& results() { return *results_; }

protected:
    std::vector<TTaxEdit*> ColumnEdits(int column) const override;

private:
    std::unique_ptr<Ui::GainResultsForm> results_;
};

// 2050: depreciating assets.
class TQCGT_58A : public TGainScreen {
    Q_OBJECT

public:
    explicit TQCGT_58A(QWidget* parent = nullptr);
    ~TQCGT_58A() override;

    Ui::DepreciatingResultsForm& results() { return *results_; }

protected:
    std::vector<TTaxEdit*> ColumnEdits(int column) const override;
    void ShowBlock() override;

private:
    std::unique_ptr<Ui::DepreciatingResultsForm> results_;
};
