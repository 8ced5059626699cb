#include "interview/child_form.h"

#include "controls/text_label.h"
#include "interview/worksheet_picker.h"
#include "store/dialogs.h"

TChildForm::TChildForm(QWidget* parent) : QWidget(parent) {
    // A borderless child at the top left of its parent; the frame places and shows it.
    setWindowFlags(Qt::Widget);
    move(0, 0);
    setAutoFillBackground(true);
    hide();
}

TChildForm::~TChildForm() = default;

QString TChildForm::AttentionText() const {
    // Nested containers included, in creation order.
    for (TTextLbl* label : findChildren<TTextLbl*>()) {
        if (label->Kind() != TTextLbl::tlkAttention) continue;
        if (!label->isVisibleTo(this)) continue;
        return label->plainText();
    }
    return {};
}

int TChildForm::ScreenMsgBox(const QString& text, int kind, int buttons) {
    cgt::MessageRequest request;
    request.caption = cgt::ApplicationTitle();
    request.text = text.toLatin1().toStdString();
    request.kind = kind == cgt::mkConfirmation ? cgt::mkQuestion : kind;
    request.buttons = cgt::ShownButtons(buttons) | (buttons & cgt::mbHelp);
    request.helpContext = helpContext_;
    return cgt::Dialogs().ShowMessage(request);
}

int TChildForm::ScreenInfo(const QString& text) {
    return ScreenMsgBox(text, cgt::mkInformation, cgt::mbOK);
}

bool TChildForm::OpenRowEmpty() const {
    return cgt::ScratchRowEmpty();
}

cgt::NextStep TChildForm::Next(cgt::Answer /*answer*/) {
    return cgt::ScreenTarget::RowNext();
}

QWidget* TChildForm::PaneFocus(QWidget* /*focus*/, bool /*forward*/) {
    return nullptr; // the screen is one pane
}
