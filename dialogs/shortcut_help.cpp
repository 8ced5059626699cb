#include "dialogs/shortcut_help.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "controls/qt_dialogs.h"
#include "ui_shortcut_help_form.h"

namespace cgt {

TviHelperForm::TviHelperForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TviHelperForm>()) {
    ui_->setupUi(this);
    UseDialogFrame(*this);
    QPalette palette = ui_->Memo1->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Window));
    ui_->Memo1->setPalette(palette);
    ui_->Memo1->moveCursor(QTextCursor::Start);
    ui_->Memo1->installEventFilter(this);
    connect(ui_->closeButton, &QPushButton::clicked, this, &TviHelperForm::closeButtonClick);
}

TviHelperForm::~TviHelperForm() = default;

void TviHelperForm::closeButtonClick() {
    reject();
}

bool TviHelperForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->Memo1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            ui_->closeButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ShowShortcutHelp() {
    TviHelperForm form(DialogOwner());
    form.exec();
}

} // namespace cgt
