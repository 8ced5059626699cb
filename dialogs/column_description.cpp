#include "dialogs/column_description.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "controls/qt_dialogs.h"
#include "ui_column_description_form.h"

namespace cgt {

QString CleanColumnText(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() < 32) c = QLatin1Char(' ');
    }
    while (out.contains(QLatin1String("  ")))
        out.replace(QLatin1String("  "), QLatin1String(" "));
    return out;
}

namespace {

// A read-only memo drawn in its parent's colour.
void UseParentColour(QPlainTextEdit& memo) {
    QPalette palette = memo.palette();
    const QWidget* parent = memo.parentWidget();
    const QColor colour = (parent ? parent->palette() : palette).color(QPalette::Window);
    palette.setColor(QPalette::Base, colour);
    memo.setPalette(palette);
}

} // namespace

TTableColumnDescriptionForm::TTableColumnDescriptionForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TTableColumnDescriptionForm>()) {
    ui_->setupUi(this);
    UseDialogFrame(*this);
    UseParentColour(*ui_->columnMemo);
    ui_->columnMemo->installEventFilter(this);
    connect(ui_->closeButton, &QPushButton::clicked, this,
            &TTableColumnDescriptionForm::closeButtonClick);
}

TTableColumnDescriptionForm::~TTableColumnDescriptionForm() = default;

void TTableColumnDescriptionForm::SetDescription(const QString& heading, const QString& text) {
    const QString cleanHeading = CleanColumnText(heading);
    const QString cleanText = CleanColumnText(text);
    QStringList lines;
    lines << QStringLiteral("The heading for this column is ") +
                 (cleanHeading.isEmpty() ? QStringLiteral("unknown")
                                         : QLatin1Char('"') + cleanHeading + QLatin1Char('"')) +
                 QLatin1Char('.');
    if (!cleanText.isEmpty()) {
        lines << QStringLiteral("The following text is associated with this column:");
        lines << cleanText;
    }
    ui_->columnMemo->setPlainText(lines.join(QLatin1Char('\n')));
    ui_->columnMemo->moveCursor(QTextCursor::Start);
}

void TTableColumnDescriptionForm::closeButtonClick() {
    reject();
}

bool TTableColumnDescriptionForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->columnMemo && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TTableColumnDescriptionForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowColumnDescription(const QString& heading, const QString& text) {
    TTableColumnDescriptionForm form(DialogOwner());
    form.SetDescription(heading, text);
    form.exec();
}

} // namespace cgt
