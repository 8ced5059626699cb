// The event and proceeds screens (TQCGT_19, and TQCGT_19a for depreciating assets) driven
// through a real interview frame: the type and event lists by worksheet, the note beside the
// proceeds, the time question of an event on 21/09/1999, and every check with its message and
// focus.

#include <QCheckBox>

#include "cgt/rules/event_disposal.h"
#include "cgt/screens/events/disposal_screens.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "event_fixture.h"

namespace cgt::test {
namespace {

using namespace tag::event;

constexpr const char* kBeforeCgt =
    "Check your date. You cannot enter a date earlier than 20/09/1985. \r\n"
    "Assets acquired before 20 September 1985 are generally not subject to CGT although\r\n"
    "there is an exception for some shares and trust interests. If your asset falls within\r\n"
    "this exception, you should manually calculate your capital gain or capital loss";
constexpr const char* kBeforeExpense =
    "The date asset disposed of cannot be earlier than date an expense was incurred.";
constexpr const char* kNoDate = "You must enter the date of the CGT event.";
constexpr const char* kBeforeAcquisition =
    "Check dates. A CGT event cannot occur prior to acquisition.";
constexpr const char* kBeforeCostBaseDate =
    "Check dates. You cannot have a CGT event date prior to cost base effective date.";
constexpr const char* kNoProceeds = "You must enter the proceeds for this event.\rIf gain or loss "
                                    "is being deferred you can enter 0";
constexpr const char* kNoTime = "If CGT event date was 21/09/1999, you must answer Yes or No.";

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}
QStringList Items(const std::vector<const char*>& items) {
    QStringList list;
    for (const char* item : items)
        list << QString::fromLatin1(item);
    return list;
}

class DisposalScreenTest : public EventScreenTest {
protected:
    TQCGT_19* eventScreen() const { return dynamic_cast<TQCGT_19*>(screen()); }
    // One cost element of the row, incurred on `date`.
    static void Element(const char* date) {
        SetFieldLst(kCostElements,
                    std::make_shared<StringList>(StringList{"1 - Purchase/Acquisition cost", date,
                                                            "", "", "100.00", "", "", ""}));
    }
};

TEST_F(DisposalScreenTest, EachWorksheetListsItsTypesAndEventsAndItsNote) {
    const struct Case {
        int screen;
        int worksheet;
        const char* type;
        int next;
    } cases[] = {
        {2013, wkShares, "SA", 2014},     {2026, wkTrustInterests, "OA", 2027},
        {2038, wkRealEstate, "RN", 2039}, {2058, wkPersonalUse, "P", 2059},
        {2068, wkOtherAssets, "G", 2069}, {2013, wkCeasingResidency, "RA", 2014},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen << " " << c.worksheet);
        freshRun();
        registered(c.worksheet, {"Asset", c.type, "01/07/1995"}, 1,
                   [] { SetFieldStr(kEventCode, "K4"); });
        start(c.screen);
        TQCGT_19* s = eventScreen();
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(Items(s->TypeTextComboBox()), Items(EventAssetTypes(c.worksheet)));
        EXPECT_FALSE(s->TypeTextComboBox()->isEnabled());
        EXPECT_EQ(s->TypeTextComboBox()->Code(), QString::fromLatin1(c.type))
            << "the registered type is shown";
        EXPECT_EQ(Items(s->CGTEventTextComboBox()), Items(EventCodes(c.worksheet)));
        EXPECT_FALSE(s->CGTEventTextComboBox()->isVisible());
        const bool ceasing = c.worksheet == wkCeasingResidency;
        EXPECT_EQ(s->NoteLabel()->CurrentSection(), ceasing ? 2 : 1);
        EXPECT_EQ(s->NoteLabel()->plainText().contains(QStringLiteral("market value substitution")),
                  !ceasing);
        EXPECT_FALSE(s->VIAssetTypeEdit()->isVisible());

        press(frame->NextButton());
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
        EXPECT_EQ(shown(), c.next);
        // A stored event code stays when its worksheet offers it, and goes when not; the type
        // is the registration's.
        EXPECT_EQ(RowText(c.worksheet, 1, kEventCode), ceasing ? "" : "K4");
        EXPECT_EQ(RowText(c.worksheet, 1, kAssetType), c.type);
    }
}

TEST_F(DisposalScreenTest, TheEventListChoosesByTypedLetters) {
    registered(wkShares, {});
    start(2013);
    TTypeAheadComboBox* events = eventScreen()->CGTEventTextComboBox();
    QTest::keyClicks(events, "g3");
    EXPECT_EQ(events->Code(), QStringLiteral("G3"));
    QTest::keyClick(events, Qt::Key_Backspace);
    EXPECT_FALSE(events->HasChoice());
}

