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

// Where Next leads from a screen without Yes and No, as the engine reads the table.
int NextOf(const ScreenRow& row) {
    InstallInterviewScreens();
    const ScreenSpec* spec = FindScreenSpec(row.screen);
    return spec ? spec->next : 0;
}

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
    for (const ScreenRow& e : QuestionTable()) {
        SCOPED_TRACE(e.screen);
        start(e.screen);
        ASSERT_EQ(shown(), e.screen);
        TQuestionScreen* q = question();
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(q->objectName(),
                  QString::fromLatin1(e.className.data(), qsizetype(e.className.size())));
        EXPECT_EQ(q->Row().screen, e.screen);
        const bool isQuestion = e.isQuestion();
        EXPECT_EQ(frame->YesButton()->isVisible(), isQuestion);
        EXPECT_EQ(frame->NoButton()->isVisible(), isQuestion);
        EXPECT_EQ(frame->NextButton()->isVisible(), !isQuestion);
        EXPECT_EQ(frame->PrevButton()->isVisible(), !e.hidePrev);
        EXPECT_TRUE(frame->Navigator()->isVisible());
        EXPECT_FALSE(q->QuestionLabel()->plainText().isEmpty());
    }
}

TEST_F(QuestionFlowTest, YesNoAndNextLeadWhereTheTableSays) {
    for (const ScreenRow& e : QuestionTable()) {
        SCOPED_TRACE(e.screen);
        if (!e.isQuestion()) {
            start(e.screen);
            press(frame->NextButton());
            EXPECT_EQ(shown(), NextOf(e));
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
    for (const ScreenRow& row : QuestionTable()) {
        const int screen = row.screen;
        const std::vector<int>& tags = row.removeOnNo;
        if (tags.empty()) continue;
        SCOPED_TRACE(screen);
        const ScreenRow* e = &row;
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
    for (const ScreenRow& e : QuestionTable()) {
        SCOPED_TRACE(e.screen);
        frame->ReopenRow = true;
        frame->ReopenRowKey = 3;
        start(e.screen);
        EXPECT_EQ(frame->ReopenRow, !e.clearReopenRow);
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

// Answering No to every question skips every class's events: the walk goes from each asset
// class's question to the next one's, then through the tables, the choices, the concessions
// and the schedule, and Next on the schedule ends the interview.
TEST_F(QuestionFlowTest, AnsweringNoEverywhereWalksEveryAssetClass) {
    InstallInterviewScreens();
    std::vector<std::int32_t> expected;
    int screen = ScreenTable().front().screen;
    for (const ScreenSpec* spec = FindScreenSpec(screen); spec; spec = FindScreenSpec(screen)) {
        expected.push_back(screen);
        const QuestionRow* row = FindQuestionRowByScreen(screen);
        screen = row && row->isQuestion() ? row->no : spec->next;
    }
    start(ScreenTable().front().screen);
    for (int i = 0; i < 100 && cgt::Run().InScreen; ++i)
        press(frame->YesButton()->isVisible() ? frame->NoButton() : frame->NextButton());
    EXPECT_EQ(std::vector<std::int32_t>(cgt::Run().ScreenHistory), expected);
    EXPECT_EQ(frame->FailedScreen(), screen);
    EXPECT_EQ(expected.back(), ScreenTable().back().screen) << "the walk ends on the schedule";
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
