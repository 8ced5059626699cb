#include "cgt/screens/events/event_screen.h"

#include <QMetaObject>
#include <QPushButton>

#include "base/text.h"
#include "cgt/records/event_records.h"
#include "cgt/rules/event.h"
#include "cgt/rules/event_checks.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "controls/xgrid.h"
#include "interview/frame.h"
#include "interview/screen_catalog.h"
#include "interview/screen_hooks.h"
#include "interview/value_binder.h"
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
    auto* nameKeeper = new TTaxEdit(this);
    nameKeeper->setObjectName(QStringLiteral("AssetNameKeeper"));
    nameKeeper->setProperty("fieldTag", cgt::tag::event::kName);
    nameKeeper->hide();
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
    cgt::ScreenHooks& hooks = cgt::Hooks();
    hooks.ValidateHook = [this] { validate(); };
    hooks.NextHook = [this] { next(); };
}

void TEventScreen::StoreEntries() {
    cgt::SaveControlsToStore(this);
}

QWidget* TEventScreen::FieldControl(int tag) const {
    for (QWidget* w : findChildren<QWidget*>())
        if (cgt::FieldTagOf(w) == tag && w->isVisibleTo(this) && w->isEnabled()) return w;
    return FallbackFocus();
}

void TEventScreen::Refuse(const cgt::Refusal& refusal) {
    ScreenInfo(QString::fromLatin1(refusal.message));
    FocusRefusal(refusal);
    // Refused on Next, the frame keeps the screen as it is; refused on leaving, the validate
    // hook keeps the user on it.
    TFrameWnd* frame = TFrameWnd::Instance();
    if (frame && frame->NextHookSender())
        frame->StayOnScreen();
    else
        cgt::Hooks().ScreenValid = false;
}

void TEventScreen::FocusRefusal(const cgt::Refusal& refusal) {
    if (QWidget* field = FieldControl(cgt::TagOf(refusal.field))) field->setFocus();
}

void TEventScreen::FocusGridCell(TXGrid* grid, int col, int row) {
    grid->setFocus();
    // After the grid has entered its first cell.
    QMetaObject::invokeMethod(
        grid, [grid, col, row] { grid->MoveTo(col, row); }, Qt::QueuedConnection);
}

void TEventScreen::TakeDefaultType(const TTaxEdit* description, TTypeAheadComboBox* combo,
                                   const cgt::RegistrationKind* kind) {
    const bool described = !cgt::TrimBlanks(description->Text8()).empty();
    const std::string code = cgt::DefaultTypeFor(kind, described, combo->HasChoice());
    if (!code.empty()) combo->SelectCode(QString::fromLatin1(code));
}

void TEventScreen::validate() {
    cgt::Hooks().ScreenValid = true;
    const TFrameWnd* frame = TFrameWnd::Instance();
    if (frame && frame->BackStep()) return;
    StoreEntries();
    if (const auto refusal = CheckEntries()) Refuse(*refusal);
}

void TEventScreen::next() {
    TFrameWnd* frame = TFrameWnd::Instance();
    // A navigator topic sets its own position.
    if (!frame || frame->NextHookSender() != frame->NextButton()) return;
    StoreEntries();
    NextPressed();
}
