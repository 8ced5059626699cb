// Saving never loses a return: refused paths, the lock, the key, leftovers, failed checks and
// folder syncs, and every file-system call of a save made to fail in turn.

#include "failing_files.h"
#include "support/sample_store.h"
#include "support/store_fixture.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <iostream>

#include "store/data_file.h"
#include "store/file_cipher.h"
#include "store/tags.h"

namespace cgt {
namespace {

namespace fs = std::filesystem;
using test::FailingFiles;
using test::ReadBytes;
using test::TempFolder;

constexpr const char* kOtherIdentifier = "987 654 321";

// A return that differs by version; a lodged one carries the lodgment details.
void FillVersion(int version, bool lodged = false) {
    ResetModuleRun();
    test::FillSampleStore();
    SetFieldVal(tag::kTotalCurrentYearGains, version);
    SetFieldStr(6, "Version " + std::to_string(version) + " of the return");
    if (lodged) {
        SetFieldStr(tag::kLodgmentDate, "01/11/2004");
        SetFieldStr(tag::kLodgmentReference, "REF123");
        SetFieldStr(tag::kLodgmentTime, "10:15");
    }
}

bool HoldsLock() {
    return GetFieldText(tag::kLockMarker) == kLockMarker;
}

class SaveFaultTest : public test::StoreTest {
protected:
    // The file a clean save of `version` writes: the cipher has no salt, so equal returns give
    // equal files.
    std::vector<std::uint8_t> fileOf(int version, bool lodged = false) {
        FillVersion(version, lodged);
        const std::string path = reference.file("v" + std::to_string(version) + ".TAX");
        EXPECT_EQ(SaveDataFile(path), SaveStatus::Saved);
        auto bytes = ReadBytes(path);
        ResetModuleRun();
        return bytes;
    }

    void save(int version, const std::string& path, bool lodged = false) {
        FillVersion(version, lodged);
        ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved) << path;
    }

    LoadStatus reload(const std::string& path) {
        ResetModuleRun();
        cgt::Run().HostIdentifier = test::kSampleIdentifier;
        return LoadDataFile(path);
    }

    TempFolder reference;
    TempFolder folder;
};

TEST_F(SaveFaultTest, ANameWhoseBackupIsItselfIsRefusedBeforeAnythingIsTouched) {
    save(1, folder.file("ret.TAX"));
    fs::copy_file(folder.file("ret.TAX"), folder.file("ret.BAK"));
    const auto before = ReadBytes(folder.file("ret.BAK"));

    for (const std::string name : {"ret.BAK", "new.BAK"}) {
        SCOPED_TRACE(name);
        dialogs.messages.clear();
        FillVersion(2);
        EXPECT_EQ(SaveDataFile(folder.file(name)), SaveStatus::Failed);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        const std::string& text = dialogs.messages[0].text;
        EXPECT_TRUE(text.starts_with("Unable to save file - " + folder.file(name))) << text;
        EXPECT_NE(text.find(".BAK name is kept for the backup"), std::string::npos) << text;
        EXPECT_TRUE(text.ends_with("No file was written.")) << text;
    }
    EXPECT_EQ(ReadBytes(folder.file("ret.BAK")), before);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"ret.BAK", "ret.TAX"}));
}

TEST_F(SaveFaultTest, TheLockTakesEffectOnlyWithTheSaveThatCarriesIt) {
    FillVersion(1, true);
    EXPECT_EQ(SaveDataFile(folder.file("missing/ret.TAX")), SaveStatus::Failed);
    EXPECT_FALSE(HoldsLock());
    EXPECT_EQ(SaveDataFile(""), SaveStatus::NoName);
    EXPECT_FALSE(HoldsLock());

    SetFieldStr(5, "later");
    const std::string path = folder.file("ret.TAX");
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    EXPECT_TRUE(HoldsLock());
    EXPECT_EQ(SaveDataFile(path), SaveStatus::Locked);

    ASSERT_EQ(reload(path), LoadStatus::Loaded);
    EXPECT_TRUE(HoldsLock());
    EXPECT_EQ(GetFieldStr(5), "later");
    EXPECT_EQ(GetFieldStr(tag::kLodgmentReference), "REF123");
}

