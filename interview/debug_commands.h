#pragma once
// The frame's debug commands, shown only in DebugMode: Jump asks for a screen number and shows
// it, Scan shows the screen after the shown one in the screen table's order, and Tags opens the
// tag inspector.

#include <QObject>
#include <QPointer>

class QPushButton;
class TFrameWnd;

namespace cgt {

class TfrmGetTag;

class DebugCommands : public QObject {
    Q_OBJECT

public:
    DebugCommands(TFrameWnd* frame, QPushButton* jump, QPushButton* scan, QPushButton* tags);

    // Shows the buttons in DebugMode and hides them otherwise.
    void UpdateButtons();

    void Jump();
    void Scan();
    void Tags();

private:
    TFrameWnd* frame_;
    QPushButton* jump_;
    QPushButton* scan_;
    QPushButton* tags_;
    QPointer<TfrmGetTag> tagInspector_;
};

} // namespace cgt
