// What a screen reader calls the controls of a form, derived from the labels beside them.

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "controls/accessible_names.h"
#include "controls/text_label.h"

namespace cgt::test {
namespace {

enum class Kind { Label, Question, Field, Check, Combo, Pane };

// One widget of a form: a plain label, a mark-up question, a field, a check box, a combo box or
// a pane (a list as tall as a grid).
struct Item {
    Kind kind;
    const char* name;
    const char* text;
    QRect at;
    bool hidden = false;
    const char* buddy = nullptr; // a plain label's field
};

std::unique_ptr<QWidget> MakeForm(const std::vector<Item>& items) {
    auto form = std::make_unique<QWidget>();
    form->resize(600, 400);
    for (const Item& item : items) {
        QWidget* w = nullptr;
        const QString text = QString::fromLatin1(item.text);
        switch (item.kind) {
        case Kind::Label:
            w = new QLabel(text, form.get());
            break;
        case Kind::Question: {
            auto* label = new TTextLbl(form.get());
            label->setText({text});
            w = label;
            break;
        }
        case Kind::Field: {
            auto* edit = new QLineEdit(form.get());
            if (*item.text) edit->setAccessibleName(text); // named by its form
            w = edit;
            break;
        }
        case Kind::Check:
            w = new QCheckBox(text, form.get());
            break;
        case Kind::Combo:
            w = new QComboBox(form.get());
            break;
        case Kind::Pane:
            w = new QListWidget(form.get());
            break;
        }
        w->setObjectName(QString::fromLatin1(item.name));
        w->setGeometry(item.at);
        if (item.hidden) w->hide();
    }
    for (const Item& item : items)
        if (item.buddy)
            form->findChild<QLabel*>(QString::fromLatin1(item.name))
                ->setBuddy(form->findChild<QWidget*>(QString::fromLatin1(item.buddy)));
    return form;
}

struct NameCase {
    const char* what;
    std::vector<Item> items;
    const char* control;
    const char* name;
    const char* description;
};

const std::vector<NameCase>& NameCases() {
    static const std::vector<NameCase> cases = {
        {"a field beside its question",
         {{Kind::Label, "L", "Date of acquisition:", {16, 10, 150, 24}},
          {Kind::Field, "F", "", {170, 10, 110, 24}}},
         "F",
         "Date of acquisition:",
         ""},
        {"a mark-up question beside a field",
         {{Kind::Question,
           "Q",
           "What is the date of the cost base calculation?",
           {16, 10, 420, 26}},
          {Kind::Field, "F", "", {450, 12, 110, 24}}},
         "F",
         "What is the date of the cost base calculation?",
         ""},
        {"check boxes under their question keep their captions",
         {{Kind::Question,
           "Q",
           "Did this asset pass to you from a deceased estate?",
           {16, 10, 560, 22}},
          {Kind::Check, "Yes", "&Yes", {40, 34, 70, 24}},
          {Kind::Check, "No", "N&o", {130, 34, 70, 24}}},
         "No",
         "No",
         "Did this asset pass to you from a deceased estate?"},
        {"a pane takes the heading above it, not a label beside its top",
         {{Kind::Label, "Heading", "Non-assessable payments", {16, 10, 300, 22}},
          {Kind::Label, "Beside", "Asset type:", {16, 40, 100, 24}},
          {Kind::Pane, "P", "", {120, 40, 400, 160}}},
         "P",
         "Non-assessable payments",
         ""},
        {"a row of fields under column heads",
         {{Kind::Label, "Head1", "Indexed gain", {200, 10, 100, 20}},
          {Kind::Label, "Head2", "Discount gain", {310, 10, 100, 20}},
          {Kind::Label, "Row", "Capital proceeds:", {16, 34, 150, 22}},
          {Kind::Field, "A", "", {200, 34, 100, 22}},
          {Kind::Field, "B", "", {310, 34, 100, 22}}},
         "B",
         "Capital proceeds, Discount gain",
         ""},
        {"a control between a label and a field leaves the field unnamed",
         {{Kind::Label, "L", "Asset type:", {16, 10, 100, 24}},
          {Kind::Combo, "C", "", {120, 10, 300, 24}},
          {Kind::Field, "F", "", {16, 40, 300, 24}}},
         "F",
         "",
         ""},
        {"a hidden label asks nothing",
         {{Kind::Label, "Above", "Capital proceeds:", {16, 10, 150, 22}},
          {Kind::Label, "Hidden", "Termination value:", {16, 40, 150, 22}, true},
          {Kind::Field, "F", "", {16, 64, 150, 22}}},
         "F",
         "Capital proceeds:",
         ""},
        {"a plain label's buddy keeps its name",
         {{Kind::Question, "Q", "Enter a short description of this asset:", {16, 10, 560, 22}},
          {Kind::Label, "L", "&Description:", {16, 34, 150, 24}, false, "F"},
          {Kind::Field, "F", "", {170, 34, 330, 24}}},
         "F",
         "Description:",
         ""},
        {"a name given by the form stays",
         {{Kind::Label, "L", "Print range:", {16, 10, 150, 24}},
          {Kind::Field, "F", "Pages to print", {170, 10, 110, 24}}},
         "F",
         "Pages to print",
         ""},
    };
    return cases;
}

TEST(AccessibleNames, AControlIsNamedByTheQuestionBesideOrAboveIt) {
    for (const NameCase& c : NameCases()) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<QWidget> form = MakeForm(c.items);
        NameControlsFromLabels(form.get());
        QWidget* control = form->findChild<QWidget*>(QString::fromLatin1(c.control));
        ASSERT_NE(control, nullptr);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), c.name);
        EXPECT_EQ(control->accessibleDescription().toStdString(), c.description);
    }
}