TEST_F(SaveFaultTest, TheFileIsKeyedByTheRunsIdentifierWhateverTag1Holds) {
    const struct {
        const char* name;
        void (*damage)();
    } cases[] = {
        {"missing", [] { Store().entry(tag::kIdentifier) = FieldEntry{}; }},
        {"a number",
         [] {
             Store().entry(tag::kIdentifier) = FieldEntry{};
             SetFieldVal(tag::kIdentifier, 123456782);
         }},
        {"no digits", [] { SetFieldStr(tag::kIdentifier, "no digits here"); }},
        {"other digits", [] { SetFieldStr(tag::kIdentifier, kOtherIdentifier); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FillVersion(3);
        c.damage();
        const std::string path = folder.file(std::string(c.name) + ".TAX");
        ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
        EXPECT_EQ(GetFieldStr(tag::kIdentifier), test::kSampleIdentifier);
        ASSERT_EQ(reload(path), LoadStatus::Loaded);
        EXPECT_EQ(GetFieldStr(tag::kIdentifier), test::kSampleIdentifier);
        EXPECT_EQ(GetFieldText(tag::kTotalCurrentYearGains), "3");
    }
}

TEST_F(SaveFaultTest, APathThatIsNotAFileIsRefusedAndNothingMoves) {
    const std::string asFolder = folder.file("folder.TAX");
    fs::create_directories(asFolder + "/inside");
    const std::string asPipe = folder.file("pipe.TAX");
    ASSERT_EQ(::mkfifo(asPipe.c_str(), 0600), 0);
    const std::string backupFolder = folder.file("taken.TAX");
    save(1, backupFolder);
    fs::create_directories(folder.file("taken.BAK/blocker"));
    const auto previous = ReadBytes(backupFolder);

    for (const std::string& path : {asFolder, asPipe, backupFolder}) {
        SCOPED_TRACE(path);
        dialogs.messages.clear();
        FillVersion(2);
        EXPECT_EQ(SaveDataFile(path), SaveStatus::Failed);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_TRUE(dialogs.messages[0].text.starts_with("Unable to save file - " + path));
    }
    EXPECT_TRUE(fs::is_directory(asFolder + "/inside"));
    EXPECT_TRUE(fs::is_fifo(asPipe));
    EXPECT_EQ(ReadBytes(backupFolder), previous);
    EXPECT_TRUE(fs::is_directory(folder.file("taken.BAK/blocker")));
    EXPECT_EQ(folder.names(),
              (std::vector<std::string>{"folder.TAX", "pipe.TAX", "taken.BAK", "taken.TAX"}));
}

TEST_F(SaveFaultTest, ASaveRemovesTheLeftoversOfItsOwnInterruptedSavesOnly) {
    const std::string path = folder.file("return.TAX");
    const std::vector<std::string> own{".return.TAX.Ab12Cd", ".return.TAX.zzzzzz"};
    const std::vector<std::string> others{".return.TAX.Ab12C", ".return.TAX.Ab_2Cd",
                                          ".other.TAX.Ab12Cd", "return.TAX.Ab12Cd",
                                          ".return.TAX.Ab12Cde"};
    for (const auto& name : own)
        test::WriteBytes(folder.file(name), {1, 2, 3});
    for (const auto& name : others)
        test::WriteBytes(folder.file(name), {1, 2, 3});
    fs::create_directory(folder.file(".return.TAX.Folder"));

    save(1, path);
    std::vector<std::string> expected = others;
    expected.push_back(".return.TAX.Folder");
    expected.push_back("return.TAX");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.names(), expected);
}

TEST_F(SaveFaultTest, AFailedExistenceCheckFailsTheSaveBeforeAnythingMoves) {
    const std::string path = folder.file("return.TAX");
    save(1, path);
    const auto previous = ReadBytes(path);
    for (const std::string& checked : {path, folder.file("return.BAK")}) {
        SCOPED_TRACE(checked);
        dialogs.messages.clear();
        FillVersion(2);
        FailingFiles files;
        files.statErrors[checked] = EIO;
        EXPECT_EQ(SaveDataFile(path), SaveStatus::Failed);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_NE(dialogs.messages[0].text.find("Cannot check " + checked), std::string::npos)
            << dialogs.messages[0].text;
        EXPECT_EQ(ReadBytes(path), previous);
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"return.TAX"}));
    }
}

TEST_F(SaveFaultTest, AFolderThatCannotBeFlushedIsReportedNotClaimedSaved) {
    const std::string path = folder.file("return.TAX");
    save(1, path);
    const auto fresh = fileOf(2, true);
    FillVersion(2, true);
    FailingFiles files;
    files.failFolderSync = true;
    EXPECT_EQ(SaveDataFile(path), SaveStatus::Unsynced);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, mkWarning);
    EXPECT_TRUE(dialogs.messages[0].text.starts_with("The return was saved to " + path + ", but"))
        << dialogs.messages[0].text;
    EXPECT_EQ(ReadBytes(path), fresh);
    EXPECT_TRUE(HoldsLock()); // the file with the marker is at the path
}

TEST_F(SaveFaultTest, AFailureNeverClaimsTheDataIsKeptInAFileThatDoesNotExist) {
    FillVersion(1);
    const std::string path = folder.file("missing/return.TAX");
    EXPECT_EQ(SaveDataFile(path), SaveStatus::Failed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.ends_with("No file was written."))
        << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[0].text.find("kept in"), std::string::npos);
}

TEST_F(SaveFaultTest, AnOrphanedBackupIsFoundAndRestoredToThePath) {
    const std::string path = folder.file("return.TAX");
    save(1, path);
    save(2, path);
    const auto previous = ReadBytes(folder.file("return.BAK"));
    EXPECT_EQ(OrphanedBackupOf(path), "");
    fs::remove(path); // a save stopped between its two renames
    EXPECT_EQ(OrphanedBackupOf(path), folder.file("return.BAK"));

    std::string error;
    ASSERT_TRUE(RestoreBackup(path, error)) << error;
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(ReadBytes(folder.file("return.BAK")), previous);
    EXPECT_EQ(OrphanedBackupOf(path), "");
    ASSERT_EQ(reload(path), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldText(tag::kTotalCurrentYearGains), "1");

    // A file at the path is never replaced by a restore.
    EXPECT_FALSE(RestoreBackup(path, error));
    EXPECT_EQ(OrphanedBackupOf(folder.file("none.TAX")), "");
}

