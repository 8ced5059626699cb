// The tag inspector: a tag out of range, Get it and Set It by the field's type, and the
// type shown in the radio group.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>
#include <string>

#include "controls/tax_edit.h"
#include "dialogs/get_tag_form.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "support/store_fixture.h"

namespace {

using namespace cgt;

class TagInspectorTest : public test::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        form = std::make_unique<TfrmGetTag>();
        form->show();
        tag = form->findChild<TTaxEdit*>("edtTag");
        value = form->findChild<QLineEdit*>("edtValue");
        box = form->findChild<QCheckBox*>("chkCheckDataType");
    }

    void TypeTag(const QString& text) {
        tag->clear();
        QTest::keyClicks(tag, text);
    }
    void TypeValue(const QString& text) {
        value->clear();
        QTest::keyClicks(value, text);
    }
    void Click(const char* button) {
        QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    QString CheckedType() const {
        for (QRadioButton* b : form->findChildren<QRadioButton*>())
            if (b->isChecked()) return b->text();
        return {};
    }

    std::unique_ptr<TfrmGetTag> form;
    TTaxEdit* tag = nullptr;
    QLineEdit* value = nullptr;
    QCheckBox* box = nullptr;
};

TEST_F(TagInspectorTest, TheFieldsOfTheForm) {
    EXPECT_EQ(form->windowTitle(), "Get Tag");
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(tag->NumericType(), TCustomNumEdit::ntNumeric);
    EXPECT_EQ(tag->maxLength(), 8);
    EXPECT_EQ(tag->ValidChars(), "0..9");
    EXPECT_TRUE(box->isHidden());
    EXPECT_FALSE(form->findChild<QRadioButton*>("rbUndefined")->isEnabled()); // group disabled
    TypeTag("12ab3");
    EXPECT_EQ(tag->text(), "123"); // digits only
}

TEST_F(TagInspectorTest, TagsOutOfRangeAreInvalid) {
    SetFieldVal(1, 5);
    for (const char* text : {"", "0", "2313", "99999999"}) {
        SCOPED_TRACE(text);
        value->setText("before");
        TypeTag(text);
        Click("btnGetIt");
        EXPECT_EQ(value->text(), "Invalid Tag");
        TypeValue("7");
        Click("btnSetIt");
        EXPECT_EQ(value->text(), "Invalid Tag");
    }
    EXPECT_EQ(GetFieldVal(1), 5);
}

TEST_F(TagInspectorTest, GetAndSetACurrencyAmount) {
    SetFieldVal(2312, 1234.5L);
    TypeTag("2312");
    Click("btnGetIt");
    EXPECT_EQ(value->text(), "1234.5");
    EXPECT_EQ(CheckedType(), "Currency");

    TypeValue("99.25");
    Click("btnSetIt");
    EXPECT_EQ(GetFieldVal(2312), 99.25L);
    TypeValue("not a number");
    Click("btnSetIt");
    EXPECT_EQ(GetFieldVal(2312), 0);

    SetFieldType(10, dtNumeric);
    SetFieldVal(10, 1.0L / 3.0L);
    TypeTag("10");
    QTest::keyClick(tag, Qt::Key_Return); // Get it is the default button
    EXPECT_EQ(value->text(), "0.333333333333333");
    EXPECT_EQ(CheckedType(), "Numeric");
}

TEST_F(TagInspectorTest, CheckBoxIsShownByTheFirstSetThenWritesItsState) {
    SetFieldType(600, dtCheckbox);
    TypeTag("600");
    Click("btnSetIt");
    EXPECT_FALSE(box->isHidden());
    EXPECT_TRUE(value->isHidden());
    EXPECT_FALSE(FieldChecked(600));
    EXPECT_FALSE(cgt::Run().DataChanged);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    ASSERT_TRUE(box->isChecked());
    Click("btnSetIt");
    EXPECT_TRUE(FieldChecked(600));

    // Get shows the stored state; a string field brings the value box back.
    SetFieldUnchecked(600);
    Click("btnGetIt");
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(CheckedType(), "CheckBox");
    SetFieldStr(20, "x");
    TypeTag("20");
    Click("btnGetIt");
    EXPECT_TRUE(box->isHidden());
    EXPECT_FALSE(value->isHidden());
}

TEST_F(TagInspectorTest, GetAndSetAString) {
    SetFieldStr(20, "Smith and Partners"); // longer than a small string
    SetFieldStr(21, "Smith");
    struct Case {
        const char* tag;
        const char* value;
        const char* type;
    };
    for (const Case& c :
         {Case{"20", "Smith and Partners", "String"}, Case{"21", "Smith", "Small String"}}) {
        SCOPED_TRACE(c.tag);
        TypeTag(c.tag);
        Click("btnGetIt");
        EXPECT_EQ(value->text(), c.value);
        EXPECT_EQ(CheckedType(), c.type);
        TypeValue("Jones");
        Click("btnSetIt");
        EXPECT_EQ(GetFieldStr(std::stoi(c.tag)), "Jones");
    }
}

TEST_F(TagInspectorTest, OtherTypesAreShownAndNeverWritten) {
    SetFieldLst(399, std::make_shared<StringList>(StringList{"first", "second"}));
    SetFieldType(kWorksheetTagBase + 3, dtWorksheet);
    struct Case {
        const char* tag;
        const char* value;
        const char* type;
    };
    for (const Case& c :
         {Case{"399", "first", "List"}, Case{"754", "No Worksheets exist", "Worksheet"},
          Case{"30", "Unsupported Data Type", "Undefined"}}) {
        SCOPED_TRACE(c.tag);
        TypeTag(c.tag);
        Click("btnGetIt");
        EXPECT_EQ(value->text(), c.value);
        EXPECT_EQ(CheckedType(), c.type);
    }

    cgt::Run().DataChanged = false;
    TypeTag("30");
    TypeValue("5");
    Click("btnSetIt");
    EXPECT_EQ(GetFieldType(30), dtNone);
    TypeTag("399");
    Click("btnSetIt");
    EXPECT_EQ(*GetFieldLst(399), (StringList{"first", "second"}));
    EXPECT_FALSE(cgt::Run().DataChanged);
}

} // namespace
