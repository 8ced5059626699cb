#pragma once
// The help window: the topics of a help file in a contents list, one topic shown at a time.

#include <QRect>
#include <QWidget>

#include <memory>

#include "controls/core/help_file.h"

namespace Ui {
class HelpWindow;
}

class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);
    ~THelpWindow() override;

    void SetContents(cgt::HelpFileContents contents);
    // Shows the topic; a context without a topic says so.
    void ShowTopic(int context);
    void ShowContentsList();

    // Places the window, before it opens, beside `owner`: to its right, else to its left, and
    // where the screen has no room beside it, over it but clear of its button bar.
    void PlaceBeside(const QWidget& owner);
    // Where a window of `size` goes beside `owner` on `screen` without covering `keepClear`
    // (all frame rectangles in screen coordinates).
    static QRect Placement(const QRect& owner, const QRect& keepClear, const QRect& screen,
                           QSize size);

    int shownContext() const { return shownContext_; }
    QString shownTitle() const;
    QString shownText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void contentsRowChanged(int row);

    std::unique_ptr<Ui::HelpWindow> ui_;
    cgt::HelpFileContents contents_;
    QSize preferredSize_; // the size it opens at where there is room
    int shownContext_ = 0;
};
