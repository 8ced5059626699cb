#include "cgt/screens/events/gain_screens.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

#include "cgt/records/event_worksheets.h"
#include "cgt/rules/event.h"
#include "cgt/screens/events/asset_type_view.h"
#include "cgt/screens/events/event_screen.h"
#include "controls/tax_edit.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/navigator_frame.h"
#include "interview/screen_catalog.h"
#include "interview/screen_registry.h"
#include "interview/value_binder.h"
#include "report/preview/event_printouts.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "ui_depreciating_results_form.h"
#include "ui_gain_results_form.h"
#include "ui_gain_worksheet_form.h"

namespace {

constexpr const char* kVisionImpaired =
    "Vision Impaired users may require assistance in completing this screen";

// Column widths of the grids; -1 hides a column.
constexpr int kRegisterWidths[] = {-1, 76, 76, 170, 60, -1, 84, 84, 84, 60, 140};
constexpr int kWorksheetWidths[] = {80, 200, 90, 130, 100, 100, 76, 84, 80, 100, 140, 100};

// Where the worksheet scrolls for a clicked column.
int WorksheetScrollFor(int column) {
    if (column > 10) return 675;
    if (column >= 7) return 540;
    if (column >= 4) return 250;
    return 0;
}

// A scroll area's content: as large as its controls.
void FitContent(QScrollArea* area) {
    QWidget* content = area->widget();
    const QRect used = content->childrenRect();
    content->resize(used.right() + 8, used.bottom() + 8);
}

} // namespace

// ---- TGainScreen -------------------------------------------------------------------------------

TGainScreen::TGainScreen(cgt::GainVariant variant, QWidget* parent)
    : TChildForm(parent), ui_(std::make_unique<Ui::GainWorksheetForm>()), variant_(variant) {
    ui_->setupUi(this);
    ui_->XGrid2->SetColumns(cgt::AssetRegisterColumns(), kRegisterWidths);
    ui_->XGrid1->SetColumns(cgt::WorksheetColumns(), kWorksheetWidths);
    for (QRadioButton* radio :
         {ui_->TaxpayerViewRadio, ui_->AssetRegisterRadio, ui_->WorksheetViewRadio})
        connect(radio, &QAbstractButton::clicked, this, &TGainScreen::RadioGroup3Click);
    connect(ui_->PrintCGTWshtBtn, &QPushButton::clicked, this, &TGainScreen::PrintCGTWshtBtnClick);
    connect(ui_->PrintAssRegtBtn, &QPushButton::clicked, this, &TGainScreen::PrintAssRegtBtnClick);
    connect(ui_->PrintNonAssBtn, &QPushButton::clicked, this, &TGainScreen::PrintNonAssBtnClick);
    // A click on a cell enters it.
    connect(ui_->XGrid1, &TXGrid::OnEnterCell, this, [this](int col, int) { XGrid1Click(col); });
    FormCreate();
}

TGainScreen::~TGainScreen() = default;

QWidget* TGainScreen::ResultsHost() const {
    return ui_->ResultsHost;
}

void TGainScreen::FormCreate() {
    ui_->VisionImpairedLabel->setText(QString::fromLatin1(kVisionImpaired));
    ui_->VisionImpairedLabel->setVisible(cgt::Run().AccessibilityMode);
    TFrameWnd* frame = TFrameWnd::Instance();
    worksheet_ = frame ? cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen) : 0;
    // The non-assessable payments worksheet is offered where the kind says; it prints for an
    // event with payments only.
    const cgt::EventKind* kind = cgt::FindEventKind(worksheet_);
    ui_->PrintNonAssBtn->setVisible(kind && kind->paymentsPrintout);
    if (!frame) return;
    if (!computed_) ui_->PrintNonAssBtn->setEnabled(HasPayments());
    if (worksheet_ == 0) return;
    row_ = frame->ReopenRow ? frame->ReopenRowKey : 1;
    frame->OpenWorksheetRow(worksheet_, row_);
}

bool TGainScreen::HasPayments() const {
    const cgt::EventKind* kind = cgt::FindEventKind(worksheet_);
    return kind && kind->payments;
}

