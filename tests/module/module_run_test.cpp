// Start-up and shutdown of a module run, in process.

#include <QCoreApplication>
#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/help_service.h"
#include "module/main_form.h"
#include "module/module_run.h"
#include "module_test_support.h"
#include "store/file_cipher.h"
#include "support/scripted_dialogs.h"

namespace cgt::test {
namespace {

constexpr const char* kIdentifier = "123 456 782";

class ModuleRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ResetModuleRun();
    }
    void TearDown() override { UnloadModule(); }

    std::string PathOf(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    ModuleArguments Arguments(const std::string& path, const std::string& identifier,
                              int startScreen = 2008) {
        ModuleArguments args;
        args.appHandle = reinterpret_cast<std::uintptr_t>(QCoreApplication::instance());
        args.hostWindow = reinterpret_cast<std::uintptr_t>(&host_);
        args.dataPath = path;
        args.identifier = identifier;
        args.commandLine = "tesmo --data " + path;
        args.startScreen = startScreen;
        args.left = 10;
        args.top = 20;
        args.width = 700;
        args.height = 500;
        return args;
    }

    ScriptedDialogs dialogs_;
    HostObject host_;
    QTemporaryDir dir_;
};

TEST(ModuleVersion, AnswersByVersion) {
    const struct {
        std::int16_t version;
        std::int16_t expected;
    } cases[] = {{1, 0}, {0, 1}, {-5, 1}, {2, -1}, {32767, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(CheckModuleVersion(c.version), c.expected) << "version " << c.version;
}

TEST(ModuleArgumentsTest, LengthPrefixedTextsAreCopiedToTheirLength) {
    const unsigned char text[] = {3, 'a', 'b', 'c', 'd', 'e'};
    EXPECT_EQ(CopyShortString(text), "abc");
    const unsigned char empty[] = {0, 'x'};
    EXPECT_EQ(CopyShortString(empty), "");
    EXPECT_EQ(CopyShortString(nullptr), "");
    std::vector<unsigned char> longest(256, 'z');
    longest[0] = 255;
    EXPECT_EQ(CopyShortString(longest.data()), std::string(255, 'z'));
}

TEST(CommandLineSwitches, WordsAfterTheProgramNameDecide) {
    const struct {
        QStringList arguments;
        bool debugBefore;
        bool debug;
        bool accessibility;
    } cases[] = {
        {{"tesmo"}, true, false, false},
        {{"TECHMODE"}, false, false, false}, // the program name is no parameter
        {{"tesmo", "techmode"}, false, true, false},
        {{"tesmo", "--data", "x.dat", "TechMode"}, false, true, false},
        {{"tesmo", "/v"}, false, false, true},
        {{"tesmo", "/V", "--id", "1", "TECHMODE"}, false, true, true},
        {{"tesmo", "TECHMODEX", "/VV", "-V", "V"}, true, false, false},
    };
    for (const auto& c : cases) {
        ModuleRunState run;
        run.DebugMode = c.debugBefore;
        ReadCommandLineSwitches(c.arguments, run);
        EXPECT_EQ(run.DebugMode, c.debug) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.AccessibilityMode, c.accessibility) << c.arguments.join(' ').toStdString();
    }
}

TEST_F(ModuleRunTest, StartScreenReplacesTheSavedPositionAndKeepsTheHistory) {
    const std::string path = PathOf("saved.dat");
    const std::vector<std::int32_t> history{2004, 2010, 2023, 2050};
    for (const auto& [start, section, index] :
         std::vector<std::array<int, 3>>{{2008, 20, 8}, {2021, 20, 21}}) {
        WriteReturn(path, kIdentifier, [&] {
            cgt::Run().CurrentSection = 20;
            cgt::Run().CurrentIndex = 50;
            cgt::Run().ScreenHistory = history;
            SetFieldStr(710, "BHP shares");
            SetFieldVal(169, 2500);
        });
        RunModule(Arguments(path, kIdentifier, start));

        const ModuleRunState& run = cgt::Run();
        EXPECT_EQ(run.CurrentSection, section) << start;
        EXPECT_EQ(run.CurrentIndex, index) << start;
        EXPECT_EQ(run.ScreenHistory, history);
        EXPECT_FALSE(run.InScreen);
        EXPECT_EQ(GetFieldStr(1), kIdentifier);
        EXPECT_EQ(GetFieldStr(710), "BHP shares");
        EXPECT_EQ(GetFieldText(169), "2500");
        EXPECT_EQ(run.HostDataPath, path);
        EXPECT_EQ(run.HostIdentifier, kIdentifier);
        EXPECT_EQ(run.HostCommandLine, "tesmo --data " + path);
        EXPECT_EQ(run.HostWindow, reinterpret_cast<std::uintptr_t>(&host_));
        EXPECT_EQ(run.CurrentFileName, path);
        EXPECT_EQ(Help().HelpFile(), "Orrin.HLP");
        // These numbers have no question screen: the start screen ends the interview there.
        EXPECT_EQ(FailedScreenIndex(), start);
        ASSERT_TRUE(Module().MainForm);
        EXPECT_TRUE(Module().MainForm->isVisible());
        EXPECT_EQ(Module().MainForm->windowTitle().toStdString(), "Tesmo 2004 - " + path);
        EXPECT_TRUE(dialogs_.messages.empty());
    }
}

TEST_F(ModuleRunTest, DataFileMissingOrTooShortStartsANewReturn) {
    const struct {
        const char* name;
        bool create;
        QByteArray bytes;
    } cases[] = {
        {"missing.dat", false, {}},
        {"empty.dat", true, {}},
        {"short.dat", true, QByteArray("\x01\x02\x03", 3)},
        {"seven.dat", true, QByteArray(7, '\x5a')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf(c.name);
        if (c.create) WriteBytes(path, c.bytes);
        dialogs_.messages.clear();

        RunModule(Arguments(path, kIdentifier));

        EXPECT_EQ(GetFieldStr(1), kIdentifier);
        EXPECT_TRUE(TagsWithData().empty());
        EXPECT_TRUE(cgt::Run().ScreenHistory.empty());
        EXPECT_EQ(cgt::Run().CurrentSection, 20);
        EXPECT_EQ(cgt::Run().CurrentIndex, 8);
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].kind, mkInformation);
        EXPECT_NE(dialogs_.messages[0].text.find(path), std::string::npos);
        EXPECT_NE(dialogs_.messages[0].text.find("new return"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(CompanionName(path, ".BAD")));
        ASSERT_TRUE(Module().MainForm);
        EXPECT_TRUE(Module().MainForm->isVisible());
        EXPECT_EQ(FileBytes(path), c.bytes); // nothing written before the run ends
    }
}

TEST_F(ModuleRunTest, UnreadableFileIsKeptAsABadCopyAndNeverOverwritten) {
    const std::string path = PathOf("return.dat");
    const std::string otherIdentifier = "987 654 321";
    WriteReturn(path, kIdentifier, [] {
        SetFieldVal(169, 7300);
        cgt::Run().ScreenHistory = {2004, 2005};
    });
    const QByteArray original = FileBytes(path);
    const std::string bad = CompanionName(path, ".BAD");

    // Opened under another identifier: the file cannot be read.
    RunModule(Arguments(path, otherIdentifier));
    EXPECT_EQ(GetFieldStr(1), otherIdentifier);
    EXPECT_TRUE(TagsWithData().empty());
    EXPECT_TRUE(cgt::Run().ScreenHistory.empty());
    EXPECT_EQ(FileBytes(bad), original);
    ASSERT_FALSE(dialogs_.messages.empty());
    const MessageRequest& told = dialogs_.messages.back();
    EXPECT_NE(told.text.find(path), std::string::npos) << told.text;
    EXPECT_NE(told.text.find(bad), std::string::npos) << told.text;

    // The run ends and saves the new return over the path, under the other identifier.
    SetFieldVal(174, 10);
    ASSERT_TRUE(FreeModuleResources());
    UnloadModule();

    // Opened again under the first identifier: the file at the path is now the unreadable
    // one; the earlier copy stays and the new one goes beside it.
    dialogs_.messages.clear();
    const QByteArray second = FileBytes(path);
    RunModule(Arguments(path, kIdentifier));
    const std::string bad2 = CompanionName(path, ".BAD2");
    EXPECT_EQ(FileBytes(bad), original);
    EXPECT_EQ(FileBytes(bad2), second);
    ASSERT_FALSE(dialogs_.messages.empty());
    EXPECT_NE(dialogs_.messages.back().text.find(bad2), std::string::npos);
    ASSERT_TRUE(FreeModuleResources());
    UnloadModule();

    // The first copy still holds the taxpayer's return.
    ASSERT_EQ(ReadReturn(bad, kIdentifier), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldText(169), "7300");
    EXPECT_EQ(cgt::Run().ScreenHistory, (std::vector<std::int32_t>{2004, 2005}));
    ASSERT_EQ(ReadReturn(bad2, otherIdentifier), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldText(174), "10");
}

// The shutdown save goes to the file the return was last saved as: the host's path, or the
// name of a Save As during the run, which leaves the host's file as it was.
TEST_F(ModuleRunTest, FreeResourcesSavesTheStoreToTheCurrentFileAndFreesIt) {
    for (const bool savedAs : {false, true}) {
        SCOPED_TRACE(savedAs ? "saved as another name" : "the host's file");
        const std::string path = PathOf("return.dat");
        const std::string elsewhere = PathOf("SAVED-ELSEWHERE.TAX");
        for (const std::string& file : {path, elsewhere, CompanionName(path, ".BAK")})
            std::filesystem::remove(file);
        WriteReturn(path, kIdentifier, [] { cgt::Run().ScreenHistory = {2004, 2006}; });
        const QByteArray before = FileBytes(path);
        RunModule(Arguments(path, kIdentifier));
        SetFieldVal(174, 1234);
        if (savedAs) cgt::Run().CurrentFileName = elsewhere;

        EXPECT_TRUE(FreeModuleResources());
        EXPECT_TRUE(FieldIsEmpty(1));
        EXPECT_TRUE(FieldIsEmpty(174));
        EXPECT_TRUE(cgt::Run().ScreenHistory.empty());
        EXPECT_EQ(std::filesystem::exists(elsewhere), savedAs);
        if (savedAs) {
            EXPECT_EQ(FileBytes(path), before);
            EXPECT_FALSE(std::filesystem::exists(CompanionName(path, ".BAK")));
        } else {
            EXPECT_EQ(FileBytes(CompanionName(path, ".BAK")), before);
        }

        ASSERT_EQ(ReadReturn(savedAs ? elsewhere : path, kIdentifier), LoadStatus::Loaded);
        EXPECT_EQ(GetFieldStr(1), kIdentifier);
        EXPECT_EQ(GetFieldStr(1300), "EI");
        EXPECT_EQ(GetFieldInt(960), 60012);
        EXPECT_EQ(GetFieldText(174), "1234");
        EXPECT_EQ(cgt::Run().CurrentSection, 20);
        EXPECT_EQ(cgt::Run().CurrentIndex, 8);
        EXPECT_EQ(cgt::Run().ScreenHistory, (std::vector<std::int32_t>{2004, 2006}));
        UnloadModule();
    }
}

TEST_F(ModuleRunTest, FreeResourcesReportsAFailedSaveAndKeepsTheStore) {
    const std::string path = PathOf("no-such-folder/return.dat");
    RunModule(Arguments(path, kIdentifier));
    SetFieldVal(174, 99);

    EXPECT_FALSE(FreeModuleResources());
    EXPECT_EQ(GetFieldStr(1), kIdentifier);
    EXPECT_EQ(GetFieldText(174), "99");
    EXPECT_FALSE(std::filesystem::exists(path));
}

// A save stopped between its two renames leaves the return only in its BAK companion. The
// start offers it: Yes copies it to the path and opens it; No starts a new return and moves the
// companion aside, so that the saves of the next sessions never replace it.
TEST_F(ModuleRunTest, AReturnLeftOnlyInItsBackupIsOfferedAndNeverLost) {
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open ? "Yes" : "No");
        const std::string path = PathOf(open ? "yes.dat" : "no.dat");
        const std::string backup = CompanionName(path, ".BAK");
        WriteReturn(path, kIdentifier, [] {
            SetFieldVal(169, 7300);
            cgt::Run().ScreenHistory = {2004, 2005};
        });
        WriteReturn(path, kIdentifier, [] { SetFieldVal(169, 8100); });
        std::filesystem::remove(path);
        const QByteArray kept = FileBytes(backup);
        dialogs_.messages.clear();
        dialogs_.queueAnswer(open ? mrYes : mrNo);

        RunModule(Arguments(path, kIdentifier));
        ASSERT_FALSE(dialogs_.messages.empty());
        const MessageRequest offer = dialogs_.messages[0];
        EXPECT_EQ(offer.buttons, mbYes | mbNo);
        EXPECT_NE(offer.text.find("\"" + path + "\" does not exist"), std::string::npos)
            << offer.text;
        EXPECT_NE(offer.text.find(backup), std::string::npos) << offer.text;
        if (open) {
            EXPECT_EQ(dialogs_.messages.size(), 1u);
            EXPECT_EQ(GetFieldText(169), "7300");
            EXPECT_EQ(cgt::Run().ScreenHistory, (std::vector<std::int32_t>{2004, 2005}));
            EXPECT_EQ(FileBytes(path), kept);
            SetFieldVal(174, 5);
            ASSERT_TRUE(FreeModuleResources());
            UnloadModule();
            EXPECT_EQ(FileBytes(backup), kept);
            ASSERT_EQ(ReadReturn(path, kIdentifier), LoadStatus::Loaded);
            EXPECT_EQ(GetFieldText(169), "7300");
            EXPECT_EQ(GetFieldText(174), "5");
            continue;
        }
        EXPECT_TRUE(TagsWithData().empty());
        const std::string aside = CompanionName(path, ".OLD");
        EXPECT_EQ(FileBytes(aside), kept);
        ASSERT_EQ(dialogs_.messages.size(), 2u);
        EXPECT_NE(dialogs_.messages[1].text.find("kept as \"" + aside), std::string::npos)
            << dialogs_.messages[1].text;
        // Two sessions save the new return.
        for (int session = 1; session <= 2; ++session) {
            if (session > 1) RunModule(Arguments(path, kIdentifier));
            SetFieldVal(174, session);
            ASSERT_TRUE(FreeModuleResources());
            UnloadModule();
        }
        ASSERT_EQ(ReadReturn(aside, kIdentifier), LoadStatus::Loaded);
        EXPECT_EQ(GetFieldText(169), "7300");
        EXPECT_EQ(cgt::Run().ScreenHistory, (std::vector<std::int32_t>{2004, 2005}));
    }
}

