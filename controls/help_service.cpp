#include "controls/help_service.h"

#include <QFile>
#include <QPointer>

#include "controls/help_window.h"
#include "controls/qt_dialogs.h"

// The help files are linked from a static library: register them before the first look-up.
static void InitHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace cgt {
namespace {

// The help files are resources: the module's own and the host's general one.
QString resourceOf(const std::string& helpFile) {
    if (helpFile == kModuleHelpFile) return ":/help/module_help.txt";
    if (helpFile == kHostHelpFile) return ":/help/host_help.txt";
    return {};
}

class HelpWindowService final : public HelpService {
public:
    void ShowContext(int context) override { opened().ShowTopic(context); }
    void ShowContents() override { opened().ShowContentsList(); }
    void SetHelpFile(const std::string& name) override { helpFile_ = name; }
    std::string HelpFile() const override { return helpFile_; }
    void closeWindow() {
        delete window_.data();
        loaded_ = false;
    }

private:
    // The window, placed beside the window the user works in when it opens.
    THelpWindow& opened() {
        THelpWindow& help = window();
        if (!help.isVisible()) {
            if (const QWidget* owner = Owner()) help.PlaceBeside(*owner);
        }
        return help;
    }

    // The top-level window the user works in, past any dialog it has open.
    const QWidget* Owner() const {
        const QWidget* owner = DialogOwner();
        while (owner && owner->parentWidget())
            owner = owner->parentWidget()->window();
        return owner == window_.data() ? nullptr : owner;
    }

    // One window, filled from the help file in force when it is asked for.
    THelpWindow& window() {
        if (!window_) {
            InitHelpResources();
            window_ = new THelpWindow();
        }
        if (loadedFile_ != helpFile_ || !loaded_) {
            QFile file(resourceOf(helpFile_));
            QByteArray text;
            if (file.open(QIODevice::ReadOnly)) text = file.readAll();
            window_->SetContents(HelpFileContents::Parse(text.toStdString()));
            loadedFile_ = helpFile_;
            loaded_ = true;
        }
        return *window_;
    }

    std::string helpFile_ = kModuleHelpFile;
    std::string loadedFile_;
    bool loaded_ = false;
    QPointer<THelpWindow> window_;
};

HelpService* installed = nullptr;

HelpWindowService& windowService() {
    static HelpWindowService service;
    return service;
}

} // namespace

void SetHelpService(HelpService* service) {
    installed = service;
}

HelpService& Help() {
    return installed ? *installed : windowService();
}

void CloseHelpWindow() {
    windowService().closeWindow();
}

} // namespace cgt
