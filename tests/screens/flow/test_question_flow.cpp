// The question screens of the interview path driven through a real interview frame: every
// route, the worksheet and progress marker set by each answer, the data removed on No, the
// another-event screens and the walk through the path answering No.

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "cgt/screens/flow/question_screen.h"
#include "cgt/screens/flow/screen_flow.h"
#include "controls/core/help_file.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "interview/frame.h"
#include "interview/navigator_frame.h"
#include "interview/screen_registry.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"
#include "support/screen_fixture.h"

// The help files are resources of a static library: register them before reading one.
static void InitHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace cgt::test {
namespace {

// The routes of the path, transcribed separately from the screens' table. 0: not offered.
struct Expected {
    int screen;
    const char* className;
    int yes, no, next;
    int worksheet;           // WorksheetKind after Yes (0: left alone)
    int markerYes, markerNo; // tag 588 after the answer on a fresh store (0: left alone)
    bool prevHidden;
};

const Expected kPath[] = {
    {2004, "TQCGT_83", 0, 0, 2005, 0, 0, 0, false},
    {2005, "TQCGT_56", 0, 0, 2088, 0, 0, 0, false},
    {2088, "TQCGT_60", 0, 0, 2006, 0, 0, 0, false},
    {2006, "TQCGT_39a", 2007, 2018, 0, 0, 1, 1, false},
    {2007, "TQCGT_39", 2009, 2018, 0, 451, 1, 1, false},
    {2017, "TQCGT_40", 2009, 2018, 0, 0, 0, 0, true},
    {2018, "TQCGT_03a", 2019, 2031, 0, 0, 2, 4, false},
    {2020, "TQCGT_41", 2022, 2031, 0, 452, 3, 3, false},
    {2030, "TQCGT_42", 2022, 2031, 0, 0, 0, 0, true},
    {2031, "TQCGT_43a", 2032, 2042, 0, 0, 5, 5, false},
    {2032, "TQCGT_43b", 0, 0, 2033, 0, 0, 0, false},
    {2033, "TQCGT_43", 2035, 2042, 0, 454, 5, 5, false},
    {2041, "TQCGT_44", 2035, 2042, 0, 0, 0, 0, true},
    {2042, "TQCGT_80", 2043, 2052, 0, 0, 8, 8, false},
    {2043, "TQCGT_81", 2045, 2052, 0, 458, 8, 8, false},
    {2051, "TQCGT_82", 2045, 2052, 0, 0, 0, 0, true},
    {2052, "TQCGT_45a", 2053, 2062, 0, 0, 6, 6, false},
    {2053, "TQCGT_45", 2055, 2062, 0, 455, 6, 6, false},
    {2061, "TQCGT_46", 2055, 2062, 0, 0, 0, 0, true},
    {2062, "TQCGT_47a", 2063, 2072, 0, 0, 7, 7, false},
    {2063, "TQCGT_47", 2065, 2072, 0, 456, 7, 7, false},
    {2071, "TQCGT_48", 2065, 2072, 0, 0, 0, 0, true},
    {2072, "TQCGT_49a", 2073, 2096, 0, 0, 8, 8, false},
    {2073, "TQCGT_49", 2075, 2096, 0, 457, 8, 8, false},
    {2074, "TQCGT_08g", 0, 0, 2075, 0, 0, 0, true},
    {2081, "TQCGT_50", 2075, 2096, 0, 0, 0, 0, true},
    {2096, "TQCGT_35", 2097, 2101, 0, 462, 13, 13, false},
    {2098, "TQCGT_37", 2097, 2101, 0, 0, 0, 0, true},
    {2102, "TQCGT_57", 0, 0, 2103, 0, 0, 0, false},
};

// Tags removed by a No, per screen.
const std::map<int, std::vector<int>> kRemoved = {
    {2006, {1202}}, {2007, {1202}}, {2018, {1203, 1204, 1215}},
    {2020, {1203}}, {2031, {1205}}, {2033, {1205}},
    {2042, {1209}}, {2043, {1209}}, {2052, {1206}},
    {2053, {1206}}, {2062, {1207}}, {2063, {1207}},
    {2072, {1208}}, {2073, {1208}}, {2096, {1213}},
};

constexpr int kOtherWorksheet = 999;

// One row of worksheet tag `tag` holding a description.
void PutRow(int tag) {
    auto sheet = std::make_shared<Worksheet>();
    FieldEntry text;
    text.type = dtSmallStr;
    text.setSmallText("BHP");
    sheet->append({1, 710, text});
    Store().entry(tag).type = dtWorksheet;
    Store().entry(tag).sheet = sheet;
}

class QuestionFlowTest : public ScreenTest {
protected:
    TQuestionScreen* question() const {
        return dynamic_cast<TQuestionScreen*>(frame->CurrentScreenWidget());
    }
};

TEST_F(QuestionFlowTest, EveryScreenIsItsOwnRowWithTheButtonsOfItsKind) {
    for (const Expected& e : kPath) {
        SCOPED_TRACE(e.screen);
        start(e.screen);
        ASSERT_EQ(shown(), e.screen);
        TQuestionScreen* q = question();
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(q->objectName(), QString::fromLatin1(e.className));
        EXPECT_EQ(q->Row().screen, e.screen);
        const bool isQuestion = e.yes != 0;
        EXPECT_EQ(frame->YesButton()->isVisible(), isQuestion);
        EXPECT_EQ(frame->NoButton()->isVisible(), isQuestion);
        EXPECT_EQ(frame->NextButton()->isVisible(), !isQuestion);
        EXPECT_EQ(frame->PrevButton()->isVisible(), !e.prevHidden);
        EXPECT_TRUE(frame->Navigator()->isVisible());
        EXPECT_FALSE(q->QuestionLabel()->plainText().isEmpty());
    }
}

TEST_F(QuestionFlowTest, YesNoAndNextLeadWhereThePathSays) {
    for (const Expected& e : kPath) {
        SCOPED_TRACE(e.screen);
        if (e.yes == 0) {
            start(e.screen);
            press(frame->NextButton());
            EXPECT_EQ(shown(), e.next);
            continue;
        }
        for (bool yes : {true, false}) {
            SCOPED_TRACE(yes ? "Yes" : "No");
            ClearStore();
            frame->WorksheetKind = kOtherWorksheet;
            start(e.screen);
            press(yes ? frame->YesButton() : frame->NoButton());
            EXPECT_EQ(shown(), yes ? e.yes : e.no);
            EXPECT_EQ(frame->WorksheetKind, yes && e.worksheet ? e.worksheet : kOtherWorksheet);
            const int marker = yes ? e.markerYes : e.markerNo;
            EXPECT_EQ(GetFieldVal(tag::kProgressMarker), marker);
        }
    }
    EXPECT_TRUE(dialogs.messages.empty()) << "nothing to remove, nothing to ask";
}

TEST_F(QuestionFlowTest, TheTableHoldsExactlyThePath) {
    std::vector<int> table, path;
    for (const QuestionRow& row : QuestionTable())
        table.push_back(row.screen);
    for (const Expected& e : kPath)
        path.push_back(e.screen);
    EXPECT_EQ(table, path);
}

TEST_F(QuestionFlowTest, TheMarkerIsNeverLowered) {
    SetFieldVal(tag::kProgressMarker, 7);
    start(2006);
    press(frame->YesButton());
    EXPECT_EQ(GetFieldVal(tag::kProgressMarker), 7);
    start(2096);
    press(frame->NoButton());
    EXPECT_EQ(GetFieldVal(tag::kProgressMarker), 13);
}

TEST_F(QuestionFlowTest, TheFirstSharesQuestionMakesTheMarkerANumber) {
    SetFieldStr(tag::kProgressMarker, "x");
    start(2006);
    EXPECT_TRUE(IsNumberType(GetFieldType(tag::kProgressMarker)));
    press(frame->NoButton());
    EXPECT_EQ(GetFieldVal(tag::kProgressMarker), 1);
}

TEST_F(QuestionFlowTest, NoRemovesTheClassDataOnlyAfterConfirmation) {
    for (const auto& [screen, tags] : kRemoved) {
        SCOPED_TRACE(screen);
        const Expected* e = nullptr;
        for (const Expected& x : kPath)
            if (x.screen == screen) e = &x;
        ASSERT_NE(e, nullptr);
        for (bool confirm : {false, true}) {
            SCOPED_TRACE(confirm ? "confirmed" : "kept");
            ClearStore();
            dialogs.messages.clear();
            // Only the first tag holds data: the others count as empty.
            PutRow(tags.front());
            ASSERT_FALSE(FieldIsEmpty(tags.front()));
            for (std::size_t i = 1; i < tags.size(); ++i)
                PutRow(tags[i]);
            dialogs.queueAnswer(confirm ? mrYes : mrNo);
            start(screen);
            press(frame->NoButton());
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].caption, "Warning");
            EXPECT_NE(dialogs.messages[0].text.find("Data exists for this item"),
                      std::string::npos);
            for (int tag : tags)
                EXPECT_EQ(FieldIsEmpty(tag), confirm) << tag;
            // The route does not depend on the answer.
            EXPECT_EQ(shown(), e->no);
        }
    }
}

