#pragma once
// The module library's boundary: the four exports, the event that carries a posted window
// message, and the message numbers. The host includes this header and resolves the exports at
// run time.

#include <QEvent>
#include <QtGlobal>

#include <cstdint>

namespace cgt {

// Posted window messages.
inline constexpr int kMsgExitCommand = 1025;     // to the main window: its exit command
inline constexpr int kMsgShowScreen = 1027;      // to the frame: show the current screen
inline constexpr int kMsgInterviewLeft = 1131;   // to the host: the interview left its screens
inline constexpr int kMsgInterviewClosed = 1132; // to the host: the interview was closed

// A posted window message: one event type, the message number as payload.
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

#define CGT_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

// Window handles are quintptr values carrying a QObject*. Texts are length-prefixed: one length
// byte, then up to 255 bytes, no terminator.
CGT_MODULE_EXPORT void RunCGTModule(quintptr AppHandle, quintptr HostWnd,
                                    const unsigned char* DataPath, const unsigned char* Identifier,
                                    const unsigned char* CommandLine, std::int32_t StartScreen,
                                    std::int32_t Left, std::int32_t Top, std::int32_t Width,
                                    std::int32_t Height, std::uint8_t Maximised,
                                    std::uint8_t Minimised);
// 0 for version 1, 1 for an older version, -1 for a newer one.
CGT_MODULE_EXPORT std::int16_t CheckVersion(std::int16_t Version);
// The screen number at which the interview left its own screens; 0 until then.
CGT_MODULE_EXPORT std::int32_t GetFailedScreenIndex();
// Saves the data file and frees the run: 1 on success, 0 when a step failed.
CGT_MODULE_EXPORT std::uint8_t FreeDLLResources();

namespace cgt {
using RunCGTModuleFn = decltype(&RunCGTModule);
using CheckVersionFn = decltype(&CheckVersion);
using GetFailedScreenIndexFn = decltype(&GetFailedScreenIndex);
using FreeDLLResourcesFn = decltype(&FreeDLLResources);
} // namespace cgt
