// The roll-over screens (TQCGT_20b for shares and trust interests, TQCGT_20a for real estate,
// TQCGT_20 for the other asset classes) driven through a real interview frame: the exclusive
// Yes/No pairs and which of them are open, the answers shares store at once, the exemption box,
// every check with its message and focus, and where Next leads.

#include <QCheckBox>
#include <QListWidget>

#include "cgt/screens/events/roll_over_screens.h"
#include "controls/text_label.h"
#include "event_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

constexpr const char* kNoRollOver =
    "You must advise if the gain or loss for this event can be deferred";
constexpr const char* kNoYesNo = "You must select either 'Yes' or 'No'.";

// A roll-over screen: its number, worksheet, the screen its gain calculation is, and the
// payments worksheet before it (0: none).
struct RollOverCase {
    int screen;
    int worksheet;
    const char* className;
    int gain;
    int payments;
};
const RollOverCase kScreens[] = {
    {2014, wkShares, "TQCGT_20b", 2016, 2015},  {2027, wkTrustInterests, "TQCGT_20b", 2029, 2028},
    {2039, wkRealEstate, "TQCGT_20a", 2040, 0}, {2049, wkDepreciating, "TQCGT_20", 2050, 0},
    {2059, wkPersonalUse, "TQCGT_20", 2060, 0}, {2069, wkOtherAssets, "TQCGT_20", 2070, 0},
};

class RollOverScreenTest : public EventScreenTest {
protected:
    TRollOverScreen* show(const RollOverCase& c, const Registered& event = {}) {
        registered(c.worksheet, event, 1, [] { SetFieldStr(kEventDate, "01/03/2004"); });
        start(c.screen);
        EXPECT_EQ(shown(), c.screen);
        return dynamic_cast<TRollOverScreen*>(screen());
    }
    bool checked(const char* name) { return field<QCheckBox>(name)->isChecked(); }
    bool enabled(const char* name) { return field<QCheckBox>(name)->isEnabled(); }
};

TEST_F(RollOverScreenTest, EachScreenIsItsClassAndNextTakesItsRoute) {
    for (const RollOverCase& c : kScreens) {
        for (bool payments : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.screen << (payments ? " with payments" : ""));
            freshRun();
            registered(c.worksheet, {}, 1, [payments] {
                if (payments)
                    SetFieldLst(kPayments, std::make_shared<StringList>(StringList{"Capital"}));
            });
            start(c.screen);
            ASSERT_NE(screen(), nullptr);
            EXPECT_EQ(screen()->metaObject()->className(), std::string(c.className));
            EXPECT_FALSE(frame->PickListOpen() && frame->PickListBox()->isVisible())
                << "the pick list stays hidden while an event is completed";
            press(frame->NextButton());
            EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
            EXPECT_EQ(shown(), payments && c.payments ? c.payments : c.gain);
            EXPECT_EQ(RowText(c.worksheet, 1, kName), "BHP shares") << "the row is kept";
        }
    }
}

TEST_F(RollOverScreenTest, ChecksShowTheirMessageAndFocusTheirBox) {
    enum Step { none, yes, no, marriageNo, scripYes };
    const struct Case {
        int screen;
        std::vector<Step> steps;
        const char* message; // nullptr: the screen is left
        const char* focus;
    } cases[] = {
        {2014, {}, kNoRollOver, "Q2YesCheckBox"},
        {2014, {yes}, kNoYesNo, "Q3YesCheckBox"},
        {2014, {yes, marriageNo}, kNoYesNo, "ScripforScripYesCheckBox"},
        {2014, {yes, marriageNo, scripYes}, nullptr, nullptr},
        {2014, {no}, nullptr, nullptr},
        {2039, {}, kNoRollOver, "Q2YesCheckBox"},
        {2039, {yes}, kNoYesNo, "Q3YesCheckBox"},
        {2039, {yes, marriageNo}, nullptr, nullptr},
        {2069, {}, kNoRollOver, "Q2YesCheckBox"},
        {2069, {yes}, kNoYesNo, "Q3YesCheckBox"},
        {2069, {no}, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen << " steps " << c.steps.size());
        freshRun();
        const RollOverCase* kind = nullptr;
        for (const RollOverCase& k : kScreens)
            if (k.screen == c.screen) kind = &k;
        show(*kind);
        for (Step step : c.steps) {
            if (step == yes) click("Q2YesCheckBox");
            if (step == no) click("Q2NoCheckBox");
            if (step == marriageNo) click("Q3NoCheckBox");
            if (step == scripYes) click("ScripforScripYesCheckBox");
        }
        press(frame->NextButton());
        if (!c.message) {
            EXPECT_EQ(takeMessage(), "");
            EXPECT_EQ(shown(), kind->gain);
            continue;
        }
        EXPECT_EQ(takeMessage(), c.message);
        EXPECT_EQ(shown(), c.screen);
        EXPECT_EQ(focused().toStdString(), c.focus);
    }
}

TEST_F(RollOverScreenTest, AnEventWithoutADateNeedsNoAnswer) {
    registered(wkRealEstate, {"Beach house", "RN", "01/07/1995"});
    start(2039);
    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(shown(), 2040);
}

