// The module as the host sees it: the shared library loaded at run time.

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>

#include <dlfcn.h>

#include <array>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "module/module_api.h"
#include "module_test_support.h"

namespace cgt::test {
namespace {

constexpr const char* kIdentifier = "123 456 782";

std::array<unsigned char, 256> ShortString(const std::string& text) {
    std::array<unsigned char, 256> out{};
    out[0] = static_cast<unsigned char>(text.size());
    std::copy(text.begin(), text.end(), out.begin() + 1);
    return out;
}

// The visible top-level window whose title the module set.
QWidget* ModuleWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() &&
            widget->windowTitle().startsWith(QStringLiteral("Tesmo 2004 - ")))
            return widget;
    return nullptr;
}

// The library opened with dlopen and its four exports.
struct ModuleLibrary {
    void* handle = nullptr;
    RunCGTModuleFn run = nullptr;
    CheckVersionFn checkVersion = nullptr;
    GetFailedScreenIndexFn failedScreenIndex = nullptr;
    FreeDLLResourcesFn freeResources = nullptr;

    bool open() {
        handle = dlopen(CGT_MODULE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle) return false;
        run = reinterpret_cast<RunCGTModuleFn>(dlsym(handle, "RunCGTModule"));
        checkVersion = reinterpret_cast<CheckVersionFn>(dlsym(handle, "CheckVersion"));
        failedScreenIndex =
            reinterpret_cast<GetFailedScreenIndexFn>(dlsym(handle, "GetFailedScreenIndex"));
        freeResources = reinterpret_cast<FreeDLLResourcesFn>(dlsym(handle, "FreeDLLResources"));
        return run && checkVersion && failedScreenIndex && freeResources;
    }
};

// A start screen number that has no question screen, so that no screen holds the window open.
constexpr int kStartWithoutScreen = 2008;

class ModuleLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("return.dat")).toStdString();
        WriteReturn(path_, kIdentifier, [] {
            cgt::Run().CurrentSection = 20;
            cgt::Run().CurrentIndex = 50;
            cgt::Run().ScreenHistory = {2004, 2050};
            SetFieldVal(169, 4200);
            SetFieldStr(710, "Units in a trust");
        });
        ASSERT_TRUE(library_.open()) << dlerror();
    }

    void TearDown() override {
        if (library_.handle) dlclose(library_.handle);
    }

    // Starts a run on the data file and returns the module's window.
    QWidget* StartRun() {
        const auto data = ShortString(path_);
        const auto id = ShortString(kIdentifier);
        const auto commandLine = ShortString("tesmo --data " + path_);
        library_.run(reinterpret_cast<quintptr>(QCoreApplication::instance()),
                     reinterpret_cast<quintptr>(&host_), data.data(), id.data(), commandLine.data(),
                     kStartWithoutScreen, 50, 60, 800, 600, 0, 0);
        return ModuleWindow();
    }

    QTemporaryDir dir_;
    std::string path_;
    HostObject host_;
    ModuleLibrary library_;
};

TEST_F(ModuleLibraryTest, RunsAModuleRunThroughItsFourExports) {
    EXPECT_EQ(dlsym(library_.handle, "_ZN3cgt9RunModuleERKNS_15ModuleArgumentsE"), nullptr);
    EXPECT_EQ(library_.checkVersion(1), 0);
    EXPECT_EQ(library_.checkVersion(0), 1);
    EXPECT_EQ(library_.checkVersion(2), -1);

    QPointer<QWidget> window = StartRun();
    ASSERT_TRUE(window) << "no module window";
    EXPECT_EQ(window->windowTitle().toStdString(), "Tesmo 2004 - " + path_);
    // The start screen has no question screen: the interview ends there (1131), and closing
    // the window afterwards reports 1132.
    window->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(host_.messages, (std::vector<int>{kMsgInterviewLeft, kMsgInterviewClosed}));

    EXPECT_EQ(library_.failedScreenIndex(), kStartWithoutScreen);
    EXPECT_EQ(library_.freeResources(), 1);
    EXPECT_TRUE(window) << "the window lives until the library is unloaded";

    // The module's store is its own; this one reads the file it saved.
    ASSERT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldText(169), "4200");
    EXPECT_EQ(GetFieldStr(710), "Units in a trust");
    EXPECT_EQ(GetFieldStr(1300), "EI");
    EXPECT_EQ(GetFieldInt(960), 60012);
    EXPECT_EQ(cgt::Run().CurrentSection, 20);
    EXPECT_EQ(cgt::Run().CurrentIndex, kStartWithoutScreen % 100);
    EXPECT_EQ(cgt::Run().ScreenHistory, (std::vector<std::int32_t>{2004, 2050}));
}

TEST_F(ModuleLibraryTest, UnloadingTheLibraryDeletesItsMainWindow) {
    QPointer<QWidget> window = StartRun();
    ASSERT_TRUE(window) << "no module window";
    window->close();
    QCoreApplication::processEvents();
    ASSERT_EQ(library_.freeResources(), 1);

    ASSERT_EQ(dlclose(std::exchange(library_.handle, nullptr)), 0);
    EXPECT_EQ(dlopen(CGT_MODULE_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr)
        << "the library stayed loaded";
    EXPECT_FALSE(window);
}

} // namespace
} // namespace cgt::test
