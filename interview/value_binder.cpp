#include "interview/value_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/number_format.h"
#include "controls/tax_edit.h"
#include "controls/xgrid.h"
#include "store/field_store.h"
#include "store/run_state.h"

namespace cgt {

namespace {

bool IsNumericKind(TCustomNumEdit::TNumericType kind) {
    return kind == TCustomNumEdit::ntCurrency || kind == TCustomNumEdit::ntCurrencyCnt ||
           kind == TCustomNumEdit::ntNumeric;
}

void LoadTaxEdit(TCustomNumEdit* edit, int tag) {
    const TFieldDataType type = GetFieldType(tag);
    if (IsNumberType(type) || (type == dtNone && IsNumericKind(edit->NumericType())))
        edit->setNumValue(GetFieldVal(tag));
    else
        edit->SetTextValue(QString::fromLatin1(GetFieldStr(tag)));
}

void SaveTaxEdit(TCustomNumEdit* edit, int tag) {
    if (IsNumericKind(edit->NumericType()))
        SetFieldVal(tag, edit->NumValue());
    else
        SetFieldStr(tag, edit->Text8());
}

void LoadCheck(QAbstractButton* box, int tag) {
    box->setChecked(FieldChecked(tag));
}

// An exclusive radio button can only be unchecked with its exclusivity off.
void LoadRadio(QRadioButton* radio, int tag) {
    const bool exclusive = radio->autoExclusive();
    radio->setAutoExclusive(false);
    radio->setChecked(FieldChecked(tag));
    radio->setAutoExclusive(exclusive);
}

void SaveButton(QAbstractButton* box, int tag) {
    if (box->isChecked())
        SetFieldChecked(tag);
    else
        SetFieldUnchecked(tag);
}

// A combo box stores the first MaxLength characters of its text: the code of a coded list.
void LoadCombo(QComboBox* combo, int tag) {
    combo->setCurrentIndex(-1);
    const int maxLength = combo->property("MaxLength").toInt();
    if (maxLength <= 0) return;
    const QString value = QString::fromLatin1(GetFieldStr(tag));
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).left(maxLength) == value) {
            combo->setCurrentIndex(i);
            return;
        }
}

void SaveCombo(QComboBox* combo, int tag) {
    const int maxLength = std::max(0, combo->property("MaxLength").toInt());
    SetFieldStr(tag, combo->currentText().left(maxLength).toLatin1().toStdString());
}

void LoadGrid(TXGrid* grid, int tag) {
    const StringListRef list = GetFieldLst(tag);
    grid->LoadRows(list.get());
    grid->setModified(false);
}

void SaveGrid(TXGrid* grid, int tag) {
    StringListRef list = GetFieldLst(tag);
    grid->SaveRows(list);
    SetFieldLst(tag, list);
    if (grid->Modified()) Run().DataChanged = true;
}

// A plain label shows the display text; an amount of a cent or less shows nothing.
constexpr Extended kLabelHidesUpTo = 0.01L;

void LoadLabel(QLabel* label, int tag) {
    const TFieldDataType type = GetFieldType(tag);
    if (type != dtCurrency && type != dtCurrencyCnt) {
        label->setText(QString::fromLatin1(GetFieldText(tag)));
        return;
    }
    const Extended value = GetFieldVal(tag);
    if (std::fabs(value) <= kLabelHidesUpTo)
        label->setText(QString());
    else
        label->setText(QString::fromLatin1(type == dtCurrency ? FormatFixed(value, 8, 0)
                                                              : FormatSignificant(value, 10, 2)));
}

std::vector<ControlBinding>& Bindings() {
    static std::vector<ControlBinding> bindings = {
        MakeControlBinding<TCustomNumEdit>(LoadTaxEdit, SaveTaxEdit),
        MakeControlBinding<QRadioButton>(LoadRadio, SaveButton),
        MakeControlBinding<QCheckBox>(LoadCheck, SaveButton),
        MakeControlBinding<QComboBox>(LoadCombo, SaveCombo),
        MakeControlBinding<TXGrid>(LoadGrid, SaveGrid),
        MakeControlBinding<QLabel>(LoadLabel),
    };
    return bindings;
}

const ControlBinding* BindingOf(const QWidget* control) {
    const QMetaObject* mo = control->metaObject();
    for (const ControlBinding& b : Bindings())
        if (mo->inherits(b.kind)) return &b;
    return nullptr;
}

} // namespace

void RegisterControlBinding(ControlBinding binding) {
    Bindings().insert(Bindings().begin(), std::move(binding));
}

int FieldTagOf(const QObject* control) {
    const int tag = control->property("fieldTag").toInt();
    return ValidTag(tag) ? tag : 0;
}

void LoadControlsFromStore(QWidget* screen) {
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        const int tag = FieldTagOf(w);
        if (tag == 0) continue;
        if (const ControlBinding* b = BindingOf(w); b && b->load) b->load(w, tag);
    }
}

void SaveControlsToStore(QWidget* screen) {
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        const int tag = FieldTagOf(w);
        if (tag == 0) continue;
        if (const ControlBinding* b = BindingOf(w); b && b->save) b->save(w, tag);
    }
}

} // namespace cgt
