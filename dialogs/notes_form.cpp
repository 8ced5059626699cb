#include "dialogs/notes_form.h"

#include <QCloseEvent>
#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>
#include <QTextCursor>

#include <memory>
#include <string>

#include "store/field_store.h"
#include "store/run_state.h"
#include "ui_notes_form.h"

namespace cgt {

namespace {

// The memo's lines as a list: a final line break ends the last line, it does not start one.
QStringList MemoLines(const QPlainTextEdit& memo) {
    const QString text = memo.toPlainText();
    if (text.isEmpty()) return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

} // namespace

TNotesForm::TNotesForm(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TNotesForm>()) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // The pad's heading is bold; what the user writes is not.
    QFont memoFont = ui_->Notes->font();
    memoFont.setBold(false);
    ui_->Notes->setFont(memoFont);
    connect(ui_->BtnCancel, &QPushButton::clicked, this, &TNotesForm::BtnCancelClick);
}

TNotesForm::~TNotesForm() = default;

void TNotesForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->window()->frameGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void TNotesForm::FormShow() {
    QPlainTextEdit& memo = *ui_->Notes;
    if (GetFieldType(tag::kNotes) == dtList) {
        StringListRef list = GetFieldLst(tag::kNotes);
        if (!list) {
            list = std::make_shared<StringList>();
            SetFieldLst(tag::kNotes, list);
        }
        QStringList lines;
        for (const std::string& line : *list)
            lines << QString::fromLatin1(line);
        memo.setPlainText(lines.join(QLatin1Char('\n')));
    }
    memo.document()->setModified(false);
    // The caret waits in the text, after the last note: a key typed at once is written down.
    memo.moveCursor(QTextCursor::End);
    memo.setFocus(Qt::OtherFocusReason);
}

void TNotesForm::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TNotesForm::FormClose() {
    if (closed_) return;
    closed_ = true;
    if (ui_->Notes->document()->isModified()) Run().DataChanged = true;
    if (GetFieldType(tag::kNotes) != dtList) {
        SetFieldType(tag::kNotes, dtList);
        SetFieldLst(tag::kNotes, std::make_shared<StringList>());
    }
    StringListRef list = GetFieldLst(tag::kNotes);
    if (!list) {
        list = std::make_shared<StringList>();
        SetFieldLst(tag::kNotes, list);
    }
    list->clear();
    for (const QString& line : MemoLines(*ui_->Notes))
        list->push_back(line.toLatin1().toStdString());
    emit NotesClosed();
}

void TNotesForm::BtnCancelClick() {
    close();
}

} // namespace cgt
