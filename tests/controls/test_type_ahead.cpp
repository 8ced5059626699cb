// Type-ahead selection in coded lists and the Yes/No check box pairs.

#include <QCheckBox>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/core/type_ahead.h"
#include "controls/type_ahead_combo.h"
#include "controls/yes_no_pair.h"

namespace {

const std::vector<std::string> kTypes = {"SA - Active asset - Shares",
                                         "SN - Non-active asset - Shares", "A  - Collectables",
                                         "ON - Non-active asset - Other asset or CGT event"};

TEST(TypeAheadSearch, ChoosesTheFirstItemStartingWithTheKeysTyped) {
    const struct {
        const char* keys;
        int chosen; // after the last key
        const char* search;
    } cases[] = {
        {"s", 0, "s"},   {"sn", 1, "sn"}, {"SN", 1, "SN"}, {"a", 2, "a"},
        {"sa", 0, "sa"}, {"so", 3, "o"}, // no item starts "so": the search restarts with "o"
        {"x", -1, "x"},  {"sx", -1, "x"}, {"on", 3, "on"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        cgt::TypeAheadSearch search;
        int chosen = -2;
        for (const char* k = c.keys; *k; ++k)
            chosen = search.Key(*k, kTypes);
        EXPECT_EQ(chosen, c.chosen);
        EXPECT_EQ(search.Search(), c.search);
    }
}

class TypeAheadComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        combo = new TTypeAheadComboBox(&window);
        QStringList items;
        for (const std::string& t : kTypes)
            items << QString::fromStdString(t);
        combo->SetItems(items);
        window.show();
        combo->setFocus();
    }
    QWidget window;
    TTypeAheadComboBox* combo = nullptr;
};

TEST_F(TypeAheadComboTest, TypingChoosesAndBackspaceEmpties) {
    EXPECT_FALSE(combo->HasChoice());
    QTest::keyClicks(combo, "sn");
    EXPECT_EQ(combo->Code(), "SN");
    QTest::keyClick(combo, Qt::Key_Backspace);
    EXPECT_FALSE(combo->HasChoice());
    EXPECT_EQ(combo->Code(), "");
    // Backspace also restarted the search.
    QTest::keyClick(combo, 'a');
    EXPECT_EQ(combo->Code(), "A");
    QTest::keyClick(combo, 'z');
    EXPECT_FALSE(combo->HasChoice()) << "no item starts with z";
}

TEST_F(TypeAheadComboTest, CodesAreTheFirstCharactersWithoutBlanks) {
    combo->SelectCode("A");
    EXPECT_EQ(combo->currentText(), "A  - Collectables");
    combo->SelectCode("ON");
    EXPECT_EQ(combo->currentIndex(), 3);
    combo->SelectCode("ZZ");
    EXPECT_FALSE(combo->HasChoice());
    combo->SelectCode("");
    EXPECT_FALSE(combo->HasChoice());
}

TEST(YesNoPair, CheckingOneUnchecksTheOther) {
    QWidget window;
    auto* yes = new QCheckBox("Yes", &window);
    auto* no = new QCheckBox("No", &window);
    YesNoPair pair(yes, no);
    int changes = 0;
    QObject::connect(&pair, &YesNoPair::Changed, [&] { ++changes; });
    window.show();
    EXPECT_FALSE(pair.Answered());
    QTest::mouseClick(yes, Qt::LeftButton);
    EXPECT_TRUE(pair.IsYes());
    QTest::mouseClick(no, Qt::LeftButton);
    EXPECT_TRUE(pair.IsNo());
    EXPECT_FALSE(yes->isChecked());
    QTest::mouseClick(no, Qt::LeftButton); // unanswered again
    EXPECT_FALSE(pair.Answered());
    EXPECT_EQ(changes, 3);
    pair.SetEnabled(false);
    QTest::mouseClick(yes, Qt::LeftButton);
    EXPECT_FALSE(pair.IsYes()) << "a disabled question takes no answer";
}

} // namespace
