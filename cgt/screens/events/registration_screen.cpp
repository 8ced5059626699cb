#include "cgt/screens/events/registration_screen.h"

#include <QPushButton>

#include "base/worksheet_kinds.h"

#include "cgt/records/event_records.h"
#include "cgt/rules/event_checks.h"
#include "cgt/rules/event_kinds.h"
#include "cgt/rules/routes.h"
#include "cgt/screens/events/import_trades_command.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/run_state.h"
#include "ui_registration_form.h"

namespace {

// The worksheet this registration edits: the one the events question chose, or the path's
// own when that one has no registration (a resumed interview, a jump).
int RegistrationWorksheet(const TFrameWnd& frame, int screen) {
    const int chosen = cgt::EventWorksheet(frame, screen);
    return cgt::FindRegistrationKind(chosen) ? chosen : cgt::PathWorksheet(screen);
}

} // namespace

TQCGT_08::TQCGT_08() : ui_(std::make_unique<Ui::RegistrationForm>()) {
    ui_->setupUi(this);
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        OpenEvent(RegistrationWorksheet(*frame, cgt::Run().CurrentScreen));
    kind_ = cgt::FindRegistrationKind(Worksheet());
    fitToKind();
    if (Worksheet() == cgt::wkShares) addImportCommand();
    connect(ui_->DescEdit, &TTaxEdit::OnExit, this, &TQCGT_08::DescEditExit);
}

TQCGT_08::~TQCGT_08() = default;

TTaxEdit* TQCGT_08::DescEdit() const {
    return ui_->DescEdit;
}
TTypeAheadComboBox* TQCGT_08::TypeTextComboBox() const {
    return ui_->TypeTextComboBox;
}
TTaxEdit* TQCGT_08::DateofAcqEdit() const {
    return ui_->DateofAcqEdit;
}
TTextLbl* TQCGT_08::AssetTypeLabel() const {
    return ui_->AssetTypeLabel;
}
TTextLbl* TQCGT_08::ExamplesLabel() const {
    return ui_->ExamplesLabel;
}
TTextLbl* TQCGT_08::AcqQuestion() const {
    return ui_->AcqQuestion;
}
TTextLbl* TQCGT_08::DepreciatingLabel() const {
    return ui_->DepreciatingLabel;
}

void TQCGT_08::fitToKind() {
    if (!kind_) {
        ui_->DepreciatingLabel->hide();
        return;
    }
    const QString typeLine = QString::fromUtf8(kind_->typeLine.data(), int(kind_->typeLine.size()));
    ui_->AssetTypeLabel->setText(typeLine.split(QStringLiteral("\r\n")));

    QStringList examples = ui_->ExamplesLabel->Text();
    for (QString& line : examples)
        line.replace(QStringLiteral("DynamicHelpLink"), QString::number(kind_->helpTopic),
                     Qt::CaseInsensitive);
    ui_->ExamplesLabel->setText(examples);

    QStringList types;
    for (const char* type : kind_->types)
        types << QString::fromLatin1(type);
    ui_->TypeTextComboBox->SetItems(types);

    ui_->AcqQuestion->setVisible(kind_->acquisitionDate);
    ui_->AcqLabel->setVisible(kind_->acquisitionDate);
    ui_->DateofAcqEdit->setVisible(kind_->acquisitionDate);
    ui_->AcqQuestion->setCurrentSection(kind_->acquisitionSection);
    ui_->DepreciatingLabel->setVisible(kind_->depreciatingSection != 0);
    if (kind_->depreciatingSection != 0)
        ui_->DepreciatingLabel->setCurrentSection(kind_->depreciatingSection);
}

void TQCGT_08::addImportCommand() {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame) return;
    importTrades_ = new QPushButton(QStringLiteral("&Import trades…"));
    importTrades_->setObjectName(QStringLiteral("ImportTradesButton"));
    importTrades_->setAccessibleName(QStringLiteral("Import trades"));
    importTrades_->setAccessibleDescription(
        QStringLiteral("Records the sales of a broker's file of trades as share events"));
    importTrades_->setFocusPolicy(Qt::StrongFocus);
    importTrades_->setAutoDefault(false);
    connect(importTrades_, &QPushButton::clicked, this, [frame] { cgt::ImportTrades(*frame); });
    // Below the list of the worksheet's events, beside Delete.
    frame->AddWorksheetCommand(importTrades_);
}

void TQCGT_08::DescEditExit() {
    TakeDefaultType(ui_->DescEdit, ui_->TypeTextComboBox, kind_);
}

std::optional<cgt::Refusal> TQCGT_08::CheckEntries() {
    DescEditExit();
    StoreEntries();
    return cgt::CheckRegistration(cgt::ReadOpenEvent(), kind_);
}

cgt::NextStep TQCGT_08::NextPressed() {
    if (const auto refusal = cgt::CheckRegistrationNext(cgt::ReadOpenEvent(), kind_))
        return Refused(*refusal);
    TFrameWnd* frame = TFrameWnd::Instance();
    // The event screens that follow edit this row.
    frame->ReopenRowKey = frame->CurrentRow();
    frame->ReopenRow = true;
    if (cgt::RegistrationStateOf(cgt::ReadOpenEvent(), kind_) == cgt::RegistrationState::Described)
        return cgt::ScreenTarget::RowNext();
    // Nothing registered: where the kind says, its another-event question unless it says
    // otherwise.
    const cgt::EventKind* kind = cgt::FindEventKind(Worksheet());
    return cgt::ScreenTarget::Route(kind ? kind->nothingRegistered : cgt::kRouteAnotherEvent);
}

CGT_REGISTER_SCREEN(TQCGT_08);