TEST_F(QuestionFlowTest, NoWithoutDataAsksNothingAndYesNeverRemoves) {
    PutRow(1202);
    start(2007);
    press(frame->YesButton());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(FieldIsEmpty(1202));
    PutRow(1202);
    start(2018); // the trust tags are empty
    press(frame->NoButton());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(FieldIsEmpty(1202));
}

TEST_F(QuestionFlowTest, AnotherEventScreensClearReopenRowAndOthersKeepIt) {
    for (const Expected& e : kPath) {
        SCOPED_TRACE(e.screen);
        frame->ReopenRow = true;
        frame->ReopenRowKey = 3;
        start(e.screen);
        const bool anotherEvent = e.prevHidden && e.yes != 0;
        EXPECT_EQ(frame->ReopenRow, !anotherEvent);
    }
}

TEST_F(QuestionFlowTest, Index99BecomesTheManualCalculationTable) {
    for (int screen : {2096, 2098}) {
        start(screen);
        press(frame->NoButton());
        EXPECT_EQ(shown(), 2101);
        EXPECT_EQ(cgt::Run().CurrentSection, 21);
        EXPECT_EQ(cgt::Run().CurrentIndex, 1);
    }
}

TEST_F(QuestionFlowTest, AnsweringNoEverywhereWalksEveryAssetClass) {
    start(2004);
    for (int i = 0; i < 40 && cgt::Run().InScreen; ++i)
        press(frame->YesButton()->isVisible() ? frame->NoButton() : frame->NextButton());
    const std::vector<std::int32_t> walked(cgt::Run().ScreenHistory);
    const std::vector<std::int32_t> assetClasses{2004, 2005, 2088, 2006, 2018, 2031,
                                                 2042, 2052, 2062, 2072, 2096};
    ASSERT_GE(walked.size(), assetClasses.size());
    EXPECT_EQ(std::vector<std::int32_t>(walked.begin(), walked.begin() + 11), assetClasses);
    // The manual calculation table is the first stop after 2096, then the choices, the
    // concessions and the schedule; Next on the schedule ends the interview.
    EXPECT_EQ(std::vector<std::int32_t>(walked.begin() + 11, walked.end()),
              (std::vector<std::int32_t>{2101, 2102, 2103, 2104, 2105, 2106, 2107}));
    EXPECT_EQ(frame->FailedScreen(), 2201);
    EXPECT_FALSE(cgt::Run().InScreen);
    // Nothing to report: the net capital gain is nil, the table had no sources.
    EXPECT_EQ(GetFieldVal(tag::kNetCapitalGain), 0);
    EXPECT_TRUE(FieldChecked(tag::kNoGainsReported));
}

