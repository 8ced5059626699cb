#pragma once
// Screens that begin a CGT event (the registration screen, the rights and receipt screens)
// open a row of their class's worksheet when they are created.

class TFrameWnd;

namespace cgt {

// The worksheet that the path's events question sets for the event screen `screen` (for
// example 451 for 2009); 0 when no question leads there.
int PathWorksheet(int screen);

// The worksheet the event screen edits: the frame's WorksheetKind, or when no question has
// set one in this run (an interview resumed on the screen itself) the one of the path.
int EventWorksheet(const TFrameWnd& frame, int screen);

// Opens the event's row: the row being edited again when ReopenRow is set, else a new one.
// Returns the worksheet opened, 0 when there is none to open.
int BeginEvent(TFrameWnd& frame, int screen);

} // namespace cgt
