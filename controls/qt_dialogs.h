#pragma once
// The dialog service on Qt: message boxes, the input box and the beep. Texts are 8-bit and
// converted as Latin-1 here.

#include <optional>
#include <string>

#include "store/dialogs.h"

class QWidget;

namespace cgt {

class QtDialogService : public DialogService {
public:
    int ShowMessage(const MessageRequest& request) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;
    void Beep() override;
};

// The one instance the module installs.
QtDialogService& QtDialogs();

// Gives a dialog the frame of a dialog and nothing more: a title with Close, no minimise,
// maximise or context help button, and a fixed size (its present size, at least what its
// layout needs), so that window managers draw no resize strip along its edge. Call it once
// the dialog's controls are in place and before it is shown.
void UseDialogFrame(QWidget& dialog);
// The window a dialog of the module belongs to: the active window, or else the first visible
// top-level window; nullptr when there is none.
QWidget* DialogOwner();

} // namespace cgt
