#include "controls/qt_dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QInputDialog>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>

#include "controls/help_service.h"

#include <array>
#include <utility>

namespace cgt {

namespace {

// Button set bits and their standard buttons; the first shown one is the default unless the
// request names another, so Cancel comes last.
constexpr std::array<std::pair<int, QMessageBox::StandardButton>, 7> kButtons{{
    {mbYes, QMessageBox::Yes},
    {mbNo, QMessageBox::No},
    {mbOK, QMessageBox::Ok},
    {mbAbort, QMessageBox::Abort},
    {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},
    {mbCancel, QMessageBox::Cancel},
}};

QMessageBox::StandardButton ButtonOfResult(int result) {
    switch (result) {
    case mrOK:
        return QMessageBox::Ok;
    case mrCancel:
        return QMessageBox::Cancel;
    case mrAbort:
        return QMessageBox::Abort;
    case mrRetry:
        return QMessageBox::Retry;
    case mrIgnore:
        return QMessageBox::Ignore;
    case mrYes:
        return QMessageBox::Yes;
    case mrNo:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

int ResultOfButton(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return mrCancel;
    case QMessageBox::Abort:
        return mrAbort;
    case QMessageBox::Retry:
        return mrRetry;
    case QMessageBox::Ignore:
        return mrIgnore;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    default:
        return mrOK;
    }
}

QMessageBox::Icon IconOfKind(int kind) {
    switch (kind) {
    case mkWarning:
        return QMessageBox::Warning;
    case mkError:
        return QMessageBox::Critical;
    case mkInformation:
        return QMessageBox::Information;
    case mkQuestion:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

// Holds a dialog to the size it is shown at: the size its form gives it, or the size its
// layout chose for it.
class FixSizeWhenShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent()) {
            auto* dialog = static_cast<QWidget*>(watched);
            QSize size = dialog->size();
            if (const QLayout* layout = dialog->layout())
                size = size.expandedTo(layout->minimumSize());
            dialog->setFixedSize(size);
        }
        return false;
    }
};

} // namespace

QWidget* DialogOwner() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog)) return window;
    }
    return nullptr;
}

void UseDialogFrame(QWidget& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    if (qobject_cast<QMessageBox*>(&dialog)) return; // it fixes its own size to its text
    dialog.installEventFilter(new FixSizeWhenShown(&dialog));
}

int QtDialogService::ShowMessage(const MessageRequest& request) {
    QMessageBox box(IconOfKind(request.kind), QString::fromLatin1(request.caption),
                    QString::fromLatin1(request.text), QMessageBox::NoButton, DialogOwner());
    // A screen reader announces the box with its message.
    box.setAccessibleDescription(box.text());
    UseDialogFrame(box);
    const int shown = ShownButtons(request.buttons);
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first = QMessageBox::NoButton;
    for (const auto& [bit, button] : kButtons) {
        if (!(shown & bit)) continue;
        buttons |= button;
        if (first == QMessageBox::NoButton) first = button;
    }
    // Help shows the topic and leaves the box open for the answer.
    if (request.buttons & mbHelp) buttons |= QMessageBox::Help;
    box.setStandardButtons(buttons);
    const QMessageBox::StandardButton wanted = ButtonOfResult(request.defaultResult);
    box.setDefaultButton(buttons.testFlag(wanted) ? wanted : first);
    int pressed = box.exec();
    while (pressed == QMessageBox::Help) {
        Help().ShowContext(request.helpContext);
        pressed = box.exec();
    }
    return ResultOfButton(pressed);
}

std::optional<std::string> QtDialogService::InputBox(const std::string& caption,
                                                     const std::string& prompt,
                                                     const std::string& value) {
    QInputDialog dialog(DialogOwner());
    dialog.setWindowTitle(QString::fromLatin1(caption));
    dialog.setLabelText(QString::fromLatin1(prompt));
    dialog.setTextEchoMode(QLineEdit::Normal);
    dialog.setTextValue(QString::fromLatin1(value));
    UseDialogFrame(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toLatin1().toStdString();
}

void QtDialogService::Beep() {
    QApplication::beep();
}

QtDialogService& QtDialogs() {
    static QtDialogService service;
    return service;
}

} // namespace cgt
