#pragma once
// The module's message boxes, input box and beep. Code below the user interface asks through
// this interface; the user interface installs the real service, tests a scripted one.

#include <optional>
#include <string>

namespace cgt {

// Icon by kind; any other kind shows no icon.
// A question screen's confirmation (kind 3) shows the question icon: mkQuestion.
enum MsgKind : int {
    mkWarning = 0,
    mkError = 1,
    mkInformation = 2,
    mkConfirmation = 3,
    mkPlain = 4,
    mkQuestion = 32
};

// Button set bits.
enum MsgButton : int {
    mbYes = 1 << 0,
    mbNo = 1 << 1,
    mbOK = 1 << 2,
    mbCancel = 1 << 3,
    mbAbort = 1 << 4,
    mbRetry = 1 << 5,
    mbIgnore = 1 << 6,
    mbHelp = 1 << 10, // question screens only: adds a Help button
};

// Results.
enum MsgResult : int {
    mrOK = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

// The buttons a box really shows for a requested set: {Yes, No}, {Yes, No, Cancel},
// {OK, Cancel}, {Retry, Cancel}, {Abort, Retry, Ignore}; anything else shows OK alone.
int ShownButtons(int requested);

struct MessageRequest {
    std::string caption;
    std::string text;      // 8-bit text
    int kind = mkPlain;    // MsgKind
    int buttons = mbOK;    // as shown, see ShownButtons
    int defaultResult = 0; // the button that has the focus, 0 for the first
    int helpContext = 0;   // topic of the Help button (mbHelp)
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int ShowMessage(const MessageRequest& request) = 0;
    // nullopt when the user cancels.
    virtual std::optional<std::string>
    InputBox(const std::string& caption, const std::string& prompt, const std::string& value) = 0;
    virtual void Beep() = 0;
};

// Installs the service used from now on; nullptr returns to the console service, which writes
// each message to standard error and answers with the default (or the cautious) button.
void SetDialogService(DialogService* service);
DialogService& Dialogs();
// True while a service other than the console one is installed.
bool HasDialogService();

// The module's name: the caption of every MsgBox unless another is set, and the start of the
// main window's title.
inline constexpr const char* kApplicationTitle = "Tesmo 2004";

// Caption of every MsgBox.
void SetApplicationTitle(std::string title);
const std::string& ApplicationTitle();

int MsgBox(const std::string& text, int kind, int buttons);
void ShowMsg(const std::string& text);
// Caption "Warning", warning icon, Yes and No with No as the default. True for Yes.
bool ConfirmWarning(const std::string& text);

} // namespace cgt
