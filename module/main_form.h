#pragma once
// The module's top-level window for a module run: the tool bar (Help, Save, Calculator, Notes
// and the host's disabled buttons), the interview frame below it, the data file name and the
// lodgment state in its title, the save command and the timed autosave. It refuses to close
// while a question screen is shown and tells the host through its close handler that the
// interview was closed or left.

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

class QCloseEvent;
class QFontMetrics;
class TFrameWnd;

namespace Ui {
class MainForm;
}

namespace cgt {

class TNotesForm;

// kApplicationTitle + " - " + CurrentFileName, with the lodgment details when the return is lodged.
QString MainWindowTitle();

// Hint text broken into lines of at most `width` pixels at blanks (a longer word stands alone).
QString WrapHint(const QString& text, const QFontMetrics& metrics, int width);

// Counts the autosave ticks since the window was created or since the last autosave round.
class AutosaveCounter {
public:
    // One tick; true when this tick must save: data changed, the return not lodged and at
    // least five ticks since the last round.
    bool Tick(bool dataChanged, bool lodged) {
        ++ticks_;
        return dataChanged && !lodged && ticks_ >= kTicksPerRound;
    }
    void Reset() { ticks_ = 0; }
    int ticks() const { return ticks_; }

    static constexpr int kTicksPerRound = 5;

private:
    int ticks_ = 0;
};

class TMainForm : public QWidget {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    TFrameWnd* Frame() const { return frame_; }

    void SetTitle();
    // Maximised wins over minimised; left, top, width and height are the outer bounds, kept as
    // the normal bounds of a maximised or minimised window.
    void SetStateAndBounds(bool maximised, bool minimised, int left, int top, int width,
                           int height);

    // May the interview close: false, after telling the user, while the shown screen's checks
    // refuse; otherwise the screen and an open worksheet row are stored and the screen left.
    bool FormCloseQuery();
    // Posts 1132 to the host window when the sender is this window or the frame's Close
    // button, 1131 for any other sender.
    void FormClose(QObject* sender);

    // The commands of the tool bar.
    void SaveBtnClick();
    void CalculBtnClick();
    void NotesBtnClick();
    void HelpBtnClick();
    // Message 1025: store the screen's values and close.
    void ExitCommand();
    // One tick of the autosave timer.
    void AutosaveTick();
    // Saves to `name` unless the return is lodged, with the shown screen's entries as they
    // stand (KeepShownEntries).
    void AutosaveTo(const std::string& name);
    // The shown screen's entries and an open worksheet row stored in the return as they stand,
    // unchecked, as closing stores them: a save keeps whatever has been typed. The checks run
    // when the screen is left.
    void KeepShownEntries();

    const AutosaveCounter& Autosave() const { return autosave_; }
    QTimer& Timer() { return timer_; }
    TNotesForm* Notes() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FirstTimerTick();
    void LayoutFrame();
    void ShowHyperlinks();
    void ShowContextHelp();
    bool EnterPressed();

    std::unique_ptr<Ui::MainForm> ui_;
    TFrameWnd* frame_ = nullptr;
    QPointer<TNotesForm> notes_;
    QTimer timer_;
    AutosaveCounter autosave_;
    bool resizeAttached_ = false;
    bool shownOnce_ = false;
};

} // namespace cgt
