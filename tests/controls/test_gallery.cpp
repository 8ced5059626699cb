// The control gallery shows each control in a screen's setting and behaves as the screens do.

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/gallery/control_gallery.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "support/scripted_dialogs.h"

namespace {

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override {
        gallery.show();
        QApplication::processEvents();
    }

    cgt::test::ScriptedDialogs dialogs;
    ControlGallery gallery;
};

TEST_F(GalleryTest, FieldsShowTheirValuesInTheScreensFormats) {
    const std::pair<const char*, const char*> expected[] = {
        {"AmountEdit", "125000"},   {"CentsEdit", "1234.50"},   {"PercentEdit", "12.50%"},
        {"DateEdit", "01/07/2003"}, {"TfnEdit", "123 456 782"},
    };
    for (auto [name, text] : expected) {
        ASSERT_NE(gallery.field(name), nullptr) << name;
        EXPECT_EQ(gallery.field(name)->text(), QString(text)) << name;
    }
}

TEST_F(GalleryTest, TypingIntoTheAmountFieldKeepsDigitsOnly) {
    TTaxEdit* amount = gallery.field("AmountEdit");
    amount->setFocus();
    QApplication::processEvents();
    amount->clear();
    QTest::keyClicks(amount, "12a3");
    EXPECT_EQ(amount->text(), "123");
    EXPECT_EQ(dialogs.beeps, 1);
    gallery.field("CentsEdit")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(amount->NumValue(), 123);
}

TEST_F(GalleryTest, QuestionLabelShowsValueAndSwitchesSections) {
    TTextLbl* label = gallery.questionLabel();
    const QString first = label->plainText();
    EXPECT_TRUE(first.contains("Shares in BHP Billiton Ltd")) << first.toStdString();
    EXPECT_TRUE(first.contains("date of acquisition")) << first.toStdString();
    EXPECT_FALSE(first.contains("outside the CGT rules"));
    gallery.findChild<QCheckBox*>("SectionBox")->setChecked(true);
    const QString second = label->plainText();
    EXPECT_TRUE(second.contains("outside the CGT rules")) << second.toStdString();
    EXPECT_FALSE(second.contains("date of acquisition"));
}

TEST_F(GalleryTest, CostGridTotalsItsAmounts) {
    EXPECT_EQ(gallery.costTotals()->displayedText(4), "12625");
    EXPECT_EQ(gallery.costTotals()->displayedText(0), "");
    const QRect grid = gallery.costGrid()->geometry();
    EXPECT_EQ(gallery.costTotals()->geometry().top(), grid.top() + grid.height() - 1);
}

} // namespace
