// The main window: title, close query and close handler, state and bounds.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include <gtest/gtest.h>

#include "dialogs/modal_helper.h"
#include "interview/child_form.h"
#include "interview/frame.h"
#include "interview/screen_registry.h"
#include "module/main_form.h"
#include "module/module_api.h"
#include "module/module_run.h"
#include "module_test_support.h"
#include "store/worksheet_rows.h"
#include "support/scripted_dialogs.h"

namespace cgt::test {
namespace {

constexpr const char* kIdentifier = "123 456 782";

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("return.dat")).toStdString();
        ResetModuleRun();
    }
    void TearDown() override { UnloadModule(); }

    ModuleArguments Arguments() {
        // 2008 has no question screen: nothing holds the window open.
        return HostArguments(path_, kIdentifier, host_, 2008);
    }

    TMainForm& StartRun(const ModuleArguments& args) {
        WriteReturn(path_, kIdentifier);
        RunModule(args);
        EXPECT_TRUE(Module().MainForm);
        // The start screen has no question screen: the interview leaves at once (1131) and the
        // window stays until the host ends the run.
        QCoreApplication::processEvents();
        EXPECT_EQ(host_.messages, std::vector<int>{kMsgInterviewLeft});
        host_.messages.clear();
        return *Module().MainForm;
    }

    ScriptedDialogs dialogs_;
    HostObject host_;
    QTemporaryDir dir_;
    std::string path_;
};

TEST_F(MainFormTest, TitleNamesTheFileAndTheLodgmentOnlyWhenLocked) {
    const std::string lodged = " (Lodged on 15/10/2004 at 10:42.  Ref:ABC123)";
    const struct {
        const char* lockTag1491;
        bool fillLodgment;
        bool lodgedSuffix;
    } cases[] = {
        {"", false, false},
        {"", true, false},
        {"999999999", false, false},
        {"999999999", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lockTag1491) + (c.fillLodgment ? " filled" : " empty"));
        WriteReturn(path_, kIdentifier, [&] {
            if (c.fillLodgment) {
                SetFieldStr(1478, "  15/10/2004 ");
                SetFieldStr(1490, "10:42  ");
                SetFieldStr(1479, "\tABC123");
            }
            if (*c.lockTag1491) SetFieldStr(1491, c.lockTag1491);
        });
        RunModule(Arguments());
        const std::string expected = "Tesmo 2004 - " + path_ + (c.lodgedSuffix ? lodged : "");
        EXPECT_EQ(MainWindowTitle().toStdString(), expected);
        ASSERT_TRUE(Module().MainForm);
        EXPECT_EQ(Module().MainForm->windowTitle().toStdString(), expected);
    }
}

TEST_F(MainFormTest, RefreshTitleFollowsTheFileName) {
    TMainForm& form = StartRun(Arguments());
    cgt::Run().CurrentFileName = "/tmp/other.dat";
    ASSERT_TRUE(Module().RefreshTitle);
    Module().RefreshTitle();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tesmo 2004 - /tmp/other.dat"));
}

