#pragma once
// TFocusRing: a visible focus indicator for every control of a window. A frame drawn around
// the control that has the keyboard focus, above the window's contents, whatever the control
// and its style; it follows the focus, and the control's moves and resizes, and lets every
// mouse event through.

#include <QPointer>
#include <QWidget>

class TFocusRing : public QWidget {
    Q_OBJECT

public:
    // Attaches a ring to a window; the window owns it.
    static TFocusRing* Attach(QWidget* window);

    // The control the ring surrounds; nullptr while it is hidden.
    QWidget* Target() const { return isVisible() ? target_.data() : nullptr; }
    static constexpr int kWidth = 2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit TFocusRing(QWidget* window);
    void focusMoved(QWidget* now);
    void follow();

    QPointer<QWidget> target_;
};
