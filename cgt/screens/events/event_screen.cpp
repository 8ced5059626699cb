#include "cgt/screens/events/event_screen.h"

#include <QPushButton>

#include "base/text.h"
#include "cgt/records/event_records.h"
#include "cgt/rules/event_checks.h"
#include "cgt/screens/refusals.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "interview/frame.h"
#include "interview/screen_catalog.h"
#include "interview/value_binder.h"
#include "interview/worksheet_picker.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace cgt {

int PathWorksheet(int screen) {
    const ScreenSpec* spec = FindScreenSpec(screen);
    return spec ? spec->worksheet : 0;
}

int EventWorksheet(const TFrameWnd& frame, int screen) {
    return frame.WorksheetKind != 0 ? frame.WorksheetKind : PathWorksheet(screen);
}

} // namespace cgt

TEventScreen::TEventScreen(QWidget* parent) : TChildForm(parent) {}

void TEventScreen::OpenEvent(int worksheet) {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame || worksheet == 0) return;
    worksheet_ = worksheet;
    frame->OpenEventRow(worksheet);
}

void TEventScreen::ContinueEvent(int worksheet) {
    beginsEvent_ = false;
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame || worksheet == 0) return;
    worksheet_ = worksheet;
    frame->OpenWorksheetRow(worksheet, frame->ReopenRow ? frame->ReopenRowKey : 1);
}

void TEventScreen::ShowAssetName(TTextLbl* label) {
    label->OnScreenTag = [](TTextLbl*, int tag, QString& text) {
        text = QString::fromLatin1(cgt::AssetNameText(cgt::GetFieldStr(tag)));
    };
}

void TEventScreen::FormShow() {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame) return;
    if (beginsEvent_) {
        // Another visit of this screen starts a new row unless Next reopens this one.
        frame->ReopenRow = false;
        frame->ShowWorksheetPanel(worksheet_ != 0);
    } else {
        frame->ShowWorksheetPanel(false);
    }
}

void TEventScreen::StoreEntries() {
    cgt::SaveControlsToStore(this);
}

QWidget* TEventScreen::FieldControl(int tag) const {
    for (QWidget* w : findChildren<QWidget*>())
        if (cgt::FieldTagOf(w) == tag && w->isVisibleTo(this) && w->isEnabled()) return w;
    return FallbackFocus();
}

bool TEventScreen::OpenRowEmpty() const {
    // What the screens choose or write themselves is no entry of the user's: the asset type
    // chosen from a list, the deceased-estate answer's default and the payments' event and
    // asset type codes.
    using namespace cgt::tag::event;
    static constexpr int kNoEntries[] = {kAssetType, kDeceasedEstate, kPaymentEventCode,
                                         kPaymentAssetType};
    return cgt::ScratchRowEmpty(kNoEntries);
}

cgt::ScreenRefusal TEventScreen::Refused(const cgt::Refusal& refusal) {
    return cgt::ShownRefusal(refusal, RefusedControl(refusal));
}

QWidget* TEventScreen::RefusedControl(const cgt::Refusal& refusal) {
    return FieldControl(cgt::TagOf(refusal.field));
}

void TEventScreen::TakeDefaultType(const TTaxEdit* description, TTypeAheadComboBox* combo,
                                   const cgt::RegistrationKind* kind) {
    const bool described = !cgt::TrimBlanks(description->Text8()).empty();
    const std::string code = cgt::DefaultTypeFor(kind, described, combo->HasChoice());
    if (!code.empty()) combo->SelectCode(QString::fromLatin1(code));
}

std::optional<cgt::ScreenRefusal> TEventScreen::CheckLeave(cgt::Direction direction) {
    if (direction == cgt::Direction::Back) return std::nullopt;
    StoreEntries();
    if (const auto refusal = CheckEntries()) return Refused(*refusal);
    return std::nullopt;
}

cgt::NextStep TEventScreen::Next(cgt::Answer answer) {
    if (answer != cgt::Answer::Next) return cgt::ScreenTarget::RowNext();
    StoreEntries();
    return NextPressed();
}

cgt::NextStep TEventScreen::NextPressed() {
    return cgt::ScreenTarget::RowNext();
}
