#pragma once
// TChildForm: the base of every question screen. A borderless child that fills the frame's
// client panel, tells the frame which buttons to show and which help topic belongs to it, and
// asks its own message boxes. Values do not move here: the frame copies them between the
// controls' field tags and the store. The frame asks the screen where Next, Yes, No lead
// (interview/screen_protocol.h); a screen that checks its entries is also a CheckedScreen.

#include <QString>
#include <QWidget>

#include "interview/screen_protocol.h"
#include "store/dialogs.h"

class TChildForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool ShowNextButton READ ShowNextButton WRITE setShowNextButton)
    Q_PROPERTY(bool ShowPrevButton READ ShowPrevButton WRITE setShowPrevButton)
    Q_PROPERTY(bool ShowYesButton READ ShowYesButton WRITE setShowYesButton)
    Q_PROPERTY(bool ShowNoButton READ ShowNoButton WRITE setShowNoButton)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE setHelpContext)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    explicit TChildForm(QWidget* parent = nullptr);
    ~TChildForm() override;

    bool ShowNextButton() const { return showNextButton_; }
    void setShowNextButton(bool on) { showNextButton_ = on; }
    bool ShowPrevButton() const { return showPrevButton_; }
    void setShowPrevButton(bool on) { showPrevButton_ = on; }
    bool ShowYesButton() const { return showYesButton_; }
    void setShowYesButton(bool on) { showYesButton_ = on; }
    bool ShowNoButton() const { return showNoButton_; }
    void setShowNoButton(bool on) { showNoButton_ = on; }
    int HelpContext() const { return helpContext_; }
    void setHelpContext(int context) { helpContext_ = context; }
    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // Plain text of the first visible attention label of the screen; empty when there is none.
    QString AttentionText() const;

    // In AccessibilityMode the frame orders the tab stops by position while this is set.
    bool TabByPosition() const { return tabByPosition_; }
    void setTabByPosition(bool on) { tabByPosition_ = on; }

    // The screens' message box: kind 3 (confirmation) shows the question icon, and the button
    // set may add Help (cgt::mbHelp). Returns the pressed button.
    int ScreenMsgBox(const QString& text, int kind, int buttons);
    // Information box with an OK button: the screens' validation messages.
    int ScreenInfo(const QString& text);

    // The show handler: the frame runs it after loading the screen's values and again when a
    // worksheet row is switched.
    virtual void FormShow() {}

    // The user goes on with `answer`: where to, or why not. The frame asks before it checks the
    // screen (CheckedScreen) on leaving it. Without its own rule a screen goes to the next
    // screen of its row.
    virtual cgt::NextStep Next(cgt::Answer answer);

    // The worksheet row the frame opened for the screen, its values stored, holds nothing worth
    // keeping: the frame then drops the row. By default, when its scratch tags hold nothing.
    virtual bool OpenRowEmpty() const;

    // F6 (forward) or Shift+F6 pressed on `focus`, a control of the screen: the control of the
    // screen's own next or previous pane, or nullptr when the focus goes to the frame's panes.
    virtual QWidget* PaneFocus(QWidget* focus, bool forward);

private:
    bool showNextButton_ = false;
    bool showPrevButton_ = false;
    bool showYesButton_ = false;
    bool showNoButton_ = false;
    int helpContext_ = 0;
    bool tabByPosition_ = true;
};
