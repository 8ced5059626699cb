#pragma once
// TFrameWnd: the interview frame. It shows one question screen at a time by screen number and
// keeps the position and the history of the interview. It asks the shown screen where Next,
// Yes, No lead and whether it may be left (interview/screen_protocol.h), and alone decides to
// move on or to keep the screen with the refusal's message and focus. Values move between the
// screen's tagged controls and the store through the value binder, the worksheet row beside a
// screen is edited through the worksheet picker, and screens are fitted to the window by the
// screen scale.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "interview/screen_protocol.h"
#include "interview/screen_scale.h"

class QListWidget;
class QPushButton;
class TChildForm;
class TNavigatorFrame;
class TNavigatorItem;
class TTextLbl;
class TXGrid;

namespace Ui {
class TFrameWnd;
}

namespace cgt {
class DebugCommands;
class WorksheetPicker;
} // namespace cgt

class TFrameWnd : public QWidget {
    Q_OBJECT

public:
    explicit TFrameWnd(QWidget* parent = nullptr);
    ~TFrameWnd() override;

    // The frame of the module run, nullptr while there is none. Screens reach it here.
    static TFrameWnd* Instance();

    // ---- set by the owner (the main window) ----
    // The main window's close query: may the interview close. Without it the frame agrees
    // while no question screen is shown.
    std::function<bool(QObject* sender)> CloseQuery;
    // The main window's close handler: posts 1132 for the Close button or the main window,
    // 1131 for any other sender.
    std::function<void(QObject* sender)> CloseHandler;
    // Makes the main window's New, Open, Save, Calculator and Notes buttons visible (Jump).
    std::function<void()> ShowHostButtons;
    // Receives message 1025 on Alt+F4 in DebugMode; closed by Alt+F4 otherwise.
    QObject* MainWindow = nullptr;

    // ---- interview ----
    // Leaves the current screen and shows the one at CurrentSection/CurrentIndex.
    void ShowCurrentScreen();
    void SaveScreenToStore();
    void LoadScreenFromStore();
    // May the shown screen be left: its check (CheckedScreen) passes. A refusal is shown and
    // focused, and the screen stays.
    bool CheckShownScreen();
    // Selects CurrentScreen in the navigator.
    void SyncNavigator();
    // Marks the navigator's topic of a screen as one to visit again, or clears the mark.
    void MarkForVisit(int screen, bool needed);
    // The shutdown close: finishes an open worksheet and clears InScreen.
    void CloseFrame();
    // The interview is closed on a screen: the screen's values and an open worksheet row are
    // stored and the screen is left, its position kept for the next run. No checks run here.
    void LeaveForClose();
    // Sets CurrentSection and CurrentIndex to a screen number.
    void SetPosition(int screen);
    // Shows a screen as the navigator and the debug Jump do: no Yes or No left over.
    void JumpTo(int screen);

    // ---- worksheets ----
    void OpenWorksheet(int worksheet);
    void OpenWorksheetRow(int worksheet, int row);
    void ShowWorksheetRow(int row);
    void RefreshPickList();
    void StoreWorksheetRow();
    void DeleteWorksheetRow(int row);
    void FinishWorksheet();
    // A row read and written by a calculation, without the pick list.
    void FetchWorksheetRow(int worksheet, int row);
    void PutWorksheetRow(int worksheet, int row);
    // Opens the row of the event a screen begins: row ReopenRowKey when ReopenRow is set (the
    // row is being edited again), otherwise a new row.
    void OpenEventRow(int worksheet);

    // Worksheet number that the next worksheet screen opens; set by the question screens.
    int WorksheetKind = 0;
    // The next worksheet screen reopens row ReopenRowKey instead of starting a new row.
    bool ReopenRow = false;
    int ReopenRowKey = 0;

    int CurrentRow() const;
    int SelectedRow() const;
    // Lines of the pick list (8-bit texts); empty while no worksheet is open.
    const std::vector<std::string>& PickList() const;
    bool PickListOpen() const;
    // Shows or hides the worksheet panel (the screens show it while a worksheet is open).
    void ShowWorksheetPanel(bool on);
    // A command of the screen being made, placed in the worksheet panel below Delete and next
    // to it in the tab order; the frame takes it and removes it with the screen.
    void AddWorksheetCommand(QPushButton* command);

