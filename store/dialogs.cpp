#include "store/dialogs.h"

#include <cstdio>

namespace cgt {
namespace {

// Without a user interface: every message goes to standard error and gets the default answer,
// or the cautious one (Cancel, No) when there is no default.
class ConsoleDialogs final : public DialogService {
public:
    int ShowMessage(const MessageRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
        if (request.defaultResult != 0) return request.defaultResult;
        if (request.buttons & mbCancel) return mrCancel;
        if (request.buttons & mbNo) return mrNo;
        if (request.buttons & mbIgnore) return mrIgnore;
        return mrOK;
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void Beep() override {}
};

ConsoleDialogs& consoleDialogs() {
    static ConsoleDialogs service;
    return service;
}

DialogService* installed = nullptr;

std::string& applicationTitle() {
    static std::string title = kApplicationTitle;
    return title;
}

} // namespace

int ShownButtons(int requested) {
    const int set = requested & 0x7f;
    switch (set) {
    case mbYes | mbNo:
    case mbYes | mbNo | mbCancel:
    case mbOK | mbCancel:
    case mbRetry | mbCancel:
    case mbAbort | mbRetry | mbIgnore:
        return set;
    default:
        return mbOK;
    }
}

void SetDialogService(DialogService* service) {
    installed = service;
}
DialogService& Dialogs() {
    return installed ? *installed : consoleDialogs();
}
bool HasDialogService() {
    return installed != nullptr;
}

void SetApplicationTitle(std::string title) {
    applicationTitle() = std::move(title);
}
const std::string& ApplicationTitle() {
    return applicationTitle();
}

int MsgBox(const std::string& text, int kind, int buttons) {
    MessageRequest request;
    request.caption = ApplicationTitle();
    request.text = text;
    request.kind = kind;
    request.buttons = ShownButtons(buttons);
    return Dialogs().ShowMessage(request);
}

void ShowMsg(const std::string& text) {
    MsgBox(text, mkPlain, mbOK);
}

bool ConfirmWarning(const std::string& text) {
    MessageRequest request;
    request.caption = "Warning";
    request.text = text;
    request.kind = mkWarning;
    request.buttons = mbYes | mbNo;
    request.defaultResult = mrNo;
    return Dialogs().ShowMessage(request) == mrYes;
}

} // namespace cgt
