#include "cgt/screens/events/payment_summary_screens.h"

#include <QRadioButton>

#include "cgt/records/event_worksheets.h"
#include "cgt/rules/event.h"
#include "cgt/rules/payment_checks.h"
#include "cgt/screens/events/asset_type_view.h"
#include "controls/tax_edit.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "interview/value_binder.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "ui_payment_summary_form.h"

namespace {

constexpr const char* kVisionImpaired =
    "Vision Impaired users may require assistance in completing this screen";

// Widths of the worksheet's columns.
constexpr int kWorksheetWidths[cgt::kAdjustmentColumns] = {80,  80,  80,  80,  220, 40,  40,  90,
                                                           100, 90,  70,  70,  80,  90,  100, 90,
                                                           90,  100, 100, 100, 100, 100, 24};

} // namespace

TPaymentSummaryScreen::TPaymentSummaryScreen(cgt::PaymentKind kind, QWidget* parent)
    : TEventScreen(parent), ui_(std::make_unique<Ui::PaymentSummaryForm>()), kind_(kind) {
    ui_->setupUi(this);
    ui_->VisionImpairedLabel->setText(QString::fromLatin1(kVisionImpaired));
    ui_->VisionImpairedLabel->setVisible(cgt::Run().AccessibilityMode);
    TXGrid* grid = ui_->XGrid1;
    grid->SetColumns(cgt::AdjustmentColumns(), kWorksheetWidths);
    for (int col = 0; col < cgt::kAdjustmentColumns; ++col)
        grid->SetColumnReadOnly(col, true); // worked out, never typed
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Clicked or chosen with the arrow keys.
    for (QRadioButton* radio : {ui_->TaxpayerViewRadio, ui_->WorksheetViewRadio})
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on) RadioGroup3Click();
        });
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        ContinueEvent(cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen));
}

TPaymentSummaryScreen::~TPaymentSummaryScreen() = default;

void TPaymentSummaryScreen::FormShow() {
    TEventScreen::FormShow();
    ui_->AssetNameLabel->setText(
        QString::fromLatin1(cgt::AssetNameText(cgt::GetFieldText(cgt::tag::event::kName))));
    ShowView(TaxpayerView);
    Calculate();
}

void TPaymentSummaryScreen::Calculate() {
    ui_->XGrid1->ClearRows();
    ui_->XGrid1->setRowCount(5);
    if (Worksheet() != 0) {
        ws_ = cgt::RunAdjustmentWorksheet(kind_);
        cgt::LoadControlsFromStore(this);
    }
    cgt::ShowAssetTypeRadios(this, cgt::GetFieldText(cgt::tag::event::kAssetType));
    const cgt::AdjustmentResults& r = ws_.results;
    for (TTaxEdit* edit : {ui_->IndCapGainEdt, ui_->PYIndCapGainEdt})
        edit->setEnabled(r.indexedEnabled);
    for (TTaxEdit* edit : {ui_->DisCapGainEdt, ui_->PYDisCapGainEdt})
        edit->setEnabled(r.discountEnabled);
}

void TPaymentSummaryScreen::ShowView(View view) {
    view_ = view;
    (view == TaxpayerView ? ui_->TaxpayerViewRadio : ui_->WorksheetViewRadio)->setChecked(true);
    ui_->TaxpayerPanel->setVisible(view == TaxpayerView);
    ui_->WorksheetPanel->setVisible(view == WorksheetView);
}

void TPaymentSummaryScreen::RadioGroup3Click() {
    ShowView(ui_->WorksheetViewRadio->isChecked() ? WorksheetView : TaxpayerView);
}

QWidget* TPaymentSummaryScreen::RefusedControl(const cgt::Refusal& refusal) {
    if (refusal.field != cgt::EventField::AdjustmentGrid)
        return TEventScreen::RefusedControl(refusal);
    ShowView(WorksheetView);
    return ui_->XGrid1;
}

// ---- TQCGT_59a, TQCGT_59b ----------------------------------------------------------------------

TQCGT_59a::TQCGT_59a(QWidget* parent) : TPaymentSummaryScreen(cgt::PaymentKind::Shares, parent) {
    setObjectName(QStringLiteral("TQCGT_59a"));
}

std::optional<cgt::Refusal> TQCGT_59a::CheckEntries() {
    return cgt::CheckAdjustmentDates(ui().XGrid1->table());
}

CGT_REGISTER_SCREEN(TQCGT_59a);

TQCGT_59b::TQCGT_59b(QWidget* parent)
    : TPaymentSummaryScreen(cgt::PaymentKind::TrustInterests, parent) {
    setObjectName(QStringLiteral("TQCGT_59b"));
}

std::optional<cgt::Refusal> TQCGT_59b::CheckEntries() {
    return std::nullopt;
}

CGT_REGISTER_SCREEN(TQCGT_59b);
