#pragma once
// TEventScreen: the base of the screens that begin a CGT event (the registration screen, the
// rights and receipt screens). Created, it opens a row of its class's worksheet; shown, it
// installs its entry checks (skipped when the user goes back with Prev) and its Next.

#include "interview/child_form.h"

class TFrameWnd;

namespace cgt {

// The worksheet that the path's events question sets for the event screen `screen` (for
// example 451 for 2009); 0 when no question leads there.
int PathWorksheet(int screen);

// The worksheet the event screen edits: the frame's WorksheetKind, or when no question has
// set one in this run (an interview resumed on the screen itself) the one of the path.
int EventWorksheet(const TFrameWnd& frame, int screen);

} // namespace cgt

class TEventScreen : public TChildForm {
    Q_OBJECT

public:
    void FormShow() override;

    // The worksheet whose row the screen edits; 0 without an interview frame.
    int Worksheet() const { return worksheet_; }

protected:
    explicit TEventScreen(QWidget* parent = nullptr);

    // Opens the event's row of `worksheet`: the row being edited again when the frame's
    // ReopenRow is set, else a new row.
    void OpenEvent(int worksheet);
    // Shows the message, focuses `field` and keeps the user on the screen.
    void Refuse(const char* message, QWidget* field);

    // The entry checks when the screen is left other than by Prev; they call Refuse.
    virtual void CheckEntries() = 0;
    // Next was pressed: sets the following index, or calls the frame's StayOnScreen.
    virtual void NextPressed() = 0;

private:
    void validate();
    void next();

    int worksheet_ = 0;
};