TEST_F(QuestionFlowTest, TheSharesQuestionShowsTheIncomeYear) {
    start(2006);
    EXPECT_TRUE(
        question()->QuestionLabel()->plainText().contains(QRegularExpression("2003-\\s*2004")))
        << question()->QuestionLabel()->plainText().toStdString();
}

TEST_F(QuestionFlowTest, UnappliedLossesLeftAtZeroAreEmptied) {
    start(2005);
    auto edits = frame->CurrentScreenWidget()->findChildren<TTaxEdit*>();
    ASSERT_EQ(edits.size(), 2);
    std::map<int, TTaxEdit*> byTag;
    for (TTaxEdit* edit : edits)
        byTag[edit->property("fieldTag").toInt()] = edit;
    ASSERT_TRUE(byTag.count(tag::kUnappliedCollectableLosses) &&
                byTag.count(tag::kUnappliedOtherLosses));
    byTag[tag::kUnappliedCollectableLosses]->SetTextValue("0");
    byTag[tag::kUnappliedOtherLosses]->SetTextValue("1500");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2088);
    EXPECT_EQ(GetFieldVal(tag::kUnappliedCollectableLosses), 0);
    EXPECT_TRUE(FieldIsEmpty(tag::kUnappliedCollectableLosses));
    EXPECT_EQ(GetFieldVal(tag::kUnappliedOtherLosses), 1500);
}

