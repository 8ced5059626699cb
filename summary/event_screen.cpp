#include "summary/event_screen.h"

#include <QPushButton>

#include "interview/frame.h"
#include "store/run_state.h"
#include "summary/question_flow.h"

namespace cgt {

int PathWorksheet(int screen) {
    for (const QuestionRow& row : QuestionTable())
        if (row.worksheet != 0 && row.yes == screen) return row.worksheet;
    return 0;
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

void TEventScreen::FormShow() {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame) return;
    // Another visit of this screen starts a new row unless Next reopens this one.
    frame->ReopenRow = false;
    frame->ShowWorksheetPanel(worksheet_ != 0);
    cgt::ModuleRunState& run = cgt::Run();
    run.ValidateHook = [this] { validate(); };
    run.NextHook = [this] { next(); };
}

void TEventScreen::Refuse(const char* message, QWidget* field) {
    ScreenInfo(QString::fromLatin1(message));
    field->setFocus();
    cgt::Run().ScreenValid = false;
}

void TEventScreen::validate() {
    cgt::Run().ScreenValid = true;
    const TFrameWnd* frame = TFrameWnd::Instance();
    if (frame && frame->BackStep()) return;
    CheckEntries();
}

void TEventScreen::next() {
    TFrameWnd* frame = TFrameWnd::Instance();
    // A navigator topic sets its own position.
    if (!frame || frame->NextHookSender() != frame->NextButton()) return;
    NextPressed();
}
