#include "cgt/screens/events/receipt_screens.h"

#include <QCheckBox>

#include "cgt/records/event_records.h"
#include "cgt/rules/event_checks.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/routes.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "controls/yes_no_pair.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "ui_receipt_form.h"
#include "ui_rights_event_form.h"

// ---- TReceiptScreen ----------------------------------------------------------------------------

TReceiptScreen::TReceiptScreen(cgt::ReceiptKind kind, QWidget* parent)
    : TEventScreen(parent), kind_(kind) {}

void TReceiptScreen::Bind(const Fields& fields) {
    fields_ = fields;
    for (TTaxEdit* edit : {fields_.desc, fields_.date, fields_.proceeds, fields_.costs})
        connect(edit, &QLineEdit::textChanged, this, &TReceiptScreen::Recalculate);
    // The screen begins its event: a new row, or the row being edited again.
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        OpenEvent(cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen));
}

void TReceiptScreen::Recalculate() {
    const cgt::GainOrLoss result =
        cgt::ReceiptGainOrLoss(fields_.proceeds->NumValue(), fields_.costs->NumValue());
    fields_.gain->setNumValue(result.gain);
    fields_.loss->setNumValue(result.loss);
}

QWidget* TReceiptScreen::FallbackFocus() const {
    return fields_.proceeds;
}

void TReceiptScreen::FormShow() {
    Recalculate();
    TEventScreen::FormShow();
}

std::optional<cgt::Refusal> TReceiptScreen::CheckEntries() {
    cgt::StoreReceiptGainOrLoss();
    const cgt::Event event = cgt::ReadOpenEvent();
    return kind_ == cgt::ReceiptKind::Rights ? cgt::CheckRightsEvent(event)
                                             : cgt::CheckReceiptEvent(event);
}

cgt::NextStep TReceiptScreen::NextPressed() {
    cgt::StoreDisposalResult(kind_);
    return cgt::ScreenTarget::Route(cgt::kRouteAnotherEvent);
}

// ---- TQCGT_36a: rights created in another entity ----------------------------------------------

TQCGT_36a::TQCGT_36a(QWidget* parent)
    : TReceiptScreen(cgt::ReceiptKind::Rights, parent),
      ui_(std::make_unique<Ui::RightsEventForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_36a"));
    QStringList types;
    for (const char* type : cgt::FindRegistrationKind(cgt::wkRights)->types)
        types << QString::fromLatin1(type);
    ui_->TypeTextComboBox->SetItems(types);

    rollOver_ = new YesNoPair(ui_->Q2YesCheckBox, ui_->Q2NoCheckBox, this);
    marriage_ = new YesNoPair(ui_->Q3YesCheckBox, ui_->Q3NoCheckBox, this);
    connect(rollOver_, &YesNoPair::Changed, this, &TQCGT_36a::RollOverAnswered);
    connect(ui_->DescEdit, &TTaxEdit::OnExit, this, &TQCGT_36a::DescriptionLeft);

    Bind({ui_->DescEdit, ui_->DateofEventEdit, ui_->ProceedsEdit, ui_->CostsEdit, ui_->GainEdit,
          ui_->LossEdit});
}

TQCGT_36a::~TQCGT_36a() = default;

TTypeAheadComboBox* TQCGT_36a::TypeCombo() const {
    return ui_->TypeTextComboBox;
}

void TQCGT_36a::FormShow() {
    TReceiptScreen::FormShow();
    marriage_->SetEnabled(rollOver_->IsYes());
}

void TQCGT_36a::DescriptionLeft() {
    TakeDefaultType(ui_->DescEdit, ui_->TypeTextComboBox, cgt::FindRegistrationKind(cgt::wkRights));
}

void TQCGT_36a::RollOverAnswered() {
    // Marriage breakdown is asked only of a roll-over.
    if (rollOver_->IsNo()) marriage_->Clear();
    marriage_->SetEnabled(rollOver_->IsYes());
}

CGT_REGISTER_SCREEN(TQCGT_36a);

// ---- TQCGT_36: other capital receipts (CGT event H2) -------------------------------------------

TQCGT_36::TQCGT_36(QWidget* parent)
    : TReceiptScreen(cgt::ReceiptKind::Receipt, parent), ui_(std::make_unique<Ui::ReceiptForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_36"));
    Bind({ui_->DescEdit, ui_->DateofEventEdit, ui_->ProceedsEdit, ui_->CostsEdit, ui_->GainEdit,
          ui_->LossEdit});
}

TQCGT_36::~TQCGT_36() = default;

CGT_REGISTER_SCREEN(TQCGT_36);
