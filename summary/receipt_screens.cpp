#include "summary/receipt_screens.h"

#include <QCheckBox>

#include "cgt/core/receipts.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "controls/yes_no_pair.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "ui_receipt_form.h"
#include "ui_rights_event_form.h"

namespace {

constexpr int kRightsScreen = 2075;
constexpr int kReceiptScreen = 2097;

constexpr int kTypeTag = 714;
constexpr int kDisposalTag = 1196; // the event has a disposal result

constexpr const char* kNoDescription = "Please enter a description for this receipt.";
constexpr const char* kNoAmount = "Please enter amount.";
constexpr const char* kNoRollOverAnswer =
    "You must advise if the gain or loss for this event can be deferred";
constexpr const char* kNoMarriageAnswer = "You must select either 'Yes' or 'No'.";
constexpr const char* kDateBeforeCgt =
    "Check your date. You cannot enter a date earlier than 20/09/1985. \r\n"
    "Assets acquired before 20 September 1985 are generally not subject to CGT although there\r\n"
    "is an exception for some shares and trust interests.  If your asset falls within this "
    "exception,\r\n"
    "you should manually calculate your capital gain or capital loss";

const char* const kOtherAssetTypes[] = {
    "OA - Active asset - Other asset or CGT event",
    "ON - Non-active asset - Other asset or CGT event",
};
constexpr const char* kDefaultType = "ON";

} // namespace

// ---- TReceiptScreen ----------------------------------------------------------------------------

TReceiptScreen::TReceiptScreen(QWidget* parent) : TEventScreen(parent) {}

void TReceiptScreen::Bind(const Fields& fields, int screen) {
    fields_ = fields;
    for (TTaxEdit* edit : {fields_.desc, fields_.date, fields_.proceeds, fields_.costs})
        connect(edit, &QLineEdit::textChanged, this, &TReceiptScreen::Recalculate);
    // The screen begins its event: a new row, or the row being edited again.
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        OpenEvent(cgt::EventWorksheet(*frame, screen));
}

bool TReceiptScreen::Present(cgt::Extended amount) {
    return amount > cgt::ExplicitZero;
}

bool TReceiptScreen::HasGainOrLoss() const {
    return Present(fields_.gain->NumValue()) || Present(fields_.loss->NumValue());
}

bool TReceiptScreen::StoreDisposalFlag() const {
    const bool disposal = Present(fields_.proceeds->NumValue());
    if (disposal)
        cgt::SetFieldChecked(kDisposalTag);
    else
        cgt::SetFieldUnchecked(kDisposalTag);
    return disposal;
}

void TReceiptScreen::Recalculate() {
    auto amount = [](TTaxEdit* edit) {
        const cgt::Extended value = edit->NumValue();
        return Present(value) ? value : cgt::Extended(0);
    };
    const cgt::GainOrLoss result =
        cgt::ReceiptGainOrLoss(amount(fields_.proceeds), amount(fields_.costs));
    fields_.gain->setNumValue(result.gain);
    fields_.loss->setNumValue(result.loss);
}

void TReceiptScreen::FormShow() {
    Recalculate();
    TEventScreen::FormShow();
}

void TReceiptScreen::CheckEntries() {
    const bool described = !fields_.desc->text().trimmed().isEmpty();
    // Nothing entered: nothing to check.
    if (!described && !Present(fields_.gain->NumValue())) return;
    if (!described) return Refuse(kNoDescription, fields_.desc);
    if (!HasGainOrLoss()) return Refuse(kNoAmount, fields_.proceeds);
    CheckResult();
}

// ---- TQCGT_36a: rights created in another entity ----------------------------------------------

TQCGT_36a::TQCGT_36a(QWidget* parent)
    : TReceiptScreen(parent), ui_(std::make_unique<Ui::RightsEventForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_36a"));
    QStringList types;
    for (const char* type : kOtherAssetTypes)
        types << QString::fromLatin1(type);
    ui_->TypeTextComboBox->SetItems(types);

    rollOver_ = new YesNoPair(ui_->Q2YesCheckBox, ui_->Q2NoCheckBox, this);
    marriage_ = new YesNoPair(ui_->Q3YesCheckBox, ui_->Q3NoCheckBox, this);
    connect(rollOver_, &YesNoPair::Changed, this, &TQCGT_36a::RollOverAnswered);
    connect(ui_->DescEdit, &TTaxEdit::OnExit, this, &TQCGT_36a::DescriptionLeft);

    Bind({ui_->DescEdit, ui_->DateofEventEdit, ui_->ProceedsEdit, ui_->CostsEdit, ui_->GainEdit,
          ui_->LossEdit},
         kRightsScreen);
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
    if (!ui_->DescEdit->text().trimmed().isEmpty() && !ui_->TypeTextComboBox->HasChoice())
        ui_->TypeTextComboBox->SelectCode(QString::fromLatin1(kDefaultType));
}

void TQCGT_36a::RollOverAnswered() {
    // Marriage breakdown is asked only of a roll-over.
    if (rollOver_->IsNo()) marriage_->Clear();
    marriage_->SetEnabled(rollOver_->IsYes());
}

void TQCGT_36a::CheckResult() {
    if (!rollOver_->Answered())
        Refuse(kNoRollOverAnswer, ui_->Q2YesCheckBox);
    else if (rollOver_->IsYes() && !marriage_->Answered())
        Refuse(kNoMarriageAnswer, ui_->Q3YesCheckBox);
}

void TQCGT_36a::NextPressed() {
    StoreDisposalFlag();
    cgt::Run().CurrentIndex += 6; // the another-rights question, 2081
}

CGT_REGISTER_SCREEN(TQCGT_36a);

// ---- TQCGT_36: other capital receipts (CGT event H2) -------------------------------------------

TQCGT_36::TQCGT_36(QWidget* parent)
    : TReceiptScreen(parent), ui_(std::make_unique<Ui::ReceiptForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_36"));
    Bind({ui_->DescEdit, ui_->DateofEventEdit, ui_->ProceedsEdit, ui_->CostsEdit, ui_->GainEdit,
          ui_->LossEdit},
         kReceiptScreen);
}

TQCGT_36::~TQCGT_36() = default;

void TQCGT_36::CheckResult() {
    if (!cgt::DateBeforeCgtStart(ui_->DateofEventEdit->Text8())) return;
    // The date comes with the row and its field is hidden: the focus goes to the amounts.
    QWidget* field = ui_->DateofEventEdit->isVisibleTo(this)
                         ? static_cast<QWidget*>(ui_->DateofEventEdit)
                         : ui_->ProceedsEdit;
    Refuse(kDateBeforeCgt, field);
}

void TQCGT_36::NextPressed() {
    if (StoreDisposalFlag())
        cgt::SetFieldStr(kTypeTag, kDefaultType);
    else
        cgt::ClearField(kTypeTag);
    cgt::Run().CurrentIndex += 1; // the another-receipt question, 2098
}

CGT_REGISTER_SCREEN(TQCGT_36);
