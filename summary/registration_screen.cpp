#include "summary/registration_screen.h"

#include <QPushButton>

#include "cgt/core/receipts.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/dates.h"
#include "store/run_state.h"
#include "summary/registration_kinds.h"
#include "ui_registration_form.h"

namespace {

constexpr const char* kNoDescription = "You must enter a description for this asset/event.";
constexpr const char* kBeforeCgt =
    "Check your date. You cannot enter a date earlier than 20/09/1985. \r\n"
    "Assets acquired before 20 September 1985 are generally not subject to CGT although\r\n"
    "there is an exception for some shares and trust interests. If your asset falls within\r\n"
    "this exception, you should manually calculate your capital gain or capital loss";
constexpr const char* kNoType = "You must select the Asset/Event type from the drop down box.";
constexpr const char* kNoDate = "You must enter the acquisition date.";
constexpr const char* kNothingToRegister =
    "You must select a curent worksheet or enter a description for this asset/event.";

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

void TQCGT_08::DescEditExit() {
    if (descriptionEmpty() || ui_->TypeTextComboBox->HasChoice() || !kind_) return;
    if (kind_->defaultType >= 0) ui_->TypeTextComboBox->setCurrentIndex(kind_->defaultType);
}

bool TQCGT_08::descriptionEmpty() const {
    return ui_->DescEdit->text().trimmed().isEmpty();
}

bool TQCGT_08::dateAsked() const {
    return !kind_ || kind_->acquisitionDate;
}

bool TQCGT_08::dateEmpty() const {
    const QString text = ui_->DateofAcqEdit->text();
    return text.trimmed().isEmpty() || text == QLatin1String(cgt::kEmptyDateMask.data());
}

void TQCGT_08::CheckEntries() {
    DescEditExit();
    const bool typeChosen = ui_->TypeTextComboBox->HasChoice();
    if (descriptionEmpty() && !typeChosen && (!dateAsked() || dateEmpty())) return;
    if (descriptionEmpty()) {
        Refuse(kNoDescription, ui_->DescEdit);
    } else if (dateAsked() &&
               cgt::DateBeforeCgtStart(ui_->DateofAcqEdit->text().toLatin1().toStdString())) {
        Refuse(kBeforeCgt, ui_->DateofAcqEdit);
    } else if (!typeChosen) {
        Refuse(kNoType, ui_->TypeTextComboBox);
    } else if (dateAsked() && dateEmpty()) {
        Refuse(kNoDate, ui_->DateofAcqEdit);
    }
}

void TQCGT_08::NextPressed() {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (descriptionEmpty() &&
        (ui_->TypeTextComboBox->HasChoice() || (dateAsked() && !dateEmpty()))) {
        ScreenInfo(QString::fromLatin1(kNothingToRegister));
        ui_->DescEdit->setFocus();
        frame->StayOnScreen();
        return;
    }
    // The event screens that follow edit this row.
    frame->ReopenRowKey = frame->CurrentRow();
    frame->ReopenRow = true;
    // Nothing registered: on to the class's another-event question.
    cgt::Run().CurrentIndex += descriptionEmpty() ? (kind_ ? kind_->skip : 1) : 1;
}

CGT_REGISTER_SCREEN(TQCGT_08);
