#include "controls/type_ahead_combo.h"

#include <QKeyEvent>

TTypeAheadComboBox::TTypeAheadComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setCurrentIndex(-1);
}

void TTypeAheadComboBox::SetItems(const QStringList& items) {
    clear();
    addItems(items);
    setCurrentIndex(-1);
    search_.Reset();
}

QString TTypeAheadComboBox::Code() const {
    if (currentIndex() < 0) return QString();
    return currentText().left(maxLength_).trimmed();
}

void TTypeAheadComboBox::SelectCode(const QString& code) {
    const QString wanted = code.trimmed();
    for (int i = 0; !wanted.isEmpty() && i < count(); ++i)
        if (itemText(i).left(maxLength_).trimmed() == wanted) {
            setCurrentIndex(i);
            return;
        }
    setCurrentIndex(-1);
}

std::vector<std::string> TTypeAheadComboBox::itemTexts() const {
    std::vector<std::string> texts;
    texts.reserve(count());
    for (int i = 0; i < count(); ++i)
        texts.push_back(itemText(i).toStdString());
    return texts;
}

void TTypeAheadComboBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace) {
        search_.Reset();
        setCurrentIndex(-1);
        return;
    }
    const QString text = event->text();
    const bool printable = text.size() == 1 && text[0].isPrint() && text[0].unicode() < 0x80 &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!printable) {
        QComboBox::keyPressEvent(event);
        return;
    }
    setCurrentIndex(search_.Key(text[0].toLatin1(), itemTexts()));
}

void TTypeAheadComboBox::focusInEvent(QFocusEvent* event) {
    search_.Reset();
    QComboBox::focusInEvent(event);
}
