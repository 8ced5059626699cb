// What a user gets on disk and from the host: results never older than the return, entries on an
// event screen kept by autosave and Save, and a run that resumes where the return was left.

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/worksheet_kinds.h"
#include "cgt/records/choice_records.h"
#include "cgt/records/trade_import.h"
#include "cgt/screens/choices/choice_screens.h"
#include "dialogs/modal_helper.h"
#include "interview/frame.h"
#include "interview/navigator_data.h"
#include "interview/navigator_frame.h"
#include "module/main_form.h"
#include "module/module_run.h"
#include "module_test_support.h"
#include "store/tags.h"
#include "store/worksheet_rows.h"
#include "support/scripted_dialogs.h"

namespace cgt::test {
namespace {

constexpr const char* kIdentifier = "123 456 782";

// A parcel of 100 ABC bought in 2001 for $1,000 and sold in March 2004 for $3,000: a discount
// gain of $2,000, a net capital gain of $1,000.
constexpr const char* kHeldOverAYear = "date,code,side,quantity,price,brokerage\n"
                                       "2001-01-10,ABC,Buy,100,10.00,0\n"
                                       "2004-03-15,ABC,Sell,100,30.00,0\n";
// 100 XYZ bought in January 2004 for $100 and sold in May for $700: an other gain of $600.
constexpr const char* kHeldUnderAYear = "date,code,side,quantity,price,brokerage\n"
                                        "2004-01-10,XYZ,Buy,100,1.00,0\n"
                                        "2004-05-10,XYZ,Sell,100,7.00,0\n";
// 100 DEF bought in 1995 and sold in 2004: indexed and discount gains, a method to choose.
constexpr const char* kMethodToChoose = "date,code,side,quantity,price,brokerage\n"
                                        "1995-03-05,DEF,Buy,100,10.00,0\n"
                                        "2004-03-15,DEF,Sell,100,30.00,0\n";

void Import(const char* name, const char* trades) {
    const TradePlan plan = PlanTradeImport({{name, trades}}, MatchMethod::Fifo);
    ASSERT_TRUE(plan.refused.empty());
    RecordImportedEvents(plan.events, {name});
}

class ReturnKeptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("return.dat")).toStdString();
        ResetModuleRun();
    }
    void TearDown() override { UnloadModule(); }

    ModuleArguments Arguments(int startScreen) {
        return HostArguments(path_, kIdentifier, host_, startScreen);
    }

    // A return whose choice table was left with the gain held over a year, then given another
    // event by `more` (as an import or a tool would) without the table being visited again.
    void WriteChangedReturn(const char* name, const char* trades) {
        WriteReturn(path_, kIdentifier, [&] {
            Import("abc.csv", kHeldOverAYear);
            ASSERT_FALSE(RunChoiceTable(ChoiceMode::MakeAll).refused);
            ASSERT_EQ(GetFieldVal(tag::kNetCapitalGain), 1000);
            ASSERT_EQ(StoredResultsState(), ResultsState::Current);
            Import(name, trades);
            ASSERT_EQ(StoredResultsState(), ResultsState::Stale);
        });
    }

    // Runs the module on the return and closes it as the host does.
    void RunAndClose(int startScreen = 2008) {
        RunModule(Arguments(startScreen));
        QCoreApplication::processEvents();
        ASSERT_TRUE(FreeModuleResources());
        UnloadModule();
    }

    ScriptedDialogs dialogs_;
    HostObject host_;
    QTemporaryDir dir_;
    std::string path_;
};

TEST_F(ReturnKeptTest, ResultsOfAChangedReturnAreWorkedOutAgainOnClosing) {
    WriteChangedReturn("xyz.csv", kHeldUnderAYear);
    RunAndClose();
    EXPECT_TRUE(dialogs_.messages.empty());
    ASSERT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    // 600 + half of 2,000.
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 1600);
    EXPECT_EQ(GetFieldVal(tag::kTotalCurrentYearGains), 2600);
    EXPECT_EQ(StoredResultsState(), ResultsState::Current);
}

TEST_F(ReturnKeptTest, ResultsThatNoLongerPassTheTableAreClearedAndTheTableMarked) {
    WriteChangedReturn("def.csv", kMethodToChoose);
    RunAndClose();
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, kChoiceTableRevisitMessage);
    ASSERT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    for (int result : {tag::kTotalCurrentYearGains, tag::kNetCapitalGain,
                       tag::kLossesCarriedForward, tag::kTotalCurrentYearLosses})
        EXPECT_EQ(GetFieldType(result), dtNone) << result;
    EXPECT_EQ(StoredResultsState(), ResultsState::Stale);

    // The next run marks the choice table's topic until the table is left again.
    ResetModuleRun();
    RunModule(Arguments(2004));
    QCoreApplication::processEvents();
    TFrameWnd* frame = Module().MainForm->Frame();
    const TNavigatorItem* topic =
        frame->Navigator()->Data()->FindItemByScreenID(kChoiceTableScreen);
    ASSERT_TRUE(topic);
    EXPECT_TRUE(topic->fNeedsVisit);
    frame->JumpTo(kChoiceTableScreen);
    ASSERT_EQ(cgt::Run().CurrentScreen, kChoiceTableScreen);
    // The button that makes all the choices, then Next.
    dialogs_.queueAnswer(mrYes);
    frame->CurrentScreenWidget()->findChild<QPushButton*>("ApplyLossBtn")->click();
    frame->findChild<QPushButton*>("BtnNext")->click();
    QCoreApplication::processEvents();
    EXPECT_NE(cgt::Run().CurrentScreen, kChoiceTableScreen);
    EXPECT_FALSE(topic->fNeedsVisit);
    EXPECT_EQ(StoredResultsState(), ResultsState::Current);
}

