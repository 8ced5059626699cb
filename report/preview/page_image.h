#pragma once
// The preview's page image: a picture the size of the page at the zoom, which reports mouse
// presses on it.

#include <QImage>
#include <QWidget>

class TPageImage : public QWidget {
    Q_OBJECT
public:
    explicit TPageImage(QWidget* parent = nullptr);

    QImage& Picture() { return picture_; }
    // A cleared picture of the size; the widget takes the size too.
    void ResizePicture(const QSize& size, double dotsPerInch);

signals:
    void MouseDown(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};
