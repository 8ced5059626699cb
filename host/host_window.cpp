#include "host/host_window.h"

#include <utility>

#include "module/module_api.h"

namespace tesmo {

HostWindow::HostWindow(std::function<void(int)> onMessage) : onMessage_(std::move(onMessage)) {
    setObjectName(QStringLiteral("HostWindow"));
}

bool HostWindow::event(QEvent* event) {
    if (const int message = cgt::ModuleMessageEvent::numberOf(event)) {
        if (onMessage_) onMessage_(message);
        return true;
    }
    return QWidget::event(event);
}

} // namespace tesmo