TEST_F(MainFormTest, ClosingTheWindowPostsInterviewClosedToTheHost) {
    TMainForm& form = StartRun(Arguments());
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(host_.messages.empty()); // posted, not sent
    QCoreApplication::processEvents();
    EXPECT_EQ(host_.messages, std::vector<int>{kMsgInterviewClosed});
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(MainFormTest, CloseHandlerPostsInterviewLeftForAnyOtherSender) {
    TMainForm& form = StartRun(Arguments());
    QObject yesButton;
    form.FormClose(&yesButton);
    form.FormClose(&form);
    QCoreApplication::processEvents();
    EXPECT_EQ(host_.messages, (std::vector<int>{kMsgInterviewLeft, kMsgInterviewClosed}));
}

// A screen whose check refuses while `refuse` is set, without a message of its own.
class RefusingScreen : public TChildForm, public CheckedScreen {
public:
    static inline bool refuse = false;
    std::optional<ScreenRefusal> CheckLeave(Direction) override {
        return refuse ? std::optional<ScreenRefusal>(ScreenRefusal{}) : std::nullopt;
    }
};

TEST_F(MainFormTest, CloseIsRefusedOnlyWhileTheScreensChecksRefuse) {
    TMainForm& form = StartRun(Arguments());
    static const ScreenSpec table[] = {
        {.number = 3001, .className = "RefusingScreen", .caption = {}, .topic = {}, .routes = {}}};
    const auto interview = InstalledScreenTable();
    InstallScreenTable(table);
    RegisterScreenClass("RefusingScreen", [] { return new RefusingScreen; });
    struct Restore {
        std::span<const ScreenSpec> interview;
        ~Restore() {
            UnregisterScreenClass("RefusingScreen");
            InstallScreenTable(interview);
        }
    } restore{interview};
    form.Frame()->JumpTo(3001);
    ASSERT_TRUE(cgt::Run().InScreen);
    RefusingScreen::refuse = true;
    EXPECT_FALSE(form.close());
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(host_.messages.empty());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, "You must complete this section before saving.");
    EXPECT_EQ(dialogs_.messages[0].kind, mkWarning);
    EXPECT_EQ(dialogs_.messages[0].buttons, mbOK);
    EXPECT_EQ(dialogs_.messages[0].caption, ApplicationTitle());

    // Checks that pass let the interview close: the screen is left.
    RefusingScreen::refuse = false;
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(cgt::Run().InScreen);
    QCoreApplication::processEvents();
    EXPECT_EQ(host_.messages, std::vector<int>{kMsgInterviewClosed});
}

// A user registers a share parcel and closes the window with its close box (or Alt+F4): the
// row is stored, the host is told, and its shutdown call saves the return with the row.
TEST_F(MainFormTest, ClosingOnARegistrationSavesTheEventWithTheReturn) {
    WriteReturn(path_, kIdentifier);
    ModuleArguments args = Arguments();
    args.startScreen = 2009;
    RunModule(args);
    QCoreApplication::processEvents();
    TMainForm& form = *Module().MainForm;
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    ASSERT_EQ(cgt::Run().CurrentScreen, 2009);
    QWidget* screen = form.Frame()->CurrentScreenWidget();
    auto* desc = screen->findChild<QLineEdit*>("DescEdit");
    auto* date = screen->findChild<QLineEdit*>("DateofAcqEdit");
    ASSERT_TRUE(desc && date);
    desc->setFocus();
    QTest::keyClicks(desc, "bhp billiton");
    QTest::keyClick(desc, Qt::Key_Tab); // leaving the description chooses the default type
    date->setFocus();
    QTest::keyClicks(date, "15031995");
    QTest::keyClick(date, Qt::Key_Tab);

    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(host_.messages, std::vector<int>{kMsgInterviewClosed});
    ASSERT_TRUE(FreeModuleResources());

    ASSERT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kName), "Bhp Billiton");
    EXPECT_EQ(GetFieldStr(tag::event::kAssetType), "SN");
    EXPECT_EQ(GetFieldStr(tag::event::kAcquisitionDate), "15/03/1995");
    EXPECT_EQ(cgt::Run().CurrentSection * 100 + cgt::Run().CurrentIndex, 2009)
        << "the next run resumes on the screen";
}

TEST_F(MainFormTest, StateFromTheFlagsMaximisedWinning) {
    const struct {
        bool maximised;
        bool minimised;
        Qt::WindowStates expected;
    } cases[] = {
        {true, true, Qt::WindowMaximized},
        {true, false, Qt::WindowMaximized},
        {false, true, Qt::WindowMinimized},
        {false, false, Qt::WindowNoState},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.maximised) + std::to_string(c.minimised));
        ModuleArguments args = Arguments();
        args.maximised = c.maximised;
        args.minimised = c.minimised;
        TMainForm& form = StartRun(args);
        EXPECT_EQ(form.windowState(), c.expected);
        // Restored, the window has the host's bounds.
        form.setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.frameGeometry(), QRect(args.left, args.top, args.width, args.height));
    }
}

