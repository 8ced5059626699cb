#include "controls/shell_service.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace cgt {

namespace {

class DesktopShell : public ShellService {
public:
    void Open(const QString& target) override {
        QString t = target.trimmed();
        if (t.isEmpty()) return;
        // Existing relative paths are files; anything else reads as a web address.
        QDesktopServices::openUrl(QUrl::fromUserInput(t, QDir::currentPath()));
    }
};

ShellService* g_service = nullptr;

} // namespace

void SetShellService(ShellService* service) {
    g_service = service;
}

ShellService& Shell() {
    static DesktopShell desktop;
    return g_service ? *g_service : desktop;
}

void ShellOpen(const QString& target) {
    Shell().Open(target);
}

} // namespace cgt