TEST(AccessibleNames, ANameGivenBeforeFollowsItsLabelAndAMarkupLabelIsStaticText) {
    const std::unique_ptr<QWidget> form =
        MakeForm({{Kind::Question, "Q", "Capital proceeds:", {16, 10, 150, 24}},
                  {Kind::Field, "F", "", {170, 10, 110, 24}}});
    auto* question = form->findChild<TTextLbl*>(QStringLiteral("Q"));
    auto* field = form->findChild<QLineEdit*>(QStringLiteral("F"));
    NameControlsFromLabels(form.get());
    EXPECT_EQ(field->accessibleName(), QStringLiteral("Capital proceeds:"));

    question->setText({QStringLiteral("Termination value:")});
    NameControlsFromLabels(form.get());
    EXPECT_EQ(field->accessibleName(), QStringLiteral("Termination value:"));

    QAccessibleInterface* label = QAccessible::queryAccessibleInterface(question);
    EXPECT_EQ(label->role(), QAccessible::StaticText);
    EXPECT_EQ(label->text(QAccessible::Name), QStringLiteral("Termination value:"));
}

// A mark-up label's links are its children: each jump or hyperlink once, named by its text (a
// link broken over two lines too) and followed by Press as a click follows it.
TEST(AccessibleNames, AMarkupLabelListsItsLinksAndPressFollowsThem) {
    TTextLbl label;
    label.setGeometry(0, 0, 560, 60);
    label.setText({QStringLiteral("<AL>What is the <C12;T4;J199>date<.> of the cost base?"),
                   QStringLiteral("<C12;T4;J198>If the asset was rolled over,"),
                   QStringLiteral("when was it acquired<.>?")});
    QSignalSpy jumps(&label, &TTextLbl::OnJumpClick);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&label);
    ASSERT_EQ(accessible->childCount(), 2);
    const char* names[] = {"date", "If the asset was rolled over, when was it acquired"};
    const int ids[] = {199, 198};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(names[i]);
        QAccessibleInterface* link = accessible->child(i);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->role(), QAccessible::Link);
        EXPECT_EQ(link->text(QAccessible::Name).toStdString(), names[i]);
        EXPECT_EQ(link->parent(), accessible);
        EXPECT_EQ(accessible->indexOfChild(link), i);
        QAccessibleActionInterface* action = link->actionInterface();
        ASSERT_NE(action, nullptr);
        ASSERT_EQ(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        action->doAction(QAccessibleActionInterface::pressAction());
        ASSERT_EQ(jumps.count(), i + 1);
        EXPECT_EQ(jumps.at(i).at(1).toInt(), ids[i]);
    }
}

TEST(AccessibleNames, ACaptionLosesItsMnemonicMarks) {
    const struct {
        const char* caption;
        const char* text;
    } cases[] = {
        {"&Next", "Next"},
        {"N&o", "No"},
        {"Profit && loss", "Profit & loss"},
        {"Plain", "Plain"},
        {"Trailing&", "Trailing"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithoutMnemonic(QString::fromLatin1(c.caption)), QString::fromLatin1(c.text))
            << c.caption;
}

} // namespace
} // namespace cgt::test
