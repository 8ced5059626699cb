// The cost base screen (TQCGT_11) driven through a real interview frame: when the indexed cost
// base opens, the deceased-estate and 11.45am questions that follow the roll-over date, the
// deceased-estate answer stored at once, every check with its message and focus, and the
// indexation-election line that has no answer.

#include <QCheckBox>

#include "cgt/screens/events/cost_base_screen.h"
#include "controls/text_label.h"
#include "controls/yes_no_pair.h"
#include "event_fixture.h"
#include "interview/value_binder.h"

namespace cgt::test {
namespace {

using namespace tag::event;

class CostBaseScreenTest : public EventScreenTest {
protected:
    TQCGT_11* show(
        const Registered& event = {}, void (*more)() = [] {}) {
        registered(wkShares, event, 1, more);
        start(2010);
        EXPECT_EQ(shown(), 2010);
        return dynamic_cast<TQCGT_11*>(screen());
    }
    bool indexedOpen() { return field<TTaxEdit>("AssetIndCostBaseEdit")->isEnabled(); }
    bool enabled(const char* box) { return field<QCheckBox>(box)->isEnabled(); }
    bool checked(const char* box) { return field<QCheckBox>(box)->isChecked(); }
};

TEST_F(CostBaseScreenTest, TheIndexedCostBaseOpensWhenTheDatesAllowIndexation) {
    const struct Case {
        const char* acquired;
        bool allowed; // tag 728, read from the row
        const char* rolledOver;
        bool open;
    } cases[] = {
        {"20/09/1999", false, "", true},
        {"22/09/1999", false, "", false},
        {"22/09/1999", true, "", true},
        {"01/07/2000", false, "01/01/1999", true},
        {"01/07/2000", false, "21/09/1999", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.acquired) + " " + c.rolledOver);
        freshRun();
        static const Case* current;
        current = &c;
        show({"BHP shares", "SN", c.acquired}, [] {
            if (current->allowed) SetFieldChecked(kIndexedCostBaseAllowed);
            SetFieldStr(kRolledOverAcquisitionDate, current->rolledOver);
        });
        EXPECT_EQ(indexedOpen(), c.open);
    }
    // Tag 728 is only read: no field of the screen holds it and it is never stored.
    for (QWidget* w : screen()->findChildren<QWidget*>())
        EXPECT_NE(FieldTagOf(w), kIndexedCostBaseAllowed) << w->objectName().toStdString();
    const auto& electionLines = field<TTextLbl>("ElectionLabel")->plainTextLines();
    EXPECT_TRUE(electionLines.join(' ').contains(QStringLiteral("election already been made")));
}

TEST_F(CostBaseScreenTest, TheQuestionsFollowTheRollOverDate) {
    show({"BHP shares", "SN", "01/07/2000"});
    for (const char* box :
         {"DeceasedCheckBoxYes", "DeceasedCheckBoxNo", "PreLegalYesCheckBox", "PreLegalNoCheckBox"})
        EXPECT_FALSE(enabled(box)) << box;
    EXPECT_FALSE(indexedOpen());

    // A date after 21/09/1999: the deceased-estate question, still unanswered.
    enter("DateofRolloverEdit", "01/01/2000");
    EXPECT_TRUE(enabled("DeceasedCheckBoxYes"));
    EXPECT_FALSE(checked("DeceasedCheckBoxYes") || checked("DeceasedCheckBoxNo"));
    EXPECT_FALSE(enabled("PreLegalYesCheckBox"));
    EXPECT_FALSE(indexedOpen());

    // 21/09/1999: the time question too; acquired before 11.45am, the asset is indexed.
    enter("DateofRolloverEdit", "21/09/1999");
    EXPECT_TRUE(enabled("PreLegalYesCheckBox"));
    EXPECT_FALSE(indexedOpen());
    click("PreLegalYesCheckBox");
    click("PreLegalNoCheckBox");
    EXPECT_FALSE(checked("PreLegalYesCheckBox"));
    EXPECT_TRUE(indexedOpen());

    // Without a date neither question is asked, and their answers go.
    click("DeceasedCheckBoxYes");
    enter("DateofRolloverEdit", "");
    for (const char* box : {"DeceasedCheckBoxYes", "PreLegalNoCheckBox"}) {
        EXPECT_FALSE(enabled(box)) << box;
        EXPECT_FALSE(checked(box)) << box;
    }
    EXPECT_TRUE(indexedOpen()) << "once open, the field stays open";

    // A date before 21/09/1999 opens the indexed cost base when it is left.
    freshRun();
    show({"BHP shares", "SN", "01/07/2000"});
    enter("DateofRolloverEdit", "20/09/1999");
    EXPECT_TRUE(indexedOpen());
}

TEST_F(CostBaseScreenTest, TheDeceasedEstateAnswerIsANumberStoredAtOnce) {
    show();
    EXPECT_EQ(GetFieldType(kDeceasedEstate), dtNumeric);
    EXPECT_EQ(GetFieldText(kDeceasedEstate), "2") << "No unless answered";

    freshRun();
    show({}, [] {
        SetFieldStr(kRolledOverAcquisitionDate, "01/01/1990");
        SetFieldVal(kDeceasedEstate, 1);
    });
    EXPECT_TRUE(checked("DeceasedCheckBoxYes"));
    EXPECT_FALSE(checked("DeceasedCheckBoxNo"));
    click("DeceasedCheckBoxNo");
    EXPECT_FALSE(checked("DeceasedCheckBoxYes"));
    EXPECT_EQ(GetFieldText(kDeceasedEstate), "2");
    click("DeceasedCheckBoxYes");
    EXPECT_EQ(GetFieldText(kDeceasedEstate), "1");
}

TEST_F(CostBaseScreenTest, ChecksShowTheirMessageAndFocusTheirField) {
    constexpr const char* kNoCostBase =
        "You must enter the cost base of the asset at the time of roll-over.";
    constexpr const char* kZeroDiscount = "You cannot enter a value of zero. If you do not wish to "
                                          "use the discount method then leave blank.";
    constexpr const char* kZeroIndexed =
        "You cannot enter a value of zero. If you do not wish to use indexation then leave blank.";
    constexpr const char* kNoTime =
        "If acquisition date was 21/09/1999, you must answer Yes or No.";
    constexpr const char* kNoDeceased =
        "If acquisition date is present, you must advise if asset was inherited.";
    constexpr const char* kBeforeCgt =
        "Check your date. You cannot enter a date earlier than 20/09/1985. \r\nAssets acquired "
        "before 20 September 1985 are generally not subject to CGT although there\r\nis an "
        "exception for some shares and trust interests.  If your asset falls within this "
        "exception,\r\nyou should manually calculate your capital gain or capital loss";
    constexpr const char* kNoReduced =
        "You must enter the reduced cost base of the asset at the time of roll-over.";
    constexpr const char* kRolledOverLater =
        "Check dates. The date of acquisition of the asset that was rolled over\rcannot be later "
        "than the date you acquired the current asset.";
    constexpr const char* kIndexedAfter = "Cannot have a Indexed cost base if the date original "
                                          "asset acquired was after 21/09/1999.";
    constexpr const char* kNoDate =
        "You must enter the effective date of the cost base and reduced cost base.";
    constexpr const char* kDateBeforeAcquisition =
        "The effective date of the cost base cannot be earlier than the date of acquisition.";

    const struct Case {
        const char* note;
        const char* acquired;
        const char* type;
        const char* rolledOver;
        const char* answers; // boxes clicked: d deceased No, D deceased Yes, y/n 11.45am
        const char* indexed;
        const char* nonIndexed;
        const char* reduced;
        const char* costBaseDate;
        const char* message; // nullptr: the screen is left
        const char* focus;
    } cases[] = {
        {"nothing entered", "01/07/2000", "SN", "", "", "", "", "", "", nullptr, nullptr},
        {"roll-over without a cost base", "01/07/2000", "SN", "01/01/1990", "d", "", "", "", "",
         kNoCostBase, "AssetIndCostBaseEdit"},
        {"roll-over without a cost base, not indexed", "01/07/2000", "SN", "01/01/2000", "d", "",
         "", "", "", kNoCostBase, "AssetDisCostBaseEdit"},
        {"discount cost base of 0", "01/07/1995", "SN", "", "", "5000", "0", "", "01/07/1995",
         kZeroDiscount, "AssetDisCostBaseEdit"},
        {"indexed cost base of 0", "01/07/1995", "SN", "", "", "0", "5000", "", "01/07/1995",
         kZeroIndexed, "AssetIndCostBaseEdit"},
        {"both entered as 0", "01/07/1995", "SN", "", "", "0", "0", "", "01/07/1995", nullptr,
         nullptr},
        {"21/09/1999 without the time", "01/07/2000", "SN", "21/09/1999", "d", "", "5000", "4000",
         "01/07/2000", kNoTime, "PreLegalYesCheckBox"},
        {"not told whether inherited", "01/07/2000", "SN", "01/01/1990", "", "", "5000", "4000",
         "01/07/2000", kNoDeceased, "DeceasedCheckBoxNo"},
        {"rolled over before CGT", "01/07/2000", "SN", "19/09/1985", "D", "", "5000", "4000",
         "01/07/2000", kBeforeCgt, "DateofRolloverEdit"},
        {"no reduced cost base", "01/07/2000", "SN", "01/01/1990", "d", "", "5000", "",
         "01/07/2000", kNoReduced, "AssetRedCostBaseEdit"},
        {"a personal use asset has none", "01/07/2000", "P", "01/01/1990", "d", "", "5000", "",
         "01/07/2000", nullptr, nullptr},
        {"rolled over after this asset was acquired", "01/07/1995", "SN", "01/01/1996", "d", "",
         "5000", "4000", "01/07/1995", kRolledOverLater, "DateofRolloverEdit"},
        // No opens the indexed cost base, which stays open when the answer changes to Yes.
        {"indexed after 11.45am", "01/07/2000", "SN", "21/09/1999", "dny", "5000", "5000", "4000",
         "01/07/2000", kIndexedAfter, "AssetIndCostBaseEdit"},
        {"indexed before 11.45am", "01/07/2000", "SN", "21/09/1999", "dn", "5000", "5000", "4000",
         "01/07/2000", nullptr, nullptr},
        {"a cost base without its date", "01/07/2000", "SN", "", "", "", "5000", "", "", kNoDate,
         "EffectiveDateEdit"},
        {"dated before acquisition", "01/07/2000", "SN", "", "", "", "5000", "", "30/06/2000",
         kDateBeforeAcquisition, "EffectiveDateEdit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        freshRun();
        show({"BHP shares", c.type, c.acquired});
        enter("EffectiveDateEdit", c.costBaseDate);
        enter("DateofRolloverEdit", c.rolledOver);
        for (const char* a = c.answers; *a; ++a) {
            if (*a == 'd') click("DeceasedCheckBoxNo");
            if (*a == 'D') click("DeceasedCheckBoxYes");
            if (*a == 'y') click("PreLegalYesCheckBox");
            if (*a == 'n') click("PreLegalNoCheckBox");
        }
        if (*c.indexed) {
            ASSERT_TRUE(indexedOpen());
            enter("AssetIndCostBaseEdit", c.indexed);
        }
        enter("AssetDisCostBaseEdit", c.nonIndexed);
        enter("AssetRedCostBaseEdit", c.reduced);
        press(frame->NextButton());
        if (!c.message) {
            EXPECT_EQ(takeMessage(), "");
            EXPECT_EQ(shown(), 2011);
            continue;
        }
        EXPECT_EQ(takeMessage(), c.message);
        EXPECT_EQ(shown(), 2010);
        EXPECT_EQ(focused().toStdString(), c.focus);
    }
}

// Opened where no event was registered (the answer the screen writes itself is no entry),
// and left with nothing typed: no row is made.
TEST_F(CostBaseScreenTest, NothingEnteredOnARowThatDidNotExistMakesNoRow) {
    frame->WorksheetKind = wkShares;
    start(2010);
    ASSERT_EQ(shown(), 2010);
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2011);
    frame->FinishWorksheet();
    EXPECT_FALSE(WorksheetHasRows(wkShares));
}

TEST_F(CostBaseScreenTest, LeftEmptyTheEventsRowIsKept) {
    show({"BHP shares", "SN", "01/07/1995"});
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2011);
    EXPECT_EQ(RowText(wkShares, 1, kName), "BHP shares");
    EXPECT_EQ(RowText(wkShares, 1, kAssetType), "SN");
}

} // namespace
} // namespace cgt::test