    // ---- scaling ----
    // Fits the screens to a client panel of this size; call after the main window resized.
    void Rescale(int clientWidth, int clientHeight);
    QSize ClientSize() const;
    int ScaleNum() const { return scale_.Num(); }
    int ScaleDen() const { return scale_.Den(); }
    bool Scaled() const { return scale_.Scaled(); }

    // ---- for the main window and the screens ----
    int FailedScreen() const { return failedScreen_; }
    // The shown screen edits a worksheet row: the frame opened one for it.
    bool EditsWorksheetRow() const;
    // The shown screen checks its entries before it is left (CheckedScreen).
    bool ScreenChecksEntries() const;
    QWidget* CurrentScreenWidget() const;
    TChildForm* CurrentChildForm() const;
    int PrevSection() const { return prevSection_; }
    int PrevIndex() const { return prevIndex_; }
    // Enter: presses the screen's default button, Yes where the screen asks a question, else
    // Next. The focus goes to the button first, so that the field being left is checked as a
    // click would check it. False when neither button is offered.
    bool PressDefaultButton();
    // F6 and Shift+F6: the focus moves to the next or previous pane of the frame that is shown
    // (the screen's first control, the navigator, the worksheet pick list, the buttons), or to
    // the screen's own pane that the screen names (TChildForm::PaneFocus).
    void FocusNextPane(bool forward);

    Ui::TFrameWnd& ui() { return *ui_; }
    QPushButton* YesButton() const;
    QPushButton* NoButton() const;
    QPushButton* NextButton() const;
    QPushButton* PrevButton() const;
    QPushButton* CloseButton() const;
    TNavigatorFrame* Navigator() const;
    QListWidget* PickListBox() const;
    TTextLbl* WorksheetHeader() const;

public slots:
    void BtnNextClick();
    void BtnPrevClick();
    void BtnYesClick();
    void BtnNoClick();
    void BtnCancelClick();
    // More; a control of a screen connected here shows its own "HelpContext" property.
    void BtnIntHelpClick();
    void NavigatorSelectItem(TNavigatorFrame* sender, TNavigatorItem* item);
    void LinkClick(TTextLbl* sender, int jumpId, const QString& linkUrl);
    // F6, Shift+F6 and (AccessibilityMode) F8 in a grid of the screen.
    void GridKeyDown(int* key, Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Whether the shown screen is checked before it is taken down.
    enum class LeaveCheck { Run, Passed };
    // False when the leave check kept the current screen.
    bool showCurrentScreen(LeaveCheck check = LeaveCheck::Run);
    bool leaveCurrentScreen(LeaveCheck check);
    void placeScreen(TChildForm* form);
    // Asks the shown screen where `answer` leads and moves the position there; false when the
    // screen refused (the refusal is shown).
    bool goOn(cgt::Answer answer);
    // Yes or No: the move is shown once the answer's click has returned.
    void answerQuestion(cgt::Answer answer);
    void showRefusal(const cgt::ScreenRefusal& refusal);
    // The interview leaves its screens or is closed: the owner's close query and handler.
    void askToClose(QObject* sender);
    void returnToShownScreen();
    void showAfterJump(LeaveCheck check = LeaveCheck::Run);
    void applyScreenButtons();
    void focusFirstControl();
    // The button bar's buttons in their tab order.
    std::array<QPushButton*, 7> barButtons() const;
    void updatePrevButton();

    std::unique_ptr<Ui::TFrameWnd> ui_;
    QPointer<TChildForm> screen_;
    QPointer<QPushButton> worksheetCommand_;
    cgt::DebugCommands* debug_ = nullptr;
    cgt::WorksheetPicker* picker_ = nullptr;
    cgt::ScreenScale scale_;

    int failedScreen_ = 0;
    int prevSection_ = -1;
    int prevIndex_ = -1;
    bool backStep_ = false;
    bool skipCheck_ = false;
    bool syncingNavigator_ = false;
    bool showing_ = false;
    bool showPending_ = false;
};
