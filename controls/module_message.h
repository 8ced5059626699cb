#pragma once
// The window messages of a module run: one event type that carries the message number, posted
// with QCoreApplication::postEvent.

#include <QEvent>

namespace cgt {

inline constexpr int kMsgExitCommand = 1025;     // to the main window: its exit command
inline constexpr int kMsgShowScreen = 1027;      // to the frame: show the current screen
inline constexpr int kMsgInterviewLeft = 1131;   // to the host: the interview left its screens
inline constexpr int kMsgInterviewClosed = 1132; // to the host: the interview was closed

class ModuleMessageEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 1000);

    explicit ModuleMessageEvent(int number) : QEvent(kType), number_(number) {}
    int number() const { return number_; }

    // The message number of an event, or 0 when it is no module message.
    static int numberOf(const QEvent* event) {
        return event->type() == kType ? static_cast<const ModuleMessageEvent*>(event)->number() : 0;
    }

private:
    int number_;
};

} // namespace cgt
