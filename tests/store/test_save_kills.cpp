// A child process saves a return again and again and is killed at random moments. After every
// kill the return loads whole: from the path, or from its BAK companion when the kill fell
// between the save's two renames (the companion is then restored to the path, as the module
// offers at start-up).

#include "support/sample_store.h"
#include "support/store_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <thread>

#include "store/data_file.h"
#include "store/tags.h"

namespace cgt {
namespace {

using test::ReadBytes;
using test::TempFolder;

constexpr int kKills = 400;
constexpr int kLongestWaitMicroseconds = 20000;

void FillVersion(int version) {
    ResetModuleRun();
    test::FillSampleStore();
    SetFieldVal(tag::kTotalCurrentYearGains, version);
    SetFieldStr(6, "Version " + std::to_string(version) + " of the return");
}

class SaveKillTest : public test::StoreTest {
protected:
    // The file a clean save of `version` writes (the cipher has no salt).
    const std::vector<std::uint8_t>& fileOf(int version) {
        auto it = files.find(version);
        if (it != files.end()) return it->second;
        FillVersion(version);
        const std::string path = reference.file("v" + std::to_string(version) + ".TAX");
        EXPECT_EQ(SaveDataFile(path), SaveStatus::Saved);
        return files.emplace(version, ReadBytes(path)).first->second;
    }

    TempFolder reference;
    TempFolder folder;
    std::map<int, std::vector<std::uint8_t>> files;
};

[[noreturn]] void SaveForEver(const std::string& path, int from) {
    for (int version = from;; ++version) {
        FillVersion(version);
        SaveDataFile(path);
    }
}

TEST_F(SaveKillTest, AReturnSurvivesKillsAtAnyMomentOfItsSaves) {
    const std::string path = folder.file("return.TAX");
    FillVersion(1);
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);

    std::mt19937 random(2004);
    std::uniform_int_distribution<int> wait(0, kLongestWaitMicroseconds);
    int last = 1;
    int restored = 0;
    for (int kill = 1; kill <= kKills; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForEver(path, last + 1);
        std::this_thread::sleep_for(std::chrono::microseconds(wait(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }

        SCOPED_TRACE(testing::Message() << "kill " << kill << " after version " << last);
        if (!OrphanedBackupOf(path).empty()) {
            std::string error;
            ASSERT_TRUE(RestoreBackup(path, error)) << error;
            ++restored;
        }
        ResetModuleRun();
        cgt::Run().HostIdentifier = test::kSampleIdentifier;
        ASSERT_EQ(LoadDataFile(path), LoadStatus::Loaded);
        const int version = static_cast<int>(GetFieldInt(tag::kTotalCurrentYearGains));
        ASSERT_GE(version, last);
        ASSERT_EQ(ReadBytes(path), fileOf(version));
        last = version;
    }

    // The next clean save removes what the killed saves left behind.
    FillVersion(last + 1);
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"return.BAK", "return.TAX"}));
    std::cout << "[ kills   ] " << kKills << " kills during saves; " << last - 1
              << " versions saved; " << restored << " restored from the BAK companion\n";
}

} // namespace
} // namespace cgt