// Every call of a whole save made to fail in turn, alone or with every call after it, with a
// full disk or an I/O error; with and without a previous file, lodged or not. After each, the
// previous or the new return is whole at the path or in its BAK companion, the user is told
// exactly what happened, the lock holds only when the file holding it is in place, and the
// next clean save leaves nothing behind.
TEST_F(SaveFaultTest, EveryFailingCallOfASaveLeavesAWholeReturnAndTellsTheTruth) {
    const auto older = fileOf(0);
    const auto old = fileOf(1);
    int injected = 0;
    int saves = 0;
    for (const bool lodged : {false, true}) {
        const auto fresh = fileOf(2, lodged);
        for (const bool previous : {true, false})
            for (const bool onward : {false, true})
                for (const int error : {ENOSPC, EIO}) {
                    int total = 0; // the calls of a clean save in this setting
                    for (int n = 0; n == 0 || n <= total; ++n) {
                        SCOPED_TRACE(testing::Message()
                                     << "lodged " << lodged << " previous " << previous
                                     << " onward " << onward << " error " << error
                                     << " failing call " << n);
                        TempFolder here;
                        const std::string path = here.file("return.TAX");
                        const std::string backup = here.file("return.BAK");
                        if (previous) {
                            save(0, path);
                            save(1, path);
                        }
                        test::WriteBytes(here.file(".return.TAX.Left0v"), {7});
                        FillVersion(2, lodged);
                        dialogs.messages.clear();
                        SaveStatus status;
                        {
                            FailingFiles files;
                            files.failAt = n;
                            files.failOnward = onward;
                            files.error = error;
                            status = SaveDataFile(path);
                            if (n == 0) total = files.calls;
                            injected += files.failed;
                        }
                        ++saves;
                        const bool locked = HoldsLock();
                        const bool atPath = fs::exists(path);
                        switch (status) {
                        case SaveStatus::Saved:
                        case SaveStatus::Unsynced:
                            EXPECT_EQ(ReadBytes(path), fresh);
                            if (previous) {
                                EXPECT_EQ(ReadBytes(backup), old);
                            }
                            EXPECT_EQ(locked, lodged);
                            if (status == SaveStatus::Saved) {
                                EXPECT_TRUE(dialogs.messages.empty());
                            } else {
                                ASSERT_EQ(dialogs.messages.size(), 1u);
                                EXPECT_TRUE(dialogs.messages[0].text.starts_with(
                                    "The return was saved to " + path));
                            }
                            break;
                        case SaveStatus::Failed: {
                            EXPECT_GT(n, 0);
                            EXPECT_FALSE(locked);
                            ASSERT_EQ(dialogs.messages.size(), 1u);
                            const std::string& text = dialogs.messages[0].text;
                            EXPECT_TRUE(text.starts_with("Unable to save file - " + path)) << text;
                            if (!previous) {
                                EXPECT_TRUE(text.ends_with("No file was written.")) << text;
                                EXPECT_FALSE(atPath);
                                break;
                            }
                            // Where the previous data is, or that nothing was written at all.
                            const std::string keptInPath =
                                "Your previous data is kept in " + path + ".";
                            const std::string keptInBackup =
                                "Your previous data is kept in " + backup + ".";
                            const bool untouched = text.ends_with("No file was written.");
                            ASSERT_TRUE(untouched || text.ends_with(keptInPath) ||
                                        text.ends_with(keptInBackup))
                                << text;
                            EXPECT_EQ(ReadBytes(text.ends_with(keptInBackup) ? backup : path), old);
                            if (atPath) {
                                EXPECT_EQ(ReadBytes(path), old);
                            } else {
                                EXPECT_EQ(OrphanedBackupOf(path), backup);
                            }
                            break;
                        }
                        default:
                            ADD_FAILURE() << "status " << static_cast<int>(status);
                        }

                        // The next clean save writes the return and removes every leftover.
                        const bool rotates = fs::exists(path) || fs::exists(backup);
                        const SaveStatus next = SaveDataFile(path);
                        if (locked) {
                            EXPECT_EQ(next, SaveStatus::Locked);
                            ASSERT_EQ(reload(path), LoadStatus::Loaded);
                            EXPECT_TRUE(HoldsLock());
                            continue;
                        }
                        ASSERT_EQ(next, SaveStatus::Saved);
                        EXPECT_EQ(ReadBytes(path), fresh);
                        std::vector<std::string> names{"return.TAX"};
                        if (rotates) names.insert(names.begin(), "return.BAK");
                        EXPECT_EQ(here.names(), names);
                    }
                    EXPECT_GE(total, previous ? 13 : 11);
                }
    }
    std::cout << "[ faults  ] " << injected << " failing calls injected over " << saves
              << " saves\n";
}

} // namespace
} // namespace cgt
