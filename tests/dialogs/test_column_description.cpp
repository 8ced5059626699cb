// The column description read out for a worksheet grid's column: cleaned texts, the heading
// line, the optional text, and Esc closing from the memo or the window.

#include <gtest/gtest.h>

#include "support/escaped_text.h"

#include <ostream>
#include <string>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs/column_description.h"
#include "modal_helper.h"

namespace {

using namespace cgt;

struct DescriptionCase {
    const char* heading;
    const char* text;
    const char* memo;
};

using cgt::test::Escaped;

void PrintTo(const DescriptionCase& c, std::ostream* os) {
    *os << "heading \"" << Escaped(c.heading) << "\" text \"" << Escaped(c.text) << '"';
}

class ColumnDescription : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(ColumnDescription, MemoHoldsTheCleanedHeadingAndText) {
    const DescriptionCase c = GetParam();
    TTableColumnDescriptionForm form;
    form.SetDescription(QString::fromLatin1(c.heading), QString::fromLatin1(c.text));
    auto* memo = form.findChild<QPlainTextEdit*>("columnMemo");
    EXPECT_EQ(memo->toPlainText(), QString::fromLatin1(c.memo));
    EXPECT_EQ(memo->textCursor().position(), 0);
    EXPECT_TRUE(memo->isReadOnly());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColumnDescription,
    ::testing::Values(DescriptionCase{"", "", "The heading for this column is unknown."},
                      DescriptionCase{"Cost\r\nbase", "",
                                      "The heading for this column is \"Cost base\"."},
                      DescriptionCase{"Date  of    sale", "Enter the\tdate  you\n\nsold   it",
                                      "The heading for this column is \"Date of sale\".\n"
                                      "The following text is associated with this column:\n"
                                      "Enter the date you sold it"},
                      DescriptionCase{"", "\x01\x02", // only control characters: one blank remains
                                      "The heading for this column is unknown.\n"
                                      "The following text is associated with this column:\n"
                                      " "}));

TEST(ColumnDescriptionDialog, EscInTheMemoClosesIt) {
    QString shown;
    auto ran = test::WhenModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Table Column Description Dialog");
        auto* memo = dialog.findChild<QPlainTextEdit*>("columnMemo");
        shown = memo->toPlainText();
        QTest::keyClick(memo, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    ShowColumnDescription("Proceeds", "");
    ASSERT_TRUE(*ran);
    EXPECT_EQ(shown, "The heading for this column is \"Proceeds\".");
}

TEST(ColumnDescriptionDialog, EscInTheWindowAndTheCloseButtonCloseIt) {
    TTableColumnDescriptionForm form;
    form.show();
    QTest::keyClick(form.findChild<QPushButton*>("closeButton"), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);

    form.show();
    QTest::mouseClick(form.findChild<QPushButton*>("closeButton"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
