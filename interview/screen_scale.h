#pragma once
// Scaling of the question screens to the frame's client panel. The ratio is the client size
// over the size the panel had when the frame was first shown, by the side that grew least; a
// new screen's controls, positions and fonts are scaled by it, and the frame's bars take their
// fonts scaled from their base sizes.

#include <QSize>

#include <vector>

class QWidget;

namespace cgt {

class ScreenScale {
public:
    void SetDesignSize(QSize client) { design_ = client; }
    bool HasDesignSize() const { return design_.width() > 0; }

    // Widgets of the frame's bars whose font follows the ratio from the given base size.
    void AddBarFonts(std::vector<QWidget*> widgets, int basePointSize);

    // Fits to a client panel of this size; true when the ratio changed, so that the shown
    // screen must be made again.
    bool Fit(int clientWidth, int clientHeight);

    // Scales a new screen's controls and fonts (nothing at the ratio 1).
    void ScaleScreen(QWidget* screen);
    // A new screen is about to be made: none is scaled yet.
    void ScreenReplaced() { scaled_ = false; }

    int Num() const { return num_; }
    int Den() const { return den_; }
    bool Scaled() const { return scaled_; }

private:
    struct BarFonts {
        std::vector<QWidget*> widgets;
        int base = 0;
    };
    void applyBarFonts(bool base);

    QSize design_;
    std::vector<BarFonts> bars_;
    int num_ = 1;
    int den_ = 1;
    bool scaled_ = false;
};

} // namespace cgt
