#pragma once
// The state of one module run. It exists once in the process; every screen and calculation
// reaches it directly. ResetModuleRun returns it to the state of a loaded library. The
// interview's screen hooks are the interview's own (interview/screen_hooks.h).

#include <cstdint>
#include <string>
#include <vector>

namespace cgt {

struct ModuleRunState {
    std::uintptr_t HostWindow = 0; // receives the closing messages
    std::string HostDataPath;      // FreeDLLResources saves here
    std::string HostIdentifier;    // written into tag 1; its digits key the data file
    std::string HostCommandLine;   // kept for the run
    std::string CurrentFileName;   // shown in the title, used by Save and autosave

    std::vector<std::int32_t> ScreenHistory; // newest last
    std::int32_t CurrentSection = 0;
    std::int32_t CurrentIndex = 0;
    std::int32_t CurrentScreen = 0;
    bool InScreen = false;
    bool DataChanged = false;

    std::int32_t CurrentWorksheet = 0;

    bool DebugMode = false;
    bool AccessibilityMode = false;
};

ModuleRunState& Run();

// Clears the whole run: state above, the field store.
void ResetModuleRun();

} // namespace cgt
