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

} // namespace cgt
