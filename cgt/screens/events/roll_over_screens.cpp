#include "cgt/screens/events/roll_over_screens.h"

#include <QCheckBox>

#include "cgt/records/event_records.h"
#include "cgt/rules/roll_over.h"
#include "controls/text_label.h"
#include "controls/yes_no_pair.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/run_state.h"
#include "ui_rollover_form.h"
#include "ui_rollover_real_estate_form.h"
#include "ui_rollover_shares_form.h"

namespace {

// The roll-over question's sections: the long question, or the short one of the worksheets that
// cannot claim the exemption.
constexpr int kLongQuestion = 1;
constexpr int kShortQuestion = 2;

} // namespace

// ---- TRollOverScreen ---------------------------------------------------------------------------

TRollOverScreen::TRollOverScreen(QWidget* parent) : TEventScreen(parent) {}

void TRollOverScreen::Bind(const Fields& fields) {
    fields_ = fields;
    rollOver_ = new YesNoPair(fields_.rollOverYes, fields_.rollOverNo, this);
    marriage_ = new YesNoPair(fields_.marriageYes, fields_.marriageNo, this);
    if (fields_.scripYes) scrip_ = new YesNoPair(fields_.scripYes, fields_.scripNo, this);
    connect(rollOver_, &YesNoPair::Changed, this, &TRollOverScreen::RollOverAnswered);
    connect(marriage_, &YesNoPair::Changed, this, &TRollOverScreen::MarriageAnswered);
    if (scrip_) connect(scrip_, &YesNoPair::Changed, this, &TRollOverScreen::ScripAnswered);
    connect(fields_.exemption, &QCheckBox::clicked, this, &TRollOverScreen::Answered);
    ShowAssetName(fields_.name);
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        ContinueEvent(cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen));
}

void TRollOverScreen::FormShow() {
    // The exemption is claimed only for an active asset.
    const bool active = cgt::ActiveAssetRegistered(cgt::ReadOpenEvent());
    if (!active) fields_.exemption->setChecked(false);
    fields_.exemption->setEnabled(active);
    FitToRollOver();
    TEventScreen::FormShow();
}

void TRollOverScreen::FitToRollOver() {
    const bool rolledOver = rollOver_->IsYes();
    if (!rolledOver) {
        marriage_->Clear();
        if (scrip_) scrip_->Clear();
    }
    marriage_->SetEnabled(rolledOver);
    if (scrip_) scrip_->SetEnabled(rolledOver);
    // A reader's tab stops reach the questions that can be answered.
    if (cgt::Run().AccessibilityMode) {
        fields_.marriageQuestion->setTabStop(rolledOver);
        if (fields_.scripQuestion) fields_.scripQuestion->setTabStop(rolledOver);
    }
}

void TRollOverScreen::RollOverAnswered() {
    FitToRollOver();
    Answered();
}

// A marriage breakdown roll-over is not a scrip for scrip one, and the reverse.
void TRollOverScreen::MarriageAnswered() {
    if (scrip_ && marriage_->IsYes()) {
        scrip_->Yes()->setChecked(false);
        scrip_->No()->setChecked(true);
    }
    Answered();
}

void TRollOverScreen::ScripAnswered() {
    if (scrip_->IsYes()) {
        marriage_->Yes()->setChecked(false);
        marriage_->No()->setChecked(true);
    }
    Answered();
}

void TRollOverScreen::Answered() {
    if (storesAtOnce_) StoreEntries();
}

std::optional<cgt::Refusal> TRollOverScreen::CheckEntries() {
    return cgt::CheckRollOver(cgt::ReadOpenEvent(), scrip_ != nullptr);
}

cgt::NextStep TRollOverScreen::NextPressed() {
    return cgt::ScreenTarget::Route(cgt::RollOverNextRoute(cgt::ReadOpenEvent(Worksheet())));
}

// ---- TQCGT_20: depreciating assets, personal use assets and collectables, other assets --------

TQCGT_20::TQCGT_20(QWidget* parent)
    : TRollOverScreen(parent), ui_(std::make_unique<Ui::RollOverForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_20"));
    Bind({ui_->NameLabel, ui_->Q2YesCheckBox, ui_->Q2NoCheckBox, ui_->Q3Label, ui_->Q3YesCheckBox,
          ui_->Q3NoCheckBox, nullptr, nullptr, nullptr, ui_->Q1CheckBox});
    const bool exemption = cgt::AsksExemption(Worksheet());
    ui_->Q2Label->setCurrentSection(exemption ? kLongQuestion : kShortQuestion);
    for (QWidget* w : {static_cast<QWidget*>(ui_->Q1CheckBox), static_cast<QWidget*>(ui_->Q1Label),
                       static_cast<QWidget*>(ui_->Q1NoteLabel)})
        w->setVisible(exemption);
}

TQCGT_20::~TQCGT_20() = default;

TTextLbl* TQCGT_20::RollOverQuestion() const {
    return ui_->Q2Label;
}

CGT_REGISTER_SCREEN(TQCGT_20);

// ---- TQCGT_20a: real estate --------------------------------------------------------------------

TQCGT_20a::TQCGT_20a(QWidget* parent)
    : TRollOverScreen(parent), ui_(std::make_unique<Ui::RollOverRealEstateForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_20a"));
    Bind({ui_->NameLabel, ui_->Q2YesCheckBox, ui_->Q2NoCheckBox, ui_->Q3Label, ui_->Q3YesCheckBox,
          ui_->Q3NoCheckBox, nullptr, nullptr, nullptr, ui_->Q1CheckBox});
}

TQCGT_20a::~TQCGT_20a() = default;

CGT_REGISTER_SCREEN(TQCGT_20a);

// ---- TQCGT_20b: shares and trust interests -----------------------------------------------------

TQCGT_20b::TQCGT_20b(QWidget* parent)
    : TRollOverScreen(parent), ui_(std::make_unique<Ui::RollOverSharesForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_20b"));
    StoreAnswersAtOnce();
    Bind({ui_->NameLabel, ui_->Q2YesCheckBox, ui_->Q2NoCheckBox, ui_->Q3Label, ui_->Q3YesCheckBox,
          ui_->Q3NoCheckBox, ui_->ScripLabel, ui_->ScripforScripYesCheckBox,
          ui_->ScripforScripNoCheckBox, ui_->Q1CheckBox});
}

TQCGT_20b::~TQCGT_20b() = default;

CGT_REGISTER_SCREEN(TQCGT_20b);