// A return that does not open with the host's identifier: the message names the identifier as
// the likely cause, not the cipher's "Invalid file format".
TEST_F(ModuleRunTest, AReturnThatDoesNotOpenNamesTheIdentifierAsTheLikelyCause) {
    const std::string otherTaxpayer = PathOf("other.dat");
    WriteReturn(otherTaxpayer, "987 654 321", [] { SetFieldVal(169, 7300); });
    const std::string notAReturn = PathOf("foreign.dat");
    const std::vector<std::uint8_t> plain(80, 'x');
    const std::vector<std::uint8_t> foreign =
        EncipherBytes(plain, DeriveFileKey(KeyTextOf(kIdentifier)));
    WriteBytes(notAReturn, QByteArray(reinterpret_cast<const char*>(foreign.data()),
                                      static_cast<qsizetype>(foreign.size())));
    for (const std::string& path : {otherTaxpayer, notAReturn}) {
        SCOPED_TRACE(path);
        dialogs_.messages.clear();
        RunModule(Arguments(path, kIdentifier));
        ASSERT_FALSE(dialogs_.messages.empty());
        const std::string& told = dialogs_.messages.back().text;
        EXPECT_NE(told.find("the identifier \"123 456 782\" may not match this return"),
                  std::string::npos)
            << told;
        EXPECT_EQ(told.find("Invalid file format"), std::string::npos) << told;
        EXPECT_NE(told.find("A new return is started."), std::string::npos) << told;
        UnloadModule();
    }
}

