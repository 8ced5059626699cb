// The library's four exports; everything else in it is hidden.

#include "module/module_api.h"
#include "module/module_run.h"

CGT_MODULE_EXPORT void RunCGTModule(quintptr AppHandle, quintptr HostWnd,
                                    const unsigned char* DataPath, const unsigned char* Identifier,
                                    const unsigned char* CommandLine, std::int32_t StartScreen,
                                    std::int32_t Left, std::int32_t Top, std::int32_t Width,
                                    std::int32_t Height, std::uint8_t Maximised,
                                    std::uint8_t Minimised) {
    cgt::ModuleArguments args;
    args.appHandle = AppHandle;
    args.hostWindow = HostWnd;
    args.dataPath = cgt::CopyShortString(DataPath);
    args.identifier = cgt::CopyShortString(Identifier);
    args.commandLine = cgt::CopyShortString(CommandLine);
    args.startScreen = StartScreen;
    args.left = Left;
    args.top = Top;
    args.width = Width;
    args.height = Height;
    args.maximised = Maximised != 0;
    args.minimised = Minimised != 0;
    cgt::RunModule(args);
}

CGT_MODULE_EXPORT std::int16_t CheckVersion(std::int16_t Version) {
    return cgt::CheckModuleVersion(Version);
}

CGT_MODULE_EXPORT std::int32_t GetFailedScreenIndex() {
    return cgt::FailedScreenIndex();
}

CGT_MODULE_EXPORT std::uint8_t FreeDLLResources() {
    return cgt::FreeModuleResources() ? 1 : 0;
}

namespace {

// Runs when the library is unloaded from the process.
struct UnloadHandler {
    UnloadHandler() = default;
    UnloadHandler(const UnloadHandler&) = delete;
    UnloadHandler& operator=(const UnloadHandler&) = delete;
    ~UnloadHandler() { cgt::UnloadModule(); }
};
UnloadHandler unloadHandler;

} // namespace
