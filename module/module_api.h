#pragma once
// The module library's boundary: the four exports. The host includes this header, resolves the
// exports at run time and receives the module's window messages (controls/module_message.h).

#include <QtGlobal>

#include <cstdint>

#include "controls/module_message.h"

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