void TGainScreen::FormShow() {
    if (TFrameWnd* frame = TFrameWnd::Instance()) frame->ShowWorksheetPanel(false);
    if (computed_) {
        ShowView(view_);
        return;
    }
    Calculate();
    ShowView(TaxpayerView);
    computed_ = true;
}

void TGainScreen::Calculate() {
    const cgt::Worksheet* sheet = cgt::WorksheetOf(worksheet_);
    if (sheet && sheet->hasRow(static_cast<std::uint16_t>(row_))) {
        ws_ = cgt::RunEventWorksheets(worksheet_, variant_); // as cgt compute does
    } else {
        // No event registered in this row: nothing to calculate, and nothing to store.
        ws_ = cgt::GainWorksheet{};
        ws_.variant = variant_;
        for (auto& column : ws_.columns)
            column.enabled = false;
    }
    cgt::LoadControlsFromStore(this);
    ui_->AssetNameLabel->setText(
        QString::fromLatin1(cgt::AssetNameText(cgt::GetFieldText(cgt::tag::event::kName))));
    ShowAssetType();
    ShowResults();
    if (!ws_.error.empty()) cgt::MsgBox(ws_.error, cgt::mkError, cgt::mbOK);
}

void TGainScreen::ShowAssetType() {
    cgt::ShowAssetTypeRadios(this, cgt::GetFieldText(cgt::tag::event::kAssetType));
}

void TGainScreen::ShowResults() {
    const auto message = [](QLabel* label, const std::string& text) {
        label->setText(QString::fromLatin1(text));
        label->setVisible(!text.empty());
    };
    message(ui_->FirstMessageLabel, ws_.firstMessage);
    message(ui_->SecondMessageLabel, ws_.secondMessage);
    for (int c = 0; c < cgt::kGainColumns; ++c)
        for (TTaxEdit* edit : ColumnEdits(c))
            edit->setEnabled(ws_.columns[c].enabled);
    ui_->NonAssessableBox->setVisible(HasPayments());
    ui_->PartialBox->setVisible(ws_.partial.shown);
    if (ws_.partial.shown) {
        ui_->RemainingIndexedEdit->setNumValue(ws_.partial.remaining.indexed);
        ui_->RemainingNonIndexedEdit->setNumValue(ws_.partial.remaining.nonIndexed);
        ui_->RemainingReducedEdit->setNumValue(ws_.partial.remaining.reduced);
    }
    ShowBlock();
    FitContent(ui_->WorksheetPanel);
}

void TGainScreen::ShowView(View view) {
    view_ = view;
    QRadioButton* const radios[] = {ui_->TaxpayerViewRadio, ui_->AssetRegisterRadio,
                                    ui_->WorksheetViewRadio};
    radios[view]->setChecked(true);
    ui_->TaxpayerPanel->setVisible(view == TaxpayerView);
    ui_->EventDataPanel->setVisible(view != TaxpayerView);
    ui_->RegisterPage->setVisible(view == AssetRegisterView);
    ui_->WorksheetPanel->setVisible(view == WorksheetView);
    if (view == TaxpayerView) ui_->TaxpayerPanel->verticalScrollBar()->setValue(0);
    if (view == WorksheetView) {
        ui_->WorksheetPanel->horizontalScrollBar()->setValue(0);
        ui_->WorksheetPanel->verticalScrollBar()->setValue(0);
    }
}

void TGainScreen::RadioGroup3Click() {
    if (ui_->AssetRegisterRadio->isChecked())
        ShowView(AssetRegisterView);
    else if (ui_->WorksheetViewRadio->isChecked())
        ShowView(WorksheetView);
    else
        ShowView(TaxpayerView);
}

void TGainScreen::XGrid1Click(int column) {
    int position = WorksheetScrollFor(column);
    if (const TFrameWnd* frame = TFrameWnd::Instance(); frame && frame->ScaleDen() != 0)
        position = position * frame->ScaleNum() / frame->ScaleDen();
    ui_->WorksheetPanel->horizontalScrollBar()->setValue(position);
}

std::optional<cgt::ScreenRefusal> TGainScreen::CheckLeave(cgt::Direction /*direction*/) {
    computed_ = false;
    return std::nullopt;
}

cgt::NextStep TGainScreen::Next(cgt::Answer answer) {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (frame && answer == cgt::Answer::Next) frame->Navigator()->hide();
    return cgt::ScreenTarget::RowNext();
}