TEST_F(ModuleRunTest, UnloadDeletesTheMainWindow) {
    RunModule(Arguments(PathOf("missing.dat"), kIdentifier));
    QPointer<TMainForm> form = Module().MainForm;
    ASSERT_TRUE(form);
    UnloadModule();
    EXPECT_FALSE(form);
    EXPECT_FALSE(Module().RefreshTitle);
}

} // namespace
} // namespace cgt::test

namespace cgt::test {
namespace {

class ModuleStartTest : public ::testing::Test {
protected:
    void TearDown() override { UnloadModule(); }
    ScriptedDialogs dialogs_;
    HostObject host_;
    QTemporaryDir dir_;
};

// The host's default start screen shows the first question of the interview inside the
// frame; nothing tells the host that the interview ended.
TEST_F(ModuleStartTest, StartScreen2004ShowsTheFirstQuestion) {
    const std::string path = dir_.filePath("start.dat").toStdString();
    WriteReturn(path, kIdentifier);
    ModuleArguments args;
    args.appHandle = reinterpret_cast<std::uintptr_t>(QCoreApplication::instance());
    args.hostWindow = reinterpret_cast<std::uintptr_t>(&host_);
    args.dataPath = path;
    args.identifier = kIdentifier;
    args.startScreen = 2004;
    args.width = 800;
    args.height = 600;
    RunModule(args);
    QCoreApplication::processEvents();
    EXPECT_TRUE(cgt::Run().InScreen);
    EXPECT_EQ(cgt::Run().CurrentScreen, 2004);
    EXPECT_EQ(FailedScreenIndex(), 0);
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(cgt::Run().ScreenHistory, std::vector<std::int32_t>{2004});
    // The question has nothing to check: closing leaves it and tells the host.
    ASSERT_TRUE(Module().MainForm);
    EXPECT_TRUE(Module().MainForm->close());
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_FALSE(cgt::Run().InScreen);
    QCoreApplication::processEvents();
    EXPECT_EQ(host_.messages, std::vector<int>{kMsgInterviewClosed});
}

} // namespace
} // namespace cgt::test
