#pragma once
// The help window: the topics of a help file in a contents list, one topic shown at a time.

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

    void SetContents(const QString& fileTitle, cgt::HelpFileContents contents);
    // Shows the topic; a context without a topic says so.
    void ShowTopic(int context);
    void ShowContentsList();

    int shownContext() const { return shownContext_; }
    QString shownTitle() const;
    QString shownText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void contentsRowChanged(int row);

    std::unique_ptr<Ui::HelpWindow> ui_;
    cgt::HelpFileContents contents_;
    QString fileTitle_;
    int shownContext_ = 0;
};
