#pragma once
// The module run: start-up and shutdown in their fixed order, the module's own part of the
// run state, and the command-line switches. The exports only forward to these functions.

#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>

#include "store/run_state.h"

class QObject;

namespace cgt {

class TMainForm;

inline constexpr std::int16_t kModuleVersion = 1;

// The module's own run state beside cgt::Run().
struct ModuleState {
    QObject* Application = nullptr; // the host's application object (AppHandle)
    QPointer<TMainForm> MainForm;   // lives until the library is unloaded
    // Set by the main window while it exists: sets its title from CurrentFileName.
    std::function<void()> RefreshTitle;
};

ModuleState& Module();

// The arguments of RunCGTModule after the texts were copied.
struct ModuleArguments {
    std::uintptr_t appHandle = 0;
    std::uintptr_t hostWindow = 0;
    std::string dataPath;
    std::string identifier;
    std::string commandLine;
    std::int32_t startScreen = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool maximised = false;
    bool minimised = false;
};

// Copies a length-prefixed text; null gives the empty text.
std::string CopyShortString(const unsigned char* text);

// The screen a run starts on: the host's (`requested`), or without one where the return was
// left (`saved`, as ResumeScreen resumes it), or the interview's first screen.
int StartScreen(int requested, int saved);

std::int16_t CheckModuleVersion(std::int16_t version);
void RunModule(const ModuleArguments& args);
std::int32_t FailedScreenIndex();
// True when every shutdown step succeeded.
bool FreeModuleResources();
// What the library's unload handler does: deletes the main window while an application
// object exists and lets the queue run once.
void UnloadModule();

// Clears DebugMode, then compares arguments 1 to the last with "TECHMODE" (DebugMode) and "/V"
// (AccessibilityMode), ignoring case.
void ReadCommandLineSwitches(const QStringList& arguments, ModuleRunState& run);

// How the data file was read at start-up.
enum class OpenOutcome {
    Loaded,     // read completely
    PartlyRead, // a bad record ended the read; what came before it is used
    NewReturn,  // missing or too short: a new return
    Unreadable, // not readable: the file was kept as a copy and a new return started
};
struct OpenResult {
    OpenOutcome outcome = OpenOutcome::Loaded;
    std::string keptCopy; // the copy of an unreadable or partly read file, empty if none
};

// Reads the data file into the store (start-up step 6). A file that cannot be read starts a
// new return: an empty store holding only the identifier in tag 1, an empty history. A file
// of 8 or more bytes that cannot be read completely is first copied to a free ".BAD"
// companion, so that later saves never destroy the only copy. The user is told. When the file
// is missing and its ".BAK" companion is there, the user is offered the companion first: Yes
// copies it to the path and opens it, No moves it aside to a free ".OLD" companion.
OpenResult OpenDataFile(const std::string& path, const std::string& identifier);

} // namespace cgt
