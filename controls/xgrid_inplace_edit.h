#pragma once

#include <QLineEdit>

#include "controls/core/key_hints.h"

class TEntryHint;
class TXGridHost;
class QToolButton;

// The editor that stands over the current cell, with the cell's button when its column has one.
class TXGridInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TXGridInplaceEdit(TXGridHost* grid);

    QToolButton* cellButton() const { return button_; }
    // Shows the button of the given kind (0: none).
    void setButtonKind(int kind);
    int buttonKind() const { return buttonKind_; }
    // The hint shown at the cell after a refused key; empty while none is shown.
    QString HintText() const;

signals:
    void ellipsisClicked();
    // A key was released in a number column: its total may have changed.
    void numberKeyReleased();
    void focusedBy(Qt::FocusReason reason);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buttonClicked();
    // Beeps (unless `silent`) and shows what the column accepts instead of the key.
    void refuseKey(char c, cgt::KeyRefusal reason, bool silent = false);

    TXGridHost* grid_;
    QToolButton* button_;
    int buttonKind_ = 0;
    TEntryHint* hint_;
};
