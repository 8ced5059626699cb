#include "cgt/screens/events/payment_screens.h"

#include <QLineEdit>

#include "base/text.h"
#include "cgt/records/event_records.h"
#include "cgt/rules/payment_checks.h"
#include "cgt/rules/payment_grids.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "ui_share_payments_form.h"
#include "ui_trust_payments_form.h"

namespace {

// Widths of the columns in pixels; -1 hides a column. The shares screen does not ask the date
// of receipt.
constexpr int kShareWidths[cgt::kSharePaymentColumns] = {90, -1, 170, 90, 100, 150};
constexpr int kTrustWidths[cgt::kTrustPaymentColumns] = {84, -1, 150, -1, 80, 70, 70, 70};

// A column the user cannot reach or type into; or one open again.
void LockGridColumn(TXGrid* grid, int col, bool locked) {
    if (locked)
        grid->LockColumn(col);
    else
        grid->UnlockColumn(col);
    grid->SetColumnReadOnly(col, locked);
}

} // namespace

// ---- TPaymentsScreen ---------------------------------------------------------------------------

TPaymentsScreen::TPaymentsScreen(cgt::PaymentKind kind, QWidget* parent)
    : TEventScreen(parent), kind_(kind) {}

void TPaymentsScreen::Bind(TXGrid* grid, std::span<const int> widths, TTextLbl* help,
                           QLineEdit* eventDisplay) {
    grid_ = grid;
    help_ = help;
    const bool shares = kind_ == cgt::PaymentKind::Shares;
    grid->SetColumns(cgt::PaymentGridDisplay(kind_), widths);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(grid, &TXGrid::OnEnterCell, this, &TPaymentsScreen::XGrid1Click);
    eventDisplay->setText(
        QString::fromLatin1(shares ? cgt::kSharePaymentEvent : cgt::kTrustPaymentEvent));
    const TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame) return;
    ContinueEvent(cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen));
    if (Worksheet() != 0)
        cgt::SetFieldStr(cgt::tag::event::kPaymentEventCode,
                         shares ? cgt::kSharePaymentEventCode : cgt::kTrustPaymentEventCode);
}

void TPaymentsScreen::FormShow() {
    help_->setCurrentSection(1);
    TEventScreen::FormShow();
}

void TPaymentsScreen::XGrid1Click(int col, int) {
    if (col >= 0 && col < grid_->ColCount()) help_->setCurrentSection(col + 1);
}

std::optional<cgt::Refusal> TPaymentsScreen::CheckEntries() {
    return cgt::CheckPayments(grid_->table(), cgt::ReadOpenEvent(), kind_);
}

cgt::NextStep TPaymentsScreen::NextPressed() {
    const std::string_view keys = cgt::PaymentSortKeys(kind_);
    grid_->SortRows(QString::fromLatin1(keys.data(), int(keys.size())));
    return TEventScreen::NextPressed();
}

QWidget* TPaymentsScreen::RefusedControl(const cgt::Refusal& refusal) {
    if (refusal.field == cgt::EventField::Payments) return grid_;
    return TEventScreen::RefusedControl(refusal);
}

// ---- TQCGT_18: capital payments for shares -----------------------------------------------------

TQCGT_18::TQCGT_18(QWidget* parent)
    : TPaymentsScreen(cgt::PaymentKind::Shares, parent),
      ui_(std::make_unique<Ui::SharePaymentsForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_18"));
    ui_->AssetNameLabel->OnScreenTag = [](TTextLbl*, int tag, QString& text) {
        const std::string name = cgt::GetFieldStr(tag);
        text = cgt::TrimBlanks(name).empty() ? QStringLiteral("No asset selected")
                                             : QString::fromLatin1(name);
    };
    QStringList types;
    for (const char* type : cgt::kPaymentAssetTypes)
        types << QString::fromLatin1(type);
    ui_->TypeComboBox->SetItems(types);
    // The date of receipt is not asked: hidden, and not reached by Tab.
    Bind(ui_->XGrid1, kShareWidths, ui_->YBLbl, ui_->EventEdit);
    LockGridColumn(ui_->XGrid1, cgt::spReceiptDate, true);
}

TQCGT_18::~TQCGT_18() = default;

void TQCGT_18::FormShow() {
    // The payments are capital payments of a non-active other CGT event.
    ui_->TypeComboBox->setCurrentIndex(1);
    const QString type = ui_->TypeComboBox->currentText();
    ui_->TypeComboBox->setAccessibleDescription(type);
    ui_->TypeLabel->setAccessibleDescription(type);
    TPaymentsScreen::FormShow();
}

CGT_REGISTER_SCREEN(TQCGT_18);

// ---- TQCGT_18b: non-assessable payments for trust interests ------------------------------------

TQCGT_18b::TQCGT_18b(QWidget* parent)
    : TPaymentsScreen(cgt::PaymentKind::TrustInterests, parent),
      ui_(std::make_unique<Ui::TrustPaymentsForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_18b"));
    ShowAssetName(ui_->TextLbl3);
    Bind(ui_->XGrid1, kTrustWidths, ui_->YBLbl, ui_->EventEdit);
    ui_->XGridTotals1->setGrid(ui_->XGrid1);
    // A row left keeps its derived date and its amounts within its date's rules.
    connect(ui_->XGrid1, &TXGrid::OnExitCell, this, [this](int, int row, int*, int*, bool*) {
        if (cgt::AssistTrustRow(ui_->XGrid1->table(), row)) ui_->XGrid1->TableEdited();
    });
}

TQCGT_18b::~TQCGT_18b() = default;

void TQCGT_18b::FormShow() {
    cgt::SetFieldStr(cgt::tag::event::kPaymentAssetType, cgt::kPaymentAssetTypeCode);
    TPaymentsScreen::FormShow();
}

void TQCGT_18b::XGrid1Click(int col, int row) {
    TPaymentsScreen::XGrid1Click(col, row);
    TXGrid* grid = ui_->XGrid1;
    const std::optional<cgt::TrustRowRules> rules = cgt::AssistTrustRow(grid->table(), row);
    grid->TableEdited();
    LockGridColumn(grid, cgt::tpConcession, rules && rules->concessionLocked);
    LockGridColumn(grid, cgt::tpTaxFree, rules && rules->taxFreeLocked);
    LockGridColumn(grid, cgt::tpExempted, rules && rules->exemptedLocked);
    if (rules && rules->concessionMessage && col == cgt::tpConcession)
        cgt::MsgBox(cgt::msg::kConcessionAfterJune2001, cgt::mkInformation, cgt::mbOK);
}

std::optional<cgt::Refusal> TQCGT_18b::CheckEntries() {
    cgt::AssistTrustRows(ui_->XGrid1->table());
    ui_->XGrid1->TableEdited();
    return TPaymentsScreen::CheckEntries();
}

CGT_REGISTER_SCREEN(TQCGT_18b);
