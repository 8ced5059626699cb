#include "controls/yes_no_pair.h"

#include <QCheckBox>

YesNoPair::YesNoPair(QCheckBox* yes, QCheckBox* no, QObject* parent)
    : QObject(parent), yes_(yes), no_(no) {
    connect(yes, &QCheckBox::clicked, this, [this] { clicked(yes_); });
    connect(no, &QCheckBox::clicked, this, [this] { clicked(no_); });
}

bool YesNoPair::IsYes() const {
    return yes_ && yes_->isChecked();
}

bool YesNoPair::IsNo() const {
    return no_ && no_->isChecked();
}

void YesNoPair::Clear() {
    if (yes_) yes_->setChecked(false);
    if (no_) no_->setChecked(false);
}

void YesNoPair::SetEnabled(bool on) {
    if (yes_) yes_->setEnabled(on);
    if (no_) no_->setEnabled(on);
}

void YesNoPair::clicked(QCheckBox* box) {
    QCheckBox* other = box == yes_ ? no_.data() : yes_.data();
    if (box && box->isChecked() && other) other->setChecked(false);
    emit Changed();
}