TEST_F(DisposalScreenTest, ChecksShowTheirMessageAndFocusTheirField) {
    const struct Case {
        const char* note;
        const char* date;
        const char* proceeds;
        const char* element;      // date incurred of a cost element; "" none
        const char* acquired;     // tag 726
        const char* costBaseDate; // tag 729
        const char* message;      // nullptr: the screen is left
        const char* focus;
    } cases[] = {
        {"nothing entered", "", "", "", "", "", nullptr, nullptr},
        {"before CGT", "19/09/1985", "100", "", "", "", kBeforeCgt, "DateofCGTEventEdit"},
        {"the first day of CGT", "20/09/1985", "100", "", "", "", nullptr, nullptr},
        {"before an expense", "28/02/2004", "100", "01/03/2004", "", "", kBeforeExpense,
         "DateofCGTEventEdit"},
        {"proceeds without a date", "", "5000", "", "", "", kNoDate, "DateofCGTEventEdit"},
        {"proceeds of 0 without a date", "", "0", "", "", "", kNoDate, "DateofCGTEventEdit"},
        {"before acquisition", "01/07/2003", "100", "", "02/07/2003", "", kBeforeAcquisition,
         "DateofCGTEventEdit"},
        {"before the cost base date", "01/07/2003", "100", "", "", "02/07/2003",
         kBeforeCostBaseDate, "DateofCGTEventEdit"},
        {"a date without proceeds", "01/07/2003", "", "", "", "", kNoProceeds,
         "CapitalProceedsEdit"},
        {"proceeds entered as 0", "01/07/2003", "0", "", "", "", nullptr, nullptr},
        {"21/09/1999 without its time", "21/09/1999", "100", "", "", "", kNoTime,
         "PreLegalYesCheckBox"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        freshRun();
        registered(wkRealEstate, {"Beach house", "RN", c.acquired}, 1, [&c] {
            if (*c.element) Element(c.element);
            SetFieldStr(kCostBaseDate, c.costBaseDate);
        });
        start(2038);
        enter("DateofCGTEventEdit", c.date);
        enter("CapitalProceedsEdit", c.proceeds);
        press(frame->NextButton());
        if (!c.message) {
            EXPECT_EQ(takeMessage(), "");
            EXPECT_EQ(shown(), 2039);
            continue;
        }
        EXPECT_EQ(takeMessage(), c.message);
        EXPECT_EQ(shown(), 2038);
        EXPECT_EQ(focused().toStdString(), c.focus);
    }
}

TEST_F(DisposalScreenTest, TheTimeOfAnEventOn21September1999IsAskedOnlyThen) {
    registered(wkShares, {});
    start(2013);
    QCheckBox* after = field<QCheckBox>("PreLegalYesCheckBox");
    QCheckBox* before = field<QCheckBox>("PreLegalNoCheckBox");
    EXPECT_FALSE(after->isVisible());
    EXPECT_FALSE(field<TTextLbl>("TimeLabel")->isVisible());

    enter("DateofCGTEventEdit", "21/09/1999");
    ASSERT_TRUE(after->isVisible());
    EXPECT_TRUE(before->isVisible());
    EXPECT_TRUE(field<TTextLbl>("TimeLabel")->plainText().contains(QStringLiteral("11.45am")));
    click("PreLegalYesCheckBox");
    click("PreLegalNoCheckBox");
    EXPECT_FALSE(after->isChecked()) << "the answers exclude each other";

    // Another date hides the question and drops its answer.
    enter("DateofCGTEventEdit", "22/09/1999");
    EXPECT_FALSE(before->isVisible());
    EXPECT_FALSE(before->isChecked());
    enter("DateofCGTEventEdit", "21/09/1999");
    click("PreLegalNoCheckBox");
    enter("CapitalProceedsEdit", "1000");
    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    EXPECT_EQ(shown(), 2014);
    EXPECT_EQ(RowText(wkShares, 1, kEventBeforeCutOff), "X");
    EXPECT_EQ(RowText(wkShares, 1, kEventAfterCutOff), "");

    // Shown again with its stored date, the question stands with its answer.
    frame->ReopenRow = true;
    press(frame->PrevButton());
    ASSERT_EQ(shown(), 2013);
    EXPECT_TRUE(field<QCheckBox>("PreLegalNoCheckBox")->isVisible());
    EXPECT_TRUE(field<QCheckBox>("PreLegalNoCheckBox")->isChecked());
}

TEST_F(DisposalScreenTest, DepreciatingAssetChecksShowTheirMessageAndFocusTheirField) {
    constexpr const char* kMissing = "You must enter amounts in \"Cost\", \"Termination value\" "
                                     "and \"Date of CGT event\" before moving on.";
    constexpr const char* kUseMissing = "You must fill in either \"Taxable use percentage\" or "
                                        "both \"Sum of reductions\" and \"Total decline\" before "
                                        "moving on.";
    constexpr const char* kBoth =
        "Only one of taxable use percentage or sum of reductions and total decline can be present.";
    constexpr const char* kPair = "Both sum of reductions and total decline amount are required.";
    constexpr const char* kDecline =
        "Total decline amount must be greater than or equal to the sum of reductions amount.";
    const struct Case {
        const char* note;
        const char* cost;
        const char* termination;
        const char* date;
        const char* use;
        const char* reductions;
        const char* decline;
        const char* message;
        const char* focus;
        const char* element = ""; // date incurred of a cost element
        const char* costBaseDate = "";
    } cases[] = {
        {"an empty screen", "", "", "", "", "", "", nullptr, nullptr},
        {"with a taxable use", "1000", "400", "01/07/2003", "40", "", "", nullptr, nullptr},
        {"no termination value", "1000", "", "01/07/2003", "40", "", "", kMissing,
         "CapitalProceedsEdit"},
        {"no cost", "", "400", "01/07/2003", "40", "", "", kMissing, "AssetCost"},
        {"no date", "1000", "400", "", "40", "", "", kMissing, "DateofCGTEventEdit"},
        {"no use", "1000", "400", "01/07/2003", "", "", "", kUseMissing, "LVPFractionEdt"},
        {"before an expense", "1000", "400", "28/02/2004", "40", "", "", kBeforeExpense,
         "DateofCGTEventEdit", "01/03/2004"},
        {"taxable use and reductions", "1000", "400", "01/07/2003", "40", "100", "", kBoth,
         "LVPFractionEdt"},
        {"reductions alone", "1000", "400", "01/07/2003", "", "100", "", kPair, "SumofRednEdt"},
        {"decline below reductions", "1000", "400", "01/07/2003", "", "300", "200", kDecline,
         "TotDeclEdt"},
        {"decline equal to reductions", "1000", "400", "01/07/2003", "", "300", "300", nullptr,
         nullptr},
        {"before acquisition", "1000", "400", "30/06/2000", "40", "", "", kBeforeAcquisition,
         "DateofCGTEventEdit"},
        {"before the cost base date", "1000", "400", "01/07/2003", "40", "", "",
         kBeforeCostBaseDate, "DateofCGTEventEdit", "", "02/07/2003"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        freshRun();
        registered(wkDepreciating, {"Laptop", "ON", "01/07/2000"}, 1, [&c] {
            if (*c.element) Element(c.element);
            SetFieldStr(kCostBaseDate, c.costBaseDate);
        });
        start(2046);
        ASSERT_NE(dynamic_cast<TQCGT_19a*>(screen()), nullptr);
        enter("AssetCost", c.cost);
        enter("CapitalProceedsEdit", c.termination);
        enter("DateofCGTEventEdit", c.date);
        enter("LVPFractionEdt", c.use);
        enter("SumofRednEdt", c.reductions);
        enter("TotDeclEdt", c.decline);
        press(frame->NextButton());
        if (!c.message) {
            EXPECT_EQ(takeMessage(), "");
            EXPECT_EQ(shown(), 2047);
            continue;
        }
        EXPECT_EQ(takeMessage(), c.message);
        EXPECT_EQ(shown(), 2046);
        EXPECT_EQ(focused().toStdString(), c.focus);
    }
}

TEST_F(DisposalScreenTest, DepreciatingAssetShowsItsTwoTypes) {
    registered(wkDepreciating, {"Laptop", "P", "01/07/2000"});
    start(2046);
    auto* s = dynamic_cast<TQCGT_19a*>(screen());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Items(s->TypeTextComboBox()),
              (QStringList{"P - Personal use asset",
                           "ON - Non-active asset - Other asset or CGT event"}));
    EXPECT_EQ(s->TypeTextComboBox()->currentIndex(), 0);
    EXPECT_TRUE(field<TTextLbl>("BodyLabel")->plainText().contains(QStringLiteral("CGT event")));
}

TEST_F(DisposalScreenTest, AReaderHearsTheTypeInAFieldThatTakesTheFocus) {
    cgt::Run().AccessibilityMode = true;
    registered(wkShares, {"BHP shares", "SA", "01/07/1995"});
    start(2013);
    TTaxEdit* copy = eventScreen()->VIAssetTypeEdit();
    ASSERT_TRUE(copy->isVisible());
    EXPECT_TRUE(copy->isReadOnly());
    EXPECT_EQ(copy->text(), QStringLiteral("SA - Active asset - Shares"));
}

} // namespace
} // namespace cgt::test
