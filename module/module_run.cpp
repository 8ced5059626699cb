#include "module/module_run.h"

#include <QApplication>
#include <QCoreApplication>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "cgt/records/choice_records.h"
#include "cgt/screens/choices/choice_screens.h"
#include "cgt/screens/flow/screen_flow.h"
#include "controls/help_service.h"
#include "controls/qt_dialogs.h"
#include "interview/frame.h"
#include "interview/screen_catalog.h"
#include "module/main_form.h"
#include "store/data_file.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace cgt {

namespace {

constexpr std::uintmax_t kShortestDataFile = 8; // the cipher's one final block
constexpr int kMaxKeptCopies = 99;

// Every field dtNone with all bytes zero.
void ZeroFillStore() {
    for (int tag = 1; tag <= kFieldCount; ++tag)
        Store().entry(tag).zeroFill();
}

void StartNewReturn(const std::string& identifier) {
    ZeroFillStore();
    SetFieldStr(tag::kIdentifier, identifier);
    ModuleRunState& run = Run();
    run.ScreenHistory.clear();
    run.CurrentSection = 0;
    run.CurrentIndex = 0;
}

std::uintmax_t FileSize(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

// Copies the file to the first free of the companions EXT, EXT2, EXT3 …; an earlier copy is
// never overwritten. Empty when no copy could be made.
std::string KeepCopy(const std::string& path, const std::string& extension = ".BAD") {
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        const std::string name =
            CompanionName(path, n == 1 ? extension : extension + std::to_string(n));
        std::error_code ec;
        if (std::filesystem::copy_file(path, name, std::filesystem::copy_options::none, ec))
            return name;
        if (ec != std::errc::file_exists) return {};
    }
    return {};
}

std::string KeptCopyText(const std::string& copy) {
    if (copy.empty())
        return "No copy of the file could be made: copy it before the return is saved, or it "
               "will be replaced.";
    return "The file was kept unchanged as \"" + copy + "\".";
}

// The data file is missing and its backup copy is there: a save was interrupted between its
// two renames. Yes copies the backup to the path. Otherwise (No, or the copy failed) a new
// return starts and the backup moves aside to a free ".OLD" companion, so that no later save of
// the new return rotates over it. True when the backup is at the path now.
bool OfferBackup(const std::string& path, const std::string& backup) {
    const std::string question =
        "The data file \"" + path + "\" does not exist, but its backup copy \"" + backup +
        "\" does: the last save may have been interrupted.\n\nOpen the backup copy? It is "
        "copied to \"" +
        path + "\" first.";
    if (MsgBox(question, mkWarning, mbYes | mbNo) == mrYes) {
        std::string error;
        if (RestoreBackup(path, error)) return true;
        MsgBox("The backup copy \"" + backup + "\" could not be copied to \"" + path + "\" (" +
                   error + ").",
               mkError, mbOK);
    }
    const std::string aside = KeepCopy(backup, ".OLD");
    std::error_code ec;
    if (!aside.empty() && std::filesystem::remove(backup, ec)) {
        MsgBox("A new return is started. The backup copy was kept as \"" + aside + "\".",
               mkInformation, mbOK);
        return false;
    }
    MsgBox("A new return is started. The backup copy \"" + backup +
               "\" could not be moved aside: copy it elsewhere before the return is saved "
               "twice, or it will be replaced.",
           mkWarning, mbOK);
    return false;
}

std::string WrongIdentifierText(const std::string& identifier) {
    return "the identifier \"" + identifier +
           "\" may not match this return, or the file is not a data file";
}

} // namespace

ModuleState& Module() {
    static ModuleState state;
    return state;
}

std::string CopyShortString(const unsigned char* text) {
    if (!text) return {};
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

std::int16_t CheckModuleVersion(std::int16_t version) {
    if (version == kModuleVersion) return 0;
    return version < kModuleVersion ? 1 : -1;
}

void ReadCommandLineSwitches(const QStringList& arguments, ModuleRunState& run) {
    run.DebugMode = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].compare(QLatin1String("TECHMODE"), Qt::CaseInsensitive) == 0)
            run.DebugMode = true;
        else if (arguments[i].compare(QLatin1String("/V"), Qt::CaseInsensitive) == 0)
            run.AccessibilityMode = true;
    }
}