TEST_F(MainFormTest, ScreensKeepTheirSizeAtTheHostBoundsAndGrowWithTheWindow) {
    TMainForm& form = StartRun(Arguments());
    TFrameWnd* frame = form.Frame();
    QTest::qWait(2300); // the first timer tick lays the frame out and attaches resizing
    // The host's bounds include the window frame: the client panel is at most a little
    // smaller than at the first show, never compared with the whole frame.
    const double first = double(frame->ScaleNum()) / frame->ScaleDen();
    EXPECT_LE(first, 1.0);
    EXPECT_GT(first, 0.95);

    form.setFixedSize(form.width() * 3 / 2,
                      form.height() * 3 / 2); // a normal window keeps its size
    QCoreApplication::processEvents();
    const double grown = double(frame->ScaleNum()) / frame->ScaleDen();
    EXPECT_GT(grown, 1.4);
    EXPECT_LT(grown, 1.7); // the navigator keeps its width: the client panel grows faster
}

// At 2x scaling the host's bounds may not fit the screen: the user can resize and maximise the
// window, and the screens are laid out to the space it gets.
TEST_F(MainFormTest, TheWindowCanBeResizedAndMaximised) {
    TMainForm& form = StartRun(Arguments());
    QTest::qWait(2300); // the first timer tick attaches resizing
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(form.minimumSize(), form.maximumSize()) << "not fixed";
    const double before = double(form.Frame()->ScaleNum()) / form.Frame()->ScaleDen();
    form.resize(form.width() * 3 / 4, form.height() * 3 / 4);
    QCoreApplication::processEvents();
    const double smaller = double(form.Frame()->ScaleNum()) / form.Frame()->ScaleDen();
    EXPECT_LT(smaller, before * 0.9);
    form.setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
}

TEST_F(MainFormTest, NormalWindowTakesTheHostBounds) {
    ModuleArguments args = Arguments();
    args.left = 70;
    args.top = 30;
    args.width = 640;
    args.height = 480;
    TMainForm& form = StartRun(args);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.frameGeometry(), QRect(70, 30, 640, 480));
}

} // namespace
} // namespace cgt::test

namespace cgt::test {
namespace {

class MainFormSaveTest : public MainFormTest {};

TEST_F(MainFormSaveTest, AutosaveSavesChangedDataOnlyEveryFifthTick) {
    TMainForm& form = StartRun(Arguments());
    const QByteArray before = FileBytes(path_);
    // A change in the first minute is saved at the fifth tick, not before.
    SetFieldVal(169, 100);
    for (int tick = 1; tick <= 4; ++tick) {
        form.AutosaveTick();
        EXPECT_TRUE(cgt::Run().DataChanged) << tick;
    }
    EXPECT_EQ(FileBytes(path_), before);
    form.AutosaveTick();
    EXPECT_FALSE(cgt::Run().DataChanged);
    EXPECT_EQ(form.Autosave().ticks(), 0);
    EXPECT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldText(169), "100");

