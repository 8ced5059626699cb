#include "dialogs/get_tag_form.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

#include "base/number_format.h"
#include "controls/tax_edit.h"
#include "store/field_store.h"
#include "ui_get_tag_form.h"

namespace cgt {

TfrmGetTag::TfrmGetTag(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TfrmGetTag>()) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    connect(ui_->btnGetIt, &QPushButton::clicked, this, &TfrmGetTag::btnGetItClick);
    connect(ui_->btnSetIt, &QPushButton::clicked, this, &TfrmGetTag::btnSetItClick);
    connect(ui_->btnClose, &QPushButton::clicked, this, &TfrmGetTag::btnCloseClick);
}

TfrmGetTag::~TfrmGetTag() = default;

int TfrmGetTag::tagOrComplain() {
    const Extended value = ui_->edtTag->NumValue();
    const long long tag = std::llround(static_cast<double>(value));
    if (tag < 1 || tag > kFieldCount) {
        ui_->edtValue->setText(QStringLiteral("Invalid Tag"));
        return 0;
    }
    return static_cast<int>(tag);
}

QRadioButton* TfrmGetTag::typeButton(int type) const {
    switch (type) {
    case dtNumeric:
        return ui_->rbNumeric;
    case dtCurrency:
        return ui_->rbCurrency;
    case dtCurrencyCnt:
        return ui_->rbCurrencyCnt;
    case dtCheckbox:
        return ui_->rbCheckBox;
    case dtString:
        return ui_->rbString;
    case dtSmallStr:
        return ui_->rbSmallString;
    case dtList:
        return ui_->rbList;
    case dtWorksheet:
        return ui_->rbWorksheet;
    default:
        return ui_->rbUndefined;
    }
}

void TfrmGetTag::btnGetItClick() {
    const int tag = tagOrComplain();
    if (!tag) return;
    ui_->chkCheckDataType->setVisible(false);
    ui_->edtValue->setVisible(true);
    ui_->rbUndefined->setChecked(true);
    const int type = GetFieldType(tag);
    typeButton(type)->setChecked(true);

    QString value;
    switch (type) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt: {
        const Extended number = GetFieldVal(tag, false);
        value = std::isfinite(static_cast<double>(number))
                    ? QString::fromStdString(FormatGeneral(number, 15))
                    : QStringLiteral("Invalid value");
        break;
    }
    case dtCheckbox:
        ui_->edtValue->setVisible(false);
        ui_->chkCheckDataType->setVisible(true);
        ui_->chkCheckDataType->setChecked(FieldChecked(tag));
        return;
    case dtString:
    case dtSmallStr:
        value = QString::fromLatin1(GetFieldStr(tag));
        break;
    case dtList:
        value = QString::fromLatin1(GetFieldText(tag));
        break;
    case dtWorksheet:
        value = WorksheetHasRows(tag - kWorksheetTagBase) ? QStringLiteral("Worksheet exists")
                                                          : QStringLiteral("No Worksheets exist");
        break;
    default:
        value = QStringLiteral("Unsupported Data Type");
        break;
    }
    ui_->edtValue->setText(value);
}

void TfrmGetTag::btnSetItClick() {
    const int tag = tagOrComplain();
    if (!tag) return;
    switch (GetFieldType(tag)) {
    case dtNumeric:
    case dtCurrency:
    case dtCurrencyCnt:
        SetFieldVal(tag, ParseNumber(ui_->edtValue->text().toStdString()).value_or(0));
        break;
    case dtCheckbox:
        if (ui_->chkCheckDataType->isHidden()) {
            ui_->edtValue->setVisible(false);
            ui_->chkCheckDataType->setVisible(true);
        } else if (ui_->chkCheckDataType->isChecked()) {
            SetFieldChecked(tag);
        } else {
            SetFieldUnchecked(tag);
        }
        break;
    case dtString:
    case dtSmallStr:
        SetFieldStr(tag, ui_->edtValue->text().toLatin1().toStdString());
        break;
    default:
        break;
    }
}

void TfrmGetTag::btnCloseClick() {
    close();
}

void TfrmGetTag::keyPressEvent(QKeyEvent* event) {
    // btnGetIt is the default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & ~Qt::KeypadModifier)) {
        ui_->btnGetIt->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace cgt
