// The registration screen of a CGT event: fitted to the worksheet the events question chose,
// its default type, its entry checks with their messages and focus, and where Next leads.

#include <QApplication>
#include <QTest>

#include <string>
#include <vector>

#include "cgt/screens/events/registration_screen.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/type_ahead_combo.h"
#include "store/field_store.h"
#include "support/screen_fixture.h"

namespace cgt::test {
namespace {

constexpr const char* kBeforeCgt =
    "Check your date. You cannot enter a date earlier than 20/09/1985. \r\n"
    "Assets acquired before 20 September 1985 are generally not subject to CGT although\r\n"
    "there is an exception for some shares and trust interests. If your asset falls within\r\n"
    "this exception, you should manually calculate your capital gain or capital loss";

class RegistrationTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    // The registration screen for `worksheet`, as the events question leaves it.
    TQCGT_08* registration(int worksheet, int screen = 2009) {
        frame->WorksheetKind = worksheet;
        start(screen);
        return dynamic_cast<TQCGT_08*>(screen_());
    }
    QWidget* screen_() const { return frame->CurrentScreenWidget(); }
    void enter(TQCGT_08* r, const QString& desc, const QString& code, const QString& date) {
        r->DescEdit()->setText(desc);
        r->TypeTextComboBox()->SelectCode(code);
        r->DateofAcqEdit()->SetTextValue(date);
    }
};

struct KindCase {
    int worksheet;
    const char* typeLine; // contained in the label's plain text
    int topic;
    QStringList types;
    const char* defaultCode; // "" : none
    bool date;
    int acqSection;
    int deprSection; // 0: hidden
};

const KindCase kKinds[] = {
    {451,
     "Registered asset Type: Shares in a company",
     192,
     {"SA - Active asset - Shares", "SN - Non-active asset - Shares"},
     "SN",
     true,
     1,
     0},
    {452,
     "Registered asset Type: Trust interest",
     194,
     {"UA - Active asset - Units in a unit trust", "UN - Non-active asset - Units in a unit trust",
      "OA - Active asset - Other trust", "ON - Non-active asset - Other trust"},
     "UN",
     true,
     1,
     0},
    {453,
     "Registered asset Type: Interest in a trust other than a unit trust",
     194,
     {"OA - Active asset - Other asset or CGT event",
      "ON - Non-active asset - Other asset or CGT event"},
     "ON",
     false,
     1,
     0},
    {454,
     "Registered asset Type: Real estate",
     256,
     {"RA - Active asset - Real estate", "RN - Non-active asset - Real estate"},
     "RN",
     true,
     1,
     0},
    {455,
     "Registered asset Type: Personal use or collectable assets",
     307,
     {"A  - Collectables", "P  - Personal use assets"},
     "",
     true,
     1,
     0},
    {456,
     "not previously mentioned.",
     318,
     {"G  - Goodwill on sale of business", "OA - Active asset - Other asset or CGT event",
      "ON - Non-active asset - Other asset or CGT event"},
     "ON",
     true,
     2,
     0},
    {457,
     "Registered asset Type: Rights you created in another entity",
     318,
     {"OA - Active asset - Other asset or CGT event",
      "ON - Non-active asset - Other asset or CGT event"},
     "ON",
     true,
     1,
     0},
    {458,
     "Registered asset Type: Depreciating Assets",
     354,
     {"P - Personal use asset", "ON - Non-active asset - Other asset or CGT event"},
     "ON",
     true,
     3,
     1},
    {461,
     "Registered asset Type: Ceasing to be an Australian resident",
     318,
     {"UA - Active asset - Units in a unit trust", "UN - Non-active asset - Units in a unit trust",
      "SA - Active asset - Shares", "SN - Non-active asset - Shares",
      "RA - Active asset - Real estate", "RN - Non-active asset - Real estate", "G  - Goodwill",
      "A  - Collectables", "P  - Personal-use assets",
      "OA - Active asset - Other asset or CGT event",
      "ON - Non-active asset - Other asset or CGT event"},
     "ON",
     true,
     2,
     2},
};

TEST_F(RegistrationTest, FitsItselfToTheWorksheet) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.worksheet);
        TQCGT_08* r = registration(k.worksheet);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->Worksheet(), k.worksheet);
        EXPECT_EQ(cgt::Run().CurrentWorksheet, k.worksheet);
        EXPECT_TRUE(r->AssetTypeLabel()->plainText().contains(QString::fromLatin1(k.typeLine)))
            << r->AssetTypeLabel()->plainText().toStdString();
        const QString examples = r->ExamplesLabel()->Text().join(QString());
        EXPECT_TRUE(examples.contains(QStringLiteral("J%1>").arg(k.topic)))
            << examples.toStdString();
        EXPECT_FALSE(examples.contains("DynamicHelpLink", Qt::CaseInsensitive));
        QStringList items;
        for (int i = 0; i < r->TypeTextComboBox()->count(); ++i)
            items << r->TypeTextComboBox()->itemText(i);
        EXPECT_EQ(items, k.types);
        EXPECT_FALSE(r->TypeTextComboBox()->HasChoice());
        EXPECT_EQ(r->DateofAcqEdit()->isVisible(), k.date);
        EXPECT_EQ(r->AcqQuestion()->CurrentSection(), k.acqSection);
        EXPECT_EQ(r->DepreciatingLabel()->isVisible(), k.deprSection != 0);
        if (k.deprSection) {
            EXPECT_EQ(r->DepreciatingLabel()->CurrentSection(), k.deprSection);
            EXPECT_FALSE(r->DepreciatingLabel()->plainText().isEmpty());
        }
        EXPECT_FALSE(r->AcqQuestion()->plainText().isEmpty());
    }
}

