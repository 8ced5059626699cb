#pragma once
// The host window: a hidden widget that receives the module's posted messages.

#include <QWidget>

#include <functional>

namespace tesmo {

class HostWindow : public QWidget {
public:
    explicit HostWindow(std::function<void(int)> onMessage);

protected:
    bool event(QEvent* event) override;

private:
    std::function<void(int)> onMessage_;
};

} // namespace tesmo
