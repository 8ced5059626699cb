#pragma once
// TChildForm: the base of every question screen. A borderless child that fills the frame's
// client panel, tells the frame which buttons to show and which help topic belongs to it, and
// asks its own message boxes. Values do not move here: the frame copies them between the
// controls' field tags and the store.

#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "store/dialogs.h"

class TTextLbl;

class TChildForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int ContextStop READ ContextStop WRITE setContextStop)
    Q_PROPERTY(int ContextCaution READ ContextCaution WRITE setContextCaution)
    Q_PROPERTY(int ContextNeedToKnow READ ContextNeedToKnow WRITE setContextNeedToKnow)
    Q_PROPERTY(bool ShowDeleteButton READ ShowDeleteButton WRITE setShowDeleteButton)
    Q_PROPERTY(bool ShowDeleteItemButton READ ShowDeleteItemButton WRITE setShowDeleteItemButton)
    Q_PROPERTY(bool ShowNextButton READ ShowNextButton WRITE setShowNextButton)
    Q_PROPERTY(bool ShowPrevButton READ ShowPrevButton WRITE setShowPrevButton)
    Q_PROPERTY(bool ShowYesButton READ ShowYesButton WRITE setShowYesButton)
    Q_PROPERTY(bool ShowNoButton READ ShowNoButton WRITE setShowNoButton)
    Q_PROPERTY(bool ShowCloseButton READ ShowCloseButton WRITE setShowCloseButton)
    Q_PROPERTY(bool HideNavigator READ HideNavigator WRITE setHideNavigator)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE setHelpContext)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    // 99 marks a screen that edits a worksheet row (tested by Save and autosave).
    Q_PROPERTY(int VertScrollStep READ VertScrollStep WRITE setVertScrollStep)

public:
    using TChildFormEvent = std::function<void(QObject* Sender)>;

    explicit TChildForm(QWidget* parent = nullptr);
    ~TChildForm() override;

    int ContextStop() const { return contextStop_; }
    void setContextStop(int v) { contextStop_ = v; }
    int ContextCaution() const { return contextCaution_; }
    void setContextCaution(int v) { contextCaution_ = v; }
    int ContextNeedToKnow() const { return contextNeedToKnow_; }
    void setContextNeedToKnow(int v) { contextNeedToKnow_ = v; }

    // Declared for the screens' form files; the frame never fires them.
    TChildFormEvent OnUserRemove;
    TChildFormEvent OnYesNoClick;
    TChildFormEvent OnPreviousClick;

    bool ShowDeleteButton() const { return showDeleteButton_; }
    void setShowDeleteButton(bool on) { showDeleteButton_ = on; }
    bool ShowDeleteItemButton() const { return showDeleteItemButton_; }
    void setShowDeleteItemButton(bool on) { showDeleteItemButton_ = on; }
    bool ShowNextButton() const { return showNextButton_; }
    void setShowNextButton(bool on) { showNextButton_ = on; }
    bool ShowPrevButton() const { return showPrevButton_; }
    void setShowPrevButton(bool on) { showPrevButton_ = on; }
    bool ShowYesButton() const { return showYesButton_; }
    void setShowYesButton(bool on) { showYesButton_ = on; }
    bool ShowNoButton() const { return showNoButton_; }
    void setShowNoButton(bool on) { showNoButton_ = on; }
    bool ShowCloseButton() const { return showCloseButton_; }
    void setShowCloseButton(bool on) { showCloseButton_ = on; }
    bool HideNavigator() const { return hideNavigator_; }
    void setHideNavigator(bool on) { hideNavigator_ = on; }
    int HelpContext() const { return helpContext_; }
    void setHelpContext(int context) { helpContext_ = context; }
    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }
    int VertScrollStep() const { return vertScrollStep_; }
    void setVertScrollStep(int step) { vertScrollStep_ = step; }

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
    // worksheet row is switched. Screens install their hooks here.
    virtual void FormShow() {}

    // F6 (forward) or Shift+F6 pressed on `focus`, a control of the screen: the control of the
    // screen's own next or previous pane, or nullptr when the focus goes to the frame's panes.
    virtual QWidget* PaneFocus(QWidget* focus, bool forward);

private:
    int contextStop_ = 0;
    int contextCaution_ = 0;
    int contextNeedToKnow_ = 0;
    bool showDeleteButton_ = false;
    bool showDeleteItemButton_ = false;
    bool showNextButton_ = false;
    bool showPrevButton_ = false;
    bool showYesButton_ = false;
    bool showNoButton_ = false;
    bool showCloseButton_ = false;
    bool hideNavigator_ = false;
    int helpContext_ = 0;
    int vertScrollStep_ = 8;
    bool tabByPosition_ = true;
};