// ---- TQCGT_58 ----------------------------------------------------------------------------------

TQCGT_58::TQCGT_58(QWidget* parent)
    : TGainScreen(cgt::GainVariant::Standard, parent),
      results_(std::make_unique<Ui::GainResultsForm>()) {
    setObjectName(QStringLiteral("TQCGT_58"));
    results_->setupUi(ResultsHost());
}

TQCGT_58::~TQCGT_58() = default;

std::vector<TTaxEdit*> TQCGT_58::ColumnEdits(int column) const {
    const Ui::GainResultsForm& r = *results_;
    switch (column) {
    case cgt::gcIndexed:
        return {r.ProceedsIndGainEdit, r.CostbaseIndGainEdit, r.IndGainEdit};
    case cgt::gcDiscount:
        return {r.ProceedsDisGainEdit, r.CostbaseDisGainEdit, r.DisGainEdit};
    case cgt::gcOther:
        return {r.ProceedsOthGainEdit, r.CostbaseOthGainEdit, r.OthGainEdit};
    default:
        return {r.ProceedsLossEdit, r.CostbaseLossEdit, r.LossEdit};
    }
}

CGT_REGISTER_SCREEN(TQCGT_58);

// ---- TQCGT_58A ---------------------------------------------------------------------------------

TQCGT_58A::TQCGT_58A(QWidget* parent)
    : TGainScreen(cgt::GainVariant::Depreciating, parent),
      results_(std::make_unique<Ui::DepreciatingResultsForm>()) {
    setObjectName(QStringLiteral("TQCGT_58A"));
    results_->setupUi(ResultsHost());
}

TQCGT_58A::~TQCGT_58A() = default;

std::vector<TTaxEdit*> TQCGT_58A::ColumnEdits(int column) const {
    const Ui::DepreciatingResultsForm& r = *results_;
    switch (column) {
    case cgt::gcIndexed:
        return {r.ProceedsIndGainEdit,
                r.CostIndEdit,
                r.RawIndEdit,
                r.UseIndEdit,
                r.RednIndEdit,
                r.AdjIndEdit,
                r.IndexationComponentEdit,
                r.IndGainEdit};
    case cgt::gcDiscount:
        return {r.ProceedsDisGainEdit, r.CostDisEdit, r.RawDisEdit, r.UseDisEdit,
                r.RednDisEdit,         r.AdjDisEdit,  r.DisGainEdit};
    case cgt::gcOther:
        return {r.ProceedsOthGainEdit, r.CostOthEdit, r.RawOthEdit, r.UseOthEdit,
                r.RednOthEdit,         r.AdjOthEdit,  r.OthGainEdit};
    default:
        return {r.ProceedsLossEdit, r.CostLossEdit, r.RawLossEdit, r.UseLossEdit,
                r.RednLossEdit,     r.AdjLossEdit,  r.LossEdit};
    }
}

void TQCGT_58A::ShowBlock() {
    results_->IndexationComponentEdit->setNumValue(
        Calculation().columns[cgt::gcIndexed].enabled ? Calculation().indexationComponent : 0);
}

CGT_REGISTER_SCREEN(TQCGT_58A);

// ---- Printing ----------------------------------------------------------------------------------

void TGainScreen::PrintCGTWshtBtnClick() {
    PrintOut(static_cast<int>(cgt::report::EventPrintout::Worksheet));
}

void TGainScreen::PrintAssRegtBtnClick() {
    PrintOut(static_cast<int>(cgt::report::EventPrintout::AssetRegister));
}

void TGainScreen::PrintNonAssBtnClick() {
    PrintOut(static_cast<int>(cgt::report::EventPrintout::NonAssessable));
}

void TGainScreen::PrintOut(int printout) {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame || worksheet_ == 0) return;
    frame->SaveScreenToStore(); // the store holds the screen's results
    cgt::report::PreviewEventPrintout(this, static_cast<cgt::report::EventPrintout>(printout));
    frame->PutWorksheetRow(worksheet_, row_);
    frame->OpenWorksheetRow(worksheet_, row_); // as the screen's creation does
    FormShow();                                // the computed flag set: the view only
}