TEST_F(RegistrationTest, ADescriptionLeftWithoutTypeTakesTheDefault) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.worksheet);
        TQCGT_08* r = registration(k.worksheet);
        r->DescEdit()->setFocus();
        QTest::keyClicks(r->DescEdit(), "Parcel 1");
        QTest::keyClick(r->DescEdit(), Qt::Key_Tab);
        EXPECT_EQ(r->TypeTextComboBox()->Code(), QString::fromLatin1(k.defaultCode));
    }
    // A chosen type stays.
    TQCGT_08* r = registration(451);
    r->TypeTextComboBox()->SelectCode("SA");
    r->DescEdit()->setFocus();
    QTest::keyClicks(r->DescEdit(), "BHP");
    QTest::keyClick(r->DescEdit(), Qt::Key_Tab);
    EXPECT_EQ(r->TypeTextComboBox()->Code(), "SA");
}

struct CheckCase {
    const char* name;
    int worksheet;
    const char* desc;
    const char* code;
    const char* date;
    const char* message; // nullptr: the screen is left
    const char* focus;   // object name of the field that gets the focus
};

const CheckCase kChecks[] = {
    {"before CGT", 451, "BHP", "SA", "19/09/1985", kBeforeCgt, "DateofAcqEdit"},
    {"first CGT day", 451, "BHP", "SA", "20/09/1985", nullptr, ""},
    {"no type", 455, "Painting", "", "01/07/2000",
     "You must select the Asset/Event type from "
     "the drop down box.",
     "TypeTextComboBox"},
    {"no date", 454, "Farm", "RA", "", "You must enter the acquisition date.", "DateofAcqEdit"},
    {"date not asked", 453, "Family trust", "OA", "", nullptr, ""},
    {"default type fills in", 451, "BHP", "", "01/07/2000", nullptr, ""},
};

TEST_F(RegistrationTest, EntryChecksKeepTheScreenAndFocusTheField) {
    for (const CheckCase& c : kChecks) {
        SCOPED_TRACE(c.name);
        dialogs.messages.clear();
        TQCGT_08* r = registration(c.worksheet);
        enter(r, c.desc, c.code, c.date);
        press(frame->NextButton());
        if (!c.message) {
            EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
            EXPECT_EQ(shown(), 2010);
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(screen_(), r) << "the screen stays";
        EXPECT_EQ(shown(), 2009);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focus);
    }
}

// A refused date is given back with its text selected: the corrected date typed next replaces
// it rather than being refused by the full field or appended to it.
TEST_F(RegistrationTest, ARefusedDateIsGivenBackSelectedForTheCorrection) {
    TQCGT_08* r = registration(454);
    enter(r, "Farm", "RA", "");
    TTaxEdit* date = r->DateofAcqEdit();
    date->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(date, "01/07/1980");
    press(frame->NextButton());
    ASSERT_EQ(dialogs.texts(), std::vector<std::string>{kBeforeCgt});
    ASSERT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->selectedText(), date->text());
    EXPECT_EQ(date->text(), "01/07/1980");

    dialogs.messages.clear();
    QTest::keyClicks(date, "01/07/2000");
    EXPECT_EQ(date->text(), "01/07/2000");
    press(frame->NextButton());
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().front();
    EXPECT_EQ(shown(), 2010);
}

