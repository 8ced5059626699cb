#include "controls/xgrid_inplace_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>

#include "controls/entry_hint.h"
#include "controls/popup_listbox.h"
#include "controls/xgrid_cell_button.h"
#include "controls/xgrid_host.h"
#include "controls/xgrid_text.h"
#include "store/dialogs.h"

using cgt::grid::ButtonWidth;
using cgt::grid::Bytes;

TXGridInplaceEdit::TXGridInplaceEdit(TXGridHost* grid)
    : QLineEdit(grid->view()->viewport()), grid_(grid), button_(new QToolButton(this)),
      hint_(new TEntryHint(this)) {
    setFrame(false);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->hide();
    button_->installEventFilter(this);
    connect(button_, &QToolButton::clicked, this, &TXGridInplaceEdit::buttonClicked);
}

void TXGridInplaceEdit::setButtonKind(int kind) {
    buttonKind_ = kind == cgt::bkPicklist || kind == cgt::bkEllipsis ? kind : 0;
    button_->setArrowType(buttonKind_ == cgt::bkPicklist ? Qt::DownArrow : Qt::NoArrow);
    button_->setText(buttonKind_ == cgt::bkEllipsis ? QStringLiteral("...") : QString());
    button_->setVisible(buttonKind_ != 0);
    setTextMargins(0, 0, buttonKind_ != 0 ? ButtonWidth(this) : 0, 0);
}

void TXGridInplaceEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    const int width = ButtonWidth(this);
    button_->setGeometry(this->width() - width, 0, width, height());
}

bool TXGridInplaceEdit::eventFilter(QObject* watched, QEvent* event) {
    // Double clicks on the button are ignored.
    return watched == button_ && event->type() == QEvent::MouseButtonDblClick;
}

void TXGridInplaceEdit::buttonClicked() {
    if (buttonKind_ == cgt::bkPicklist) {
        if (grid_->picklist()->isVisible())
            grid_->picklist()->closeUp();
        else
            grid_->DropDown();
    } else if (buttonKind_ == cgt::bkEllipsis) {
        emit ellipsisClicked();
    }
}

bool TXGridInplaceEdit::event(QEvent* event) {
    // Tab moves between cells, not between controls.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

QString TXGridInplaceEdit::HintText() const {
    return hint_->Text();
}

void TXGridInplaceEdit::refuseKey(char c, cgt::KeyRefusal reason, bool silent) {
    if (!silent) cgt::Dialogs().Beep();
    const cgt::EntryShape shape = cgt::ColumnEntryShape(grid_->table().Column(grid_->Col()));
    const std::string hint = cgt::RefusedKeyHint(shape, reason, c);
    if (!hint.empty()) hint_->Show(QString::fromStdString(hint));
}

void TXGridInplaceEdit::keyPressEvent(QKeyEvent* event) {
    hint_->Hide(); // a refused key shows it again
    TPopupListbox* list = grid_->picklist();
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (list->isVisible()) {
        if (alt && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
            list->closeUp();
            return;
        }
        if (list->handleKey(event)) return;
    }
    if (grid_->handleGridKey(event)) return;

    cgt::CellTable& table = grid_->table();
    const QString text = event->text();
    const bool control = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (text.size() == 1 && !control && text.at(0).unicode() > 32 && text.at(0).unicode() != 127) {
        const char16_t code = text.at(0).unicode();
        if (code > 255) {
            refuseKey(0, cgt::KeyRefusal::NotAllowed);
            return;
        }
        const char ch = static_cast<char>(code);
        const cgt::KeyFilterResult r =
            table.FilterKey(grid_->Col(), Bytes(this->text()), hasSelectedText(), ch);
        if (r.verdict != cgt::KeyVerdict::Accept) {
            refuseKey(ch, r.refusal, r.verdict == cgt::KeyVerdict::Discard);
            return;
        }
        table.SetModified(true);
        if (r.ch != ch) {
            insert(QString(QChar(static_cast<unsigned char>(r.ch))));
            return;
        }
    } else if (text == QLatin1String(" ")) {
        const cgt::KeyFilterResult r =
            table.FilterKey(grid_->Col(), Bytes(this->text()), hasSelectedText(), ' ');
        if (r.verdict == cgt::KeyVerdict::Discard) {
            refuseKey(' ', r.refusal, true);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TXGridInplaceEdit::paintEvent(QPaintEvent* event) {
    // The editor stands over its cell only while it holds the focus; otherwise the cell shows
    // through, drawn as every other cell is (a number right-aligned, in its shown form).
    if (hasFocus()) QLineEdit::paintEvent(event);
}

void TXGridInplaceEdit::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    if (grid_->ColumnType(grid_->Col()) == cgt::ctNumber) emit numberKeyReleased();
}

void TXGridInplaceEdit::focusInEvent(QFocusEvent* event) {
    emit focusedBy(event->reason());
    QLineEdit::focusInEvent(event);
}

void TXGridInplaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        hint_->Hide();
    TPopupListbox* list = grid_->picklist();
    if (!list->isVisible()) return;
    if (event->reason() == Qt::ActiveWindowFocusReason) {
        // Some window systems activate the list itself: that is no loss of focus.
        const QWidget* active = QApplication::activeWindow();
        if (!active || active == list) return;
    }
    list->closeUp();
}