OpenResult OpenDataFile(const std::string& path, const std::string& identifier) {
    if (const std::string backup = OrphanedBackupOf(path);
        !backup.empty() && !OfferBackup(path, backup)) {
        StartNewReturn(identifier);
        return {OpenOutcome::NewReturn, {}};
    }
    std::string reason;
    try {
        switch (LoadDataFile(path)) {
        case LoadStatus::Loaded:
            return {OpenOutcome::Loaded, {}};
        case LoadStatus::BadRecord: {
            // The load kept what came before the bad record; the rest exists only in the file.
            OpenResult result{OpenOutcome::PartlyRead, KeepCopy(path)};
            MsgBox("Only part of the data file \"" + path + "\" could be read. " +
                       KeptCopyText(result.keptCopy),
                   mkWarning, mbOK);
            return result;
        }
        case LoadStatus::BadSignature:
            reason = WrongIdentifierText(identifier);
            break;
        }
    } catch (const UndecipherableFile&) {
        reason = WrongIdentifierText(identifier);
    } catch (const DataFileError& e) {
        reason = e.what();
    }

    StartNewReturn(identifier);
    if (FileSize(path) < kShortestDataFile) {
        MsgBox("The data file \"" + path + "\" could not be read (" + reason +
                   "). A new return is started.",
               mkInformation, mbOK);
        return {OpenOutcome::NewReturn, {}};
    }
    OpenResult result{OpenOutcome::Unreadable, KeepCopy(path)};
    MsgBox("The data file \"" + path + "\" could not be read: " + reason + ". " +
               KeptCopyText(result.keptCopy) + " A new return is started.",
           mkWarning, mbOK);
    return result;
}

int StartScreen(int requested, int saved) {
    if (requested != 0) return requested;
    if (const int resumed = ResumeScreen(saved)) return resumed;
    const auto table = InstalledScreenTable();
    return table.empty() ? 0 : table.front().number;
}

void RunModule(const ModuleArguments& args) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw std::runtime_error("The CGT module needs the host's QApplication.");
    ResetModuleRun();
    ModuleState& module = Module();
    ModuleRunState& run = Run();
    if (!HasDialogService()) SetDialogService(&QtDialogs());
    SetApplicationTitle(kApplicationTitle);

    // The texts arrive copied. The host's application object owns the module's windows.
    module.Application = reinterpret_cast<QObject*>(args.appHandle);
    run.HostCommandLine = args.commandLine;
    run.HostWindow = args.hostWindow;
    run.ScreenHistory.clear();
    ZeroFillStore();
    run.HostIdentifier = args.identifier;
    SetFieldStr(tag::kIdentifier, run.HostIdentifier);
    // Loading replaces the store, the history and the position with the saved ones.
    run.HostDataPath = args.dataPath;
    OpenDataFile(run.HostDataPath, run.HostIdentifier);
    QCoreApplication::processEvents();
    // The interview's screens, before the frame that shows them.
    InstallInterviewScreens();
    // Creating the main window reads the command-line switches.
    delete module.MainForm.data();
    module.MainForm = new TMainForm();
    module.MainForm->show();
    run.CurrentFileName = run.HostDataPath;
    module.MainForm->SetTitle();
    // The host's start screen overrides the saved position; without one the interview resumes
    // where the return was left.
    const int start = StartScreen(args.startScreen, run.CurrentSection * 100 + run.CurrentIndex);
    run.CurrentSection = start / 100;
    run.CurrentIndex = start % 100;
    run.InScreen = false;
    Help().SetHelpFile(kModuleHelpFile);
    // The first screen; a number without a screen ends the interview here.
    if (TFrameWnd* frame = module.MainForm->Frame()) {
        frame->ShowCurrentScreen();
        // Results worked out before the return last changed: the choice table is to be visited.
        if (module.MainForm && !IsLodged())
            frame->MarkForVisit(kChoiceTableScreen, StoredResultsState() == ResultsState::Stale);
    }
    if (!module.MainForm) return;
    module.MainForm->SetStateAndBounds(args.maximised, args.minimised, args.left, args.top,
                                       args.width, args.height);
}

std::int32_t FailedScreenIndex() {
    const TMainForm* form = Module().MainForm.data();
    return form && form->Frame() ? form->Frame()->FailedScreen() : 0;
}

bool FreeModuleResources() {
    try {
        ModuleRunState& run = Run();
        // The file the last save went to: the host's, or the one the user saved as.
        const std::string& path =
            run.CurrentFileName.empty() ? run.HostDataPath : run.CurrentFileName;
        // A screen still shown keeps its values and its worksheet row in the return.
        if (TMainForm* form = Module().MainForm.data(); form && form->Frame())
            form->Frame()->LeaveForClose();
        // The host reads the results from the file: never those of a return since changed.
        if (!IsLodged() && RefreshStaleResults())
            MsgBox(std::string(kChoiceTableRevisitMessage), mkWarning, mbOK);
        // A locked return is already on the disk; anything else must be written now.
        const SaveStatus saved = SaveDataFile(path);
        if (saved != SaveStatus::Saved && saved != SaveStatus::Locked) return false;
        ClearStore();
        run.ScreenHistory.clear();
        run.ScreenHistory.shrink_to_fit();
        // Closing the frame finishes an open worksheet and clears InScreen.
        if (TMainForm* form = Module().MainForm.data(); form && form->Frame())
            form->Frame()->CloseFrame();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return true;
    } catch (...) {
        return false;
    }
}

void UnloadModule() {
    Run().ScreenHistory.clear();
    // At process exit the application object, and with it every window, may be gone already.
    if (!QCoreApplication::instance()) return;
    delete Module().MainForm.data();
    CloseHelpWindow();
    QCoreApplication::processEvents();
    if (&Dialogs() == &QtDialogs()) SetDialogService(nullptr);
}

} // namespace cgt
