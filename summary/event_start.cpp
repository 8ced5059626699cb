#include "summary/event_start.h"

#include "interview/frame.h"
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

int BeginEvent(TFrameWnd& frame, int screen) {
    const int worksheet = EventWorksheet(frame, screen);
    if (worksheet != 0) frame.OpenEventRow(worksheet);
    return worksheet;
}

} // namespace cgt