TEST_F(RollOverScreenTest, MarriageBreakdownAndScripForScripExcludeEachOther) {
    show(kScreens[0]);
    // Open only after Yes to the roll-over.
    EXPECT_FALSE(enabled("Q3YesCheckBox"));
    EXPECT_FALSE(enabled("ScripforScripYesCheckBox"));
    click("Q2YesCheckBox");
    EXPECT_TRUE(enabled("Q3YesCheckBox"));
    EXPECT_TRUE(enabled("ScripforScripNoCheckBox"));

    click("Q3YesCheckBox");
    EXPECT_TRUE(checked("ScripforScripNoCheckBox"));
    EXPECT_FALSE(checked("ScripforScripYesCheckBox"));
    click("ScripforScripYesCheckBox");
    EXPECT_FALSE(checked("Q3YesCheckBox"));
    EXPECT_TRUE(checked("Q3NoCheckBox"));
    EXPECT_FALSE(checked("ScripforScripNoCheckBox"));

    // No to the roll-over clears and closes both questions.
    click("Q2NoCheckBox");
    EXPECT_FALSE(checked("Q2YesCheckBox"));
    for (const char* name :
         {"Q3YesCheckBox", "Q3NoCheckBox", "ScripforScripYesCheckBox", "ScripforScripNoCheckBox"}) {
        EXPECT_FALSE(checked(name)) << name;
        EXPECT_FALSE(enabled(name)) << name;
    }
}

TEST_F(RollOverScreenTest, SharesStoreTheirAnswersAtOnceOthersWhenLeft) {
    show(kScreens[0]);
    click("Q2YesCheckBox");
    EXPECT_TRUE(FieldChecked(kRollOverYes));
    click("Q3NoCheckBox");
    click("ScripforScripNoCheckBox");
    EXPECT_TRUE(FieldChecked(kScripForScripNo));
    click("Q2NoCheckBox");
    EXPECT_TRUE(FieldChecked(kRollOverNo));
    EXPECT_FALSE(FieldChecked(kRollOverYes));
    EXPECT_FALSE(FieldChecked(kScripForScripNo));

    freshRun();
    show(kScreens[2]);
    click("Q2YesCheckBox");
    EXPECT_FALSE(FieldChecked(kRollOverYes));
    click("Q3NoCheckBox");
    press(frame->NextButton());
    EXPECT_EQ(RowText(wkRealEstate, 1, kRollOverYes), "X");
    EXPECT_EQ(RowText(wkRealEstate, 1, kMarriageBreakdownNo), "X");
}

TEST_F(RollOverScreenTest, TheExemptionIsOfferedForActiveAssetsOnly) {
    // A stored claim of a non-active asset is cleared when the screen is shown.
    registered(wkShares, {"BHP shares", "SN", "01/07/1995"}, 1,
               [] { SetFieldChecked(kFifteenYearExemption); });
    start(2014);
    EXPECT_FALSE(checked("Q1CheckBox"));
    EXPECT_FALSE(enabled("Q1CheckBox"));
    click("Q2NoCheckBox");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2016);
    EXPECT_EQ(RowText(wkShares, 1, kFifteenYearExemption), "");

    freshRun();
    show(kScreens[0], {"BHP shares", "SA", "01/07/1995"});
    ASSERT_TRUE(enabled("Q1CheckBox"));
    click("Q1CheckBox");
    EXPECT_TRUE(FieldChecked(kFifteenYearExemption)) << "shares store it at once";
    click("Q2NoCheckBox");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2016);
    EXPECT_EQ(RowText(wkShares, 1, kFifteenYearExemption), "X");
}

TEST_F(RollOverScreenTest, PersonalUseAndDepreciatingAssetsAreAskedTheShortQuestion) {
    for (const RollOverCase& c : {kScreens[3], kScreens[4], kScreens[5]}) {
        SCOPED_TRACE(c.screen);
        freshRun();
        show(c, {"Asset", "OA", "01/07/1995"});
        auto* screen20 = dynamic_cast<TQCGT_20*>(screen());
        ASSERT_NE(screen20, nullptr);
        const bool exemption = c.worksheet == wkOtherAssets;
        EXPECT_EQ(screen20->RollOverQuestion()->CurrentSection(), exemption ? 1 : 2);
        const QString question = screen20->RollOverQuestion()->plainText();
        EXPECT_EQ(question.contains(QStringLiteral("small business replacement asset")), exemption)
            << question.toStdString();
        EXPECT_EQ(field<QCheckBox>("Q1CheckBox")->isVisible(), exemption);
        EXPECT_EQ(field<TTextLbl>("Q1Label")->isVisible(), exemption);
        EXPECT_EQ(field<TTextLbl>("Q1NoteLabel")->isVisible(), exemption);
    }
}

TEST_F(RollOverScreenTest, TheNameLineShowsTheRegisteredAsset) {
    show(kScreens[2], {"Beach house", "RN", "01/07/1995"});
    EXPECT_TRUE(field<TTextLbl>("NameLabel")->plainText().contains("Beach house"));
}

// Every roll-over screen asks the marriage-breakdown question in the same words.
TEST_F(RollOverScreenTest, TheMarriageBreakdownQuestionReadsOnce) {
    for (const RollOverCase& c : {kScreens[0], kScreens[2], kScreens[3]}) {
        SCOPED_TRACE(c.screen);
        freshRun();
        show(c, {"Asset", "SN", "01/07/1995"});
        EXPECT_EQ(field<TTextLbl>("Q3Label")->plainText().simplified().toStdString(),
                  "If 'Yes' is roll-over a result of marriage breakdown ?");
    }
}

} // namespace
} // namespace cgt::test
