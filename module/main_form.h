#pragma once
// The module's top-level window for a module run. It shows the data file name and the
// lodgment state in its title, refuses to close while a question screen is shown, and tells
// the host through its close handler that the interview was closed or left.

#include <QMainWindow>
#include <QString>

class QCloseEvent;

namespace cgt {

// "Tesmo 2004 - " + CurrentFileName, with the lodgment details when the return is lodged.
QString MainWindowTitle();

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    void SetTitle();
    // Maximised wins over minimised; left, top, width and height are the outer bounds, kept as
    // the normal bounds of a maximised or minimised window.
    void SetStateAndBounds(bool maximised, bool minimised, int left, int top, int width,
                           int height);

    // False while a question screen is shown, after telling the user.
    bool FormCloseQuery();
    // Posts 1132 to the host window when the sender is this window (or the frame's Close
    // button), 1131 for any other sender.
    void FormClose(QObject* sender);

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace cgt