// A topic number names one topic: a second topic of the same number could never be opened.
TEST(QuestionHelpLinks, EveryTopicNumberIsUsedOnce) {
    InitHelpResources();
    QFile file(QStringLiteral(":/help/module_help.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::set<QString> numbers;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith('@')) {
            const QString number = QString::fromLatin1(line.mid(1).split(' ').front());
            EXPECT_TRUE(numbers.insert(number).second) << "topic " << number.toStdString();
        }
    EXPECT_FALSE(numbers.empty());
}

// Every help link of the question texts and their notes opens a topic of the module's help file
// as the module reads it, and so do the topics the registration and concession screens link to.
TEST(QuestionHelpLinks, EveryLinkOpensATopic) {
    InitHelpResources();
    QFile file(QStringLiteral(":/help/module_help.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const HelpFileContents help = HelpFileContents::Parse(file.readAll().toStdString());
    auto expectTopic = [&](int context) {
        const HelpTopic* topic = help.find(context);
        ASSERT_NE(topic, nullptr) << "no help topic " << context;
        EXPECT_FALSE(topic->text.empty()) << context;
    };

    const QRegularExpression jump(QStringLiteral("[<;]J(\\d+)"));
    std::set<int> linked;
    for (const QuestionRow& row : QuestionTable()) {
        for (const auto* lines : {&row.question, &row.notes}) {
            for (const char* line : *lines) {
                auto it = jump.globalMatch(QString::fromUtf8(line));
                while (it.hasNext()) {
                    const int context = it.next().captured(1).toInt();
                    SCOPED_TRACE(row.screen);
                    expectTopic(context);
                    linked.insert(context);
                }
            }
        }
    }
    // The links of the questions and of the important note at least.
    for (int context : {7, 33, 107, 141, 204, 231, 234, 345, 350})
        EXPECT_TRUE(linked.count(context)) << "no link to " << context;
    // Examples of the registration screen by asset class, active asset types, roll-overs.
    for (int context : {192, 194, 256, 307, 318, 354, 195, 212, 213}) {
        SCOPED_TRACE("linked from other screens");
        expectTopic(context);
    }
}

} // namespace
} // namespace cgt::test