// The host prints what the module left: the new net capital gain, and 0 (not a blank) for no
// losses carried forward.
TEST_F(ReturnKeptTest, TheHostPrintsTheResultsOfTheReturnAsItNowStands) {
    WriteChangedReturn("xyz.csv", kHeldUnderAYear);
    QProcess host;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(CGT_HOST_PROGRAM),
               {"--data", QString::fromStdString(path_), "--id", kIdentifier, "--start", "2008"});
    ASSERT_TRUE(host.waitForFinished(60000));
    const std::string out = host.readAllStandardOutput().toStdString();
    EXPECT_EQ(host.exitCode(), 0) << host.readAllStandardError().toStdString();
    EXPECT_NE(out.find("tag 174 net capital gain: 1600\n"), std::string::npos) << out;
    EXPECT_NE(out.find("tag 169 total current-year capital gains: 2600\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("tag 175 unapplied net capital losses carried forward: 0\n"),
              std::string::npos)
        << out;
}

// Typing on an event screen, then only the autosave timer: the file on disk has the event.
TEST_F(ReturnKeptTest, AutosaveKeepsTheEventBeingTyped) {
    WriteReturn(path_, kIdentifier);
    RunModule(Arguments(2009));
    QCoreApplication::processEvents();
    TMainForm& form = *Module().MainForm;
    ASSERT_EQ(cgt::Run().CurrentScreen, 2009);
    auto* desc = form.Frame()->CurrentScreenWidget()->findChild<QLineEdit*>("DescEdit");
    ASSERT_TRUE(desc);
    desc->setFocus();
    QTest::keyClicks(desc, "Woodside Parcel");
    for (int tick = 0; tick < AutosaveCounter::kTicksPerRound; ++tick)
        form.AutosaveTick();
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(cgt::Run().CurrentScreen, 2009) << "the screen stays";
    EXPECT_EQ(desc->text(), "Woodside Parcel");
    const QByteArray saved = FileBytes(path_);

    // A further tick with nothing typed writes nothing.
    for (int tick = 0; tick < AutosaveCounter::kTicksPerRound; ++tick)
        form.AutosaveTick();
    EXPECT_EQ(FileBytes(path_), saved);

    ASSERT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kName), "Woodside Parcel");
}

TEST_F(ReturnKeptTest, SaveOnAnEventScreenKeepsTheEventAsTyped) {
    WriteReturn(path_, kIdentifier);
    RunModule(Arguments(2009));
    QCoreApplication::processEvents();
    TMainForm& form = *Module().MainForm;
    auto* desc = form.Frame()->CurrentScreenWidget()->findChild<QLineEdit*>("DescEdit");
    ASSERT_TRUE(desc);
    desc->setFocus();
    QTest::keyClicks(desc, "Woodside Parcel");
    auto accepted = WhenModal([](QDialog& box) {
        QTest::mouseClick(box.findChild<QPushButton*>("btnAction"), Qt::LeftButton);
    });
    form.SaveBtnClick();
    EXPECT_TRUE(*accepted);
    EXPECT_EQ(dialogs_.texts(), std::vector<std::string>{"File exists - Overwrite?"});
    EXPECT_EQ(cgt::Run().CurrentScreen, 2009);
    ASSERT_EQ(ReadReturn(path_, kIdentifier), LoadStatus::Loaded);
    FetchRow(wkShares, 1);
    EXPECT_EQ(GetFieldStr(tag::event::kName), "Woodside Parcel");
}

// Without a start screen from the host, the interview resumes where the return was left; on an
// event's screen, at the first screen of its kind of event, where the event is picked.
TEST_F(ReturnKeptTest, ARunResumesWhereTheReturnWasLeft) {
    const struct {
        int saved;
        int started;
    } cases[] = {
        {2007, 2007}, // the shares question
        {2011, 2009}, // a shares event's cost elements: its registration
        {2017, 2017}, // the another-shares question
        {0, 2004},    // a new return
        {9950, 2004}, // no such screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved);
        WriteReturn(path_, kIdentifier, [&] {
            Import("abc.csv", kHeldOverAYear);
            cgt::Run().CurrentSection = c.saved / 100;
            cgt::Run().CurrentIndex = c.saved % 100;
            cgt::Run().ScreenHistory = {2004, 2005, 2007};
        });
        RunModule(Arguments(0));
        QCoreApplication::processEvents();
        EXPECT_EQ(cgt::Run().CurrentScreen, c.started);
        EXPECT_TRUE(cgt::Run().InScreen);
        if (c.started == 2009) {
            EXPECT_EQ(cgt::Run().CurrentWorksheet, wkShares);
        }
        UnloadModule();
    }
    // A screen from the host wins.
    EXPECT_EQ(StartScreen(2019, 2011), 2019);
}

} // namespace
} // namespace cgt::test