TEST_F(RegistrationTest, NextWithoutDescriptionButOtherEntriesRefusesAndKeepsTheRow) {
    for (const char* code : {"SA", ""}) {
        SCOPED_TRACE(code);
        dialogs.messages.clear();
        TQCGT_08* r = registration(451);
        enter(r, "", code, *code ? "" : "01/07/2000");
        press(frame->NextButton());
        ASSERT_EQ(dialogs.texts(),
                  std::vector<std::string>{"You must select a curent worksheet or enter a "
                                           "description for this asset/event."});
        EXPECT_EQ(screen_(), r) << "not re-created";
        EXPECT_EQ(cgt::Run().CurrentWorksheet, 451);
        EXPECT_EQ(r->TypeTextComboBox()->Code(), QString::fromLatin1(code));
        EXPECT_TRUE(FieldIsEmpty(1202)) << "no row without a description is stored";
    }
}

TEST_F(RegistrationTest, LeavingOtherwiseThanByNextAsksForTheDescription) {
    // A navigator topic or a pick-list line leaves the screen without its Next hook.
    TQCGT_08* r = registration(451);
    enter(r, "", "SA", "");
    EXPECT_FALSE(frame->CheckShownScreen());
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>{"You must enter a description for this asset/event."});
    EXPECT_TRUE(r->DescEdit()->hasFocus());
}

TEST_F(RegistrationTest, NothingEnteredSkipsToTheAnotherEventQuestion) {
    const struct {
        int screen, worksheet, target;
    } cases[] = {{2009, 451, 2017}, {2022, 452, 2030}, {2035, 454, 2041}, {2045, 458, 2051},
                 {2055, 455, 2061}, {2065, 456, 2071}, {2009, 461, 2014}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen * 1000 + c.worksheet);
        dialogs.messages.clear();
        registration(c.worksheet, c.screen);
        press(frame->NextButton());
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(shown(), c.target);
        EXPECT_TRUE(FieldIsEmpty(751 + c.worksheet)) << "the empty row is dropped";
    }
}

TEST_F(RegistrationTest, NextStoresTheRowAndTheEventScreensReopenIt) {
    TQCGT_08* r = registration(454, 2035);
    EXPECT_EQ(frame->CurrentRow(), 1);
    enter(r, "Beach house", "RN", "15/03/1995");
    press(frame->NextButton());
    EXPECT_EQ(shown(), 2036);
    EXPECT_TRUE(frame->ReopenRow);
    EXPECT_EQ(frame->ReopenRowKey, 1);
    const Worksheet* sheet = Store().entry(1205).sheet.get();
    ASSERT_NE(sheet, nullptr);
    std::map<int, std::string> row;
    for (const WorksheetItem& item : sheet->items())
        if (item.row == 1) row[item.tag] = EntryDisplayText(item.entry);
    EXPECT_EQ(row[710], "Beach house");
    EXPECT_EQ(row[714], "RN");
    EXPECT_EQ(row[726], "15/03/1995");

    // Back on the registration (Prev from the first event screen) the same row is edited.
    frame->ReopenRow = true;
    r = registration(454, 2035);
    EXPECT_EQ(frame->CurrentRow(), 1);
    EXPECT_EQ(r->DescEdit()->text(), "Beach house");
    EXPECT_EQ(r->TypeTextComboBox()->Code(), "RN");
    EXPECT_FALSE(frame->ReopenRow) << "cleared when shown";
}

TEST_F(RegistrationTest, PrevSkipsTheChecks) {
    start(2007);
    press(frame->YesButton());
    ASSERT_EQ(shown(), 2009);
    auto* r = dynamic_cast<TQCGT_08*>(screen_());
    ASSERT_NE(r, nullptr);
    enter(r, "BHP", "SA", "01/01/1980");
    press(frame->PrevButton());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(shown(), 2007);
}

TEST_F(RegistrationTest, AResumedInterviewRegistersIntoThePathWorksheet) {
    // No events question ran in this run.
    TQCGT_08* r = registration(0, 2065);
    EXPECT_EQ(r->Worksheet(), 456);
    EXPECT_EQ(cgt::Run().CurrentWorksheet, 456);
    // A worksheet without a registration (receipts) is not used either.
    r = registration(462, 2022);
    EXPECT_EQ(r->Worksheet(), 452);
}

} // namespace
} // namespace cgt::test
