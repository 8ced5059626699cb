#include "cgt/screens/events/disposal_screens.h"

#include <QCheckBox>

#include "cgt/records/event_records.h"
#include "cgt/rules/event_disposal.h"
#include "cgt/rules/event_kinds.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "controls/yes_no_pair.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "ui_depreciating_event_form.h"
#include "ui_event_proceeds_form.h"

namespace {

QStringList Items(const std::vector<const char*>& items) {
    QStringList list;
    for (const char* item : items)
        list << QString::fromLatin1(item);
    return list;
}

// The body text of a depreciating asset's event; other worksheets show none.
constexpr int kDepreciatingBody = 1;
constexpr int kNoBody = 0;

} // namespace

// ---- TDisposalScreen ---------------------------------------------------------------------------

TDisposalScreen::TDisposalScreen(QWidget* parent) : TEventScreen(parent) {}

void TDisposalScreen::Bind(const Fields& fields) {
    fields_ = fields;
    ShowAssetName(fields_.name);
    if (const TFrameWnd* frame = TFrameWnd::Instance())
        ContinueEvent(cgt::EventWorksheet(*frame, cgt::Run().CurrentScreen));
    fields_.type->SetItems(Items(cgt::EventAssetTypes(Worksheet())));
    fields_.typeCopy->setVisible(cgt::Run().AccessibilityMode);
}

void TDisposalScreen::FormShow() {
    // The type chosen at the registration, shown only: the screen cannot change it, so it never
    // stores it either (a type its list lacks stays as it was).
    fields_.type->SelectCode(QString::fromLatin1(cgt::ReadOpenEvent().typeCode));
    // A reader hears the type in a field that takes the focus.
    if (cgt::Run().AccessibilityMode) fields_.typeCopy->setText(fields_.type->currentText());
    TEventScreen::FormShow();
}

// ---- TQCGT_19: date of the CGT event and capital proceeds --------------------------------------

TQCGT_19::TQCGT_19(QWidget* parent)
    : TDisposalScreen(parent), ui_(std::make_unique<Ui::EventProceedsForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_19"));
    time_ = new YesNoPair(ui_->PreLegalYesCheckBox, ui_->PreLegalNoCheckBox, this);
    Bind({ui_->NameLabel, ui_->TypeTextComboBox, ui_->VIAssetTypeEdit});
    ui_->CGTEventTextComboBox->SetItems(Items(cgt::EventCodes(Worksheet())));
    ui_->NoteLabel->setCurrentSection(cgt::ProceedsNoteSection(Worksheet()));
    connect(ui_->DateofCGTEventEdit, &TTaxEdit::OnExit, this, &TQCGT_19::DateofCGTEventEditExit);
}

TQCGT_19::~TQCGT_19() = default;

TTypeAheadComboBox* TQCGT_19::CGTEventTextComboBox() const {
    return ui_->CGTEventTextComboBox;
}
TTaxEdit* TQCGT_19::DateofCGTEventEdit() const {
    return ui_->DateofCGTEventEdit;
}
TTaxEdit* TQCGT_19::CapitalProceedsEdit() const {
    return ui_->CapitalProceedsEdit;
}
TTextLbl* TQCGT_19::NoteLabel() const {
    return ui_->NoteLabel;
}

void TQCGT_19::FormShow() {
    ShowTimeQuestion(cgt::EventTimeAsked(cgt::ReadOpenEvent()));
    TDisposalScreen::FormShow();
}

void TQCGT_19::DateofCGTEventEditExit() {
    StoreEntries();
    ShowTimeQuestion(cgt::EventTimeAsked(cgt::ReadOpenEvent()));
}

void TQCGT_19::ShowTimeQuestion(bool asked) {
    // An answer given for another date no longer applies.
    if (!asked) time_->Clear();
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->TimeLabel, ui_->PreLegalYesCheckBox,
                                                      ui_->PreLegalNoCheckBox})
        w->setVisible(asked);
}

std::optional<cgt::Refusal> TQCGT_19::CheckEntries() {
    return cgt::CheckEventAndProceeds(cgt::ReadOpenEvent());
}

CGT_REGISTER_SCREEN(TQCGT_19);

// ---- TQCGT_19a: a depreciating asset's event ---------------------------------------------------

TQCGT_19a::TQCGT_19a(QWidget* parent)
    : TDisposalScreen(parent), ui_(std::make_unique<Ui::DepreciatingEventForm>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TQCGT_19a"));
    Bind({ui_->NameLabel, ui_->TypeTextComboBox, ui_->VIAssetTypeEdit});
    const bool depreciating = cgt::GainVariantOf(Worksheet()) == cgt::GainVariant::Depreciating;
    ui_->BodyLabel->setCurrentSection(depreciating ? kDepreciatingBody : kNoBody);
}

TQCGT_19a::~TQCGT_19a() = default;

std::optional<cgt::Refusal> TQCGT_19a::CheckEntries() {
    return cgt::CheckDepreciatingEvent(cgt::ReadOpenEvent());
}

CGT_REGISTER_SCREEN(TQCGT_19a);
