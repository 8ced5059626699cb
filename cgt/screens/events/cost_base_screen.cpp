#include "cgt/screens/events/cost_base_screen.h"

#include <QCheckBox>

#include "cgt/records/event_records.h"
#include "cgt/rules/cost_base.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/yes_no_pair.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "ui_cost_base_form.h"

TQCGT_11::TQCGT_11(QWidget* parent)
    : TEventScreen(parent), ui_(std::make_unique<Ui::CostBaseForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_11"));
    deceased_ = new YesNoPair(ui_->DeceasedCheckBoxYes, ui_->DeceasedCheckBoxNo, this);
    preLegal_ = new YesNoPair(ui_->PreLegalYesCheckBox, ui_->PreLegalNoCheckBox, this);
    ShowAssetName(ui_->NameLabel);
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        ContinueEvent(cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen));
    cgt::NormaliseDeceasedEstate();
    connect(ui_->DateofRolloverEdit, &TTaxEdit::OnExit, this, &TQCGT_11::DateofRolloverEditExit);
    connect(deceased_, &YesNoPair::Changed, this, &TQCGT_11::DeceasedAnswered);
    connect(preLegal_, &YesNoPair::Changed, this, &TQCGT_11::PreLegalAnswered);
}

TQCGT_11::~TQCGT_11() = default;

TTaxEdit* TQCGT_11::EffectiveDateEdit() const {
    return ui_->EffectiveDateEdit;
}
TTaxEdit* TQCGT_11::DateofRolloverEdit() const {
    return ui_->DateofRolloverEdit;
}
TTaxEdit* TQCGT_11::AssetIndCostBaseEdit() const {
    return ui_->AssetIndCostBaseEdit;
}
TTaxEdit* TQCGT_11::AssetDisCostBaseEdit() const {
    return ui_->AssetDisCostBaseEdit;
}
TTaxEdit* TQCGT_11::AssetRedCostBaseEdit() const {
    return ui_->AssetRedCostBaseEdit;
}

void TQCGT_11::FormShow() {
    // Once open, the indexed cost base stays open for the visit.
    if (cgt::IndexedCostBaseOpenOnShow(cgt::ReadOpenEvent())) OpenIndexedCostBase();
    FitToRollOverDate(true);
    TEventScreen::FormShow();
}

void TQCGT_11::OpenIndexedCostBase() {
    ui_->AssetIndCostBaseEdit->setEnabled(true);
}

void TQCGT_11::FitToRollOverDate(bool storedAnswer) {
    const cgt::RollOverDate date = cgt::RollOverDateKind(cgt::ReadOpenEvent());
    const bool rolledOver = date != cgt::RollOverDate::None;
    if (!rolledOver) deceased_->Clear();
    deceased_->SetEnabled(rolledOver);
    if (rolledOver && storedAnswer) {
        const int answer = cgt::ReadOpenEvent().deceasedEstate;
        ui_->DeceasedCheckBoxYes->setChecked(answer == cgt::kDeceasedEstateYes);
        ui_->DeceasedCheckBoxNo->setChecked(answer == cgt::kDeceasedEstateNo);
    }
    if (rolledOver && !cgt::Run().AccessibilityMode) ui_->DeceasedCheckBoxYes->setFocus();

    // The time of the acquisition matters on 21/09/1999 only.
    const bool timeAsked = date == cgt::RollOverDate::IndexationEnd;
    if (!timeAsked) preLegal_->Clear();
    preLegal_->SetEnabled(timeAsked);
}

void TQCGT_11::DateofRolloverEditExit() {
    StoreEntries();
    FitToRollOverDate(false);
    if (cgt::IndexedCostBaseOpenAfterRollOverDate(cgt::ReadOpenEvent())) OpenIndexedCostBase();
}

void TQCGT_11::DeceasedAnswered() {
    if (deceased_->Answered()) cgt::StoreDeceasedEstateAnswer(deceased_->IsYes());
}

void TQCGT_11::PreLegalAnswered() {
    // Acquired before 11.45am on 21/09/1999: indexed.
    if (preLegal_->IsNo()) OpenIndexedCostBase();
}

QWidget* TQCGT_11::FallbackFocus() const {
    return ui_->AssetDisCostBaseEdit;
}

QWidget* TQCGT_11::RefusedControl(const cgt::Refusal& refusal) {
    if (refusal.field == cgt::EventField::DeceasedEstate) return ui_->DeceasedCheckBoxNo;
    return TEventScreen::RefusedControl(refusal);
}

std::optional<cgt::Refusal> TQCGT_11::CheckEntries() {
    return cgt::CheckCostBase(cgt::ReadOpenEvent(), deceased_->Answered());
}

CGT_REGISTER_SCREEN(TQCGT_11);
