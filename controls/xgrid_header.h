#pragma once
// The title row of the worksheet grid.

#include <QHeaderView>

class TXGridHost;

// The title row: fixed colour, titles inset 4 and 2 pixels, aligned per column, word-wrapped,
// black; the column hints while the mouse is over it.
class TXGridHeader : public QHeaderView {
public:
    explicit TXGridHeader(TXGridHost* grid);

    int height_ = 20;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical) const override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TXGridHost* grid_;
};