    // Without a change the counter runs past five and nothing is written; a change made at
    // minute 12 is saved at the very next tick.
    const QByteArray saved = FileBytes(path_);
    for (int tick = 1; tick <= 11; ++tick)
        form.AutosaveTick();
    EXPECT_EQ(form.Autosave().ticks(), 11);
    EXPECT_EQ(FileBytes(path_), saved);
    cgt::Run().DataChanged = true;
    form.AutosaveTick();
    EXPECT_FALSE(cgt::Run().DataChanged);
    EXPECT_EQ(form.Autosave().ticks(), 0);
}

TEST_F(MainFormSaveTest, LodgedReturnRefusesSaveAndAutosave) {
    WriteReturn(path_, kIdentifier, [] {
        SetFieldStr(1478, "15/10/2004");
        SetFieldStr(1479, "ABC123");
        SetFieldStr(1490, "10:42");
        SetFieldStr(1491, "999999999");
    });
    RunModule(Arguments());
    QCoreApplication::processEvents();
    TMainForm& form = *Module().MainForm;
    EXPECT_TRUE(form.windowTitle().endsWith("(Lodged on 15/10/2004 at 10:42.  Ref:ABC123)"));
    const QByteArray before = FileBytes(path_);
    form.SaveBtnClick();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_TRUE(dialogs_.messages[0].text.starts_with("This data file has been lodged"));
    SetFieldVal(169, 5);
    for (int tick = 0; tick < 12; ++tick)
        form.AutosaveTick();
    EXPECT_EQ(FileBytes(path_), before);
}

TEST_F(MainFormSaveTest, ExitCommandClosesTheWindow) {
    TMainForm& form = StartRun(Arguments());
    QCoreApplication::postEvent(&form, new ModuleMessageEvent(kMsgExitCommand));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(host_.messages, std::vector<int>{kMsgInterviewClosed});
}

// The save box opens in the return's folder with the return's name and saves it under that
// name; after a save under a new name, autosave and the shutdown save go to the new file.
TEST_F(MainFormSaveTest, TheSaveBoxStartsAtTheReturnAndLaterSavesFollowANewName) {
    TMainForm& form = StartRun(Arguments());
    const QString folder = QFileInfo(QString::fromStdString(path_)).absolutePath();
    const QByteArray opened = FileBytes(path_);

    auto ownName = WhenModal([&](QDialog& box) {
        EXPECT_EQ(box.findChild<QLabel*>("lblCurrentDir")->text(),
                  QDir::toNativeSeparators(folder));
        EXPECT_EQ(box.findChild<QLineEdit*>("edtFName")->text(), "return.dat");
        QTest::mouseClick(box.findChild<QPushButton*>("btnAction"), Qt::LeftButton);
    });
    SetFieldVal(169, 100);
    form.SaveBtnClick();
    EXPECT_TRUE(*ownName);
    EXPECT_EQ(dialogs_.texts(), std::vector<std::string>{"File exists - Overwrite?"});
    EXPECT_NE(FileBytes(path_), opened);
    EXPECT_FALSE(cgt::Run().DataChanged);
    const QByteArray savedOwn = FileBytes(path_);

    const std::string other = (folder + "/OTHER.TAX").toStdString();
    auto newName = WhenModal([&](QDialog& box) {
        box.findChild<QLineEdit*>("edtFName")->setText("other");
        QTest::mouseClick(box.findChild<QPushButton*>("btnAction"), Qt::LeftButton);
    });
    form.SaveBtnClick();
    EXPECT_TRUE(*newName);
    EXPECT_EQ(cgt::Run().CurrentFileName, other);
    EXPECT_EQ(form.windowTitle().toStdString(), "Tesmo 2004 - " + other);
    const QByteArray savedOther = FileBytes(other);
    EXPECT_FALSE(savedOther.isEmpty());

    SetFieldVal(169, 200);
    for (int tick = 0; tick < AutosaveCounter::kTicksPerRound; ++tick)
        form.AutosaveTick();
    EXPECT_NE(FileBytes(other), savedOther);
    SetFieldVal(169, 300);
    ASSERT_TRUE(FreeModuleResources());
    UnloadModule();

    EXPECT_EQ(FileBytes(path_), savedOwn);
    ASSERT_EQ(ReadReturn(other, kIdentifier), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldText(169), "300");
    ASSERT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    EXPECT_EQ(GetFieldText(169), "100");
}

TEST(MainFormHintTest, HintsWrapAtTheGivenWidth) {
    const QFontMetrics metrics(QApplication::font());
    const QString hint = "Click here if your answer to the question(s) asked on the screen is Yes. "
                         "Click here if your answer to the question(s) asked on the screen is No.";
    const QString wrapped = WrapHint(hint, metrics, 200);
    EXPECT_GT(wrapped.count('\n'), 0);
    for (const QString& line : wrapped.split('\n'))
        EXPECT_LE(metrics.horizontalAdvance(line), 200) << line.toStdString();
    EXPECT_EQ(QString(wrapped).replace('\n', ' '), hint);
    EXPECT_EQ(WrapHint("Short", metrics, 400), "Short");
}

} // namespace
} // namespace cgt::test
