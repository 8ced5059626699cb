#pragma once
// TEventScreen: the base of the event screens. A screen that begins a CGT event (the
// registration screen, the rights and receipt screens) opens a row of its class's worksheet when
// created; the screens that follow it (cost base, cost elements, event and proceeds, roll-over)
// continue that row. Left, the screen runs its entry checks (skipped when the user goes back
// with Prev); Next stores its entries and says where the event goes on. The checks are
// widget-free functions of the row (cgt/rules/event_checks.h): the screen stores its controls'
// values first and names the control of a refusal's tag.

#include <optional>

#include "interview/child_form.h"

class TFrameWnd;
class TTaxEdit;
class TTextLbl;
class TTypeAheadComboBox;
class TXGrid;

namespace cgt {

struct Refusal;
struct RegistrationKind;

// The worksheet that the path's events question sets for the event screen `screen` (for
// example 451 for 2009); 0 when no question leads there.
int PathWorksheet(int screen);

// The worksheet the event screen edits: the frame's WorksheetKind, or when no question has
// set one in this run (an interview resumed on the screen itself) the one of the path.
int EventWorksheet(const TFrameWnd& frame, int screen);

} // namespace cgt

class TEventScreen : public TChildForm, public cgt::CheckedScreen {
    Q_OBJECT

public:
    void FormShow() override;
    // Next stores the entries and asks NextPressed; a topic leaves the entries to the check.
    cgt::NextStep Next(cgt::Answer answer) override;
    std::optional<cgt::ScreenRefusal> CheckLeave(cgt::Direction direction) override;

    // An event row holds nothing while its scratch tags hold nothing but the asset type: a type
    // is chosen from a list and alone registers no event.
    bool OpenRowEmpty() const override;

    // The worksheet whose row the screen edits; 0 without an interview frame.
    int Worksheet() const { return worksheet_; }

protected:
    explicit TEventScreen(QWidget* parent = nullptr);

    // Opens the event's row of `worksheet`: the row being edited again when the frame's
    // ReopenRow is set, else a new row.
    void OpenEvent(int worksheet);
    // Opens the row the event's first screen opened: row ReopenRowKey while ReopenRow is set,
    // else row 1. Such a screen leaves ReopenRow set for the screens after it and hides the pick
    // list.
    void ContinueEvent(int worksheet);
    // A label whose "<V710>" shows the registered asset's name ("No Asset Selected" without one).
    void ShowAssetName(TTextLbl* label);
    // The controls' values → the row's scratch tags.
    void StoreEntries();
    // A refusal of the rules as the frame shows it, at RefusedControl.
    cgt::ScreenRefusal Refused(const cgt::Refusal& refusal);
    // The description was left: without a type the kind's default is chosen in `combo`.
    void TakeDefaultType(const TTaxEdit* description, TTypeAheadComboBox* combo,
                         const cgt::RegistrationKind* kind);
    // The control of a field tag; a field that is not shown or not enabled gives FallbackFocus.
    QWidget* FieldControl(int tag) const;
    virtual QWidget* FallbackFocus() const { return nullptr; }
    // The control that takes the cursor for a refusal (FieldControl of its tag); a grid for a
    // refused cell of it.
    virtual QWidget* RefusedControl(const cgt::Refusal& refusal);

    // The entry checks when the screen is left other than by Prev, after the entries were
    // stored; nothing when the screen may be left.
    virtual std::optional<cgt::Refusal> CheckEntries() = 0;
    // Next was pressed and the entries stored: where the event goes on (the next screen of the
    // row unless the screen says otherwise), or a refusal.
    virtual cgt::NextStep NextPressed();

private:
    int worksheet_ = 0;
    bool beginsEvent_ = true;
};
