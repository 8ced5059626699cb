#pragma once
// TFrameWnd: the interview frame. It shows one question screen at a time by screen number,
// keeps the position and the history of the interview, copies values between the screen's
// tagged controls and the field store, runs the screens' validate and next hooks, edits
// worksheet rows through the pick list and scales screens to the window.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
class TfrmGetTag;
}

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
    // Receives message 1025 on Alt+F4 in DebugMode.
    QObject* MainWindow = nullptr;

    // ---- interview ----
    // Leaves the current screen and shows the one at CurrentSection/CurrentIndex.
    void ShowCurrentScreen();
    void SaveScreenToStore();
    void LoadScreenFromStore();
    // May the current screen be left.
    bool RunValidateHook();
    // Selects CurrentScreen in the navigator.
    void SyncNavigator();
    // The shutdown close: finishes an open worksheet and clears InScreen.
    void CloseFrame();

    // ---- worksheets ----
    void OpenWorksheet(int worksheet);
    void OpenWorksheetRow(int worksheet, int row);
    void BuildPickList();
    void ShowWorksheetRow(int row);
    void RefreshPickList();
    void StoreWorksheetRow();
    void DeleteWorksheetRow(int row);
    void FinishWorksheet();
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

    int CurrentRow() const { return currentRow_; }
    int SelectedRow() const { return selectedRow_; }
    // Lines of the pick list (8-bit texts); empty while no worksheet is open.
    const std::vector<std::string>& PickList() const { return pickList_; }
    bool PickListOpen() const { return pickListOpen_; }
    // Shows or hides the worksheet panel (the screens show it while a worksheet is open).
    void ShowWorksheetPanel(bool on);

    // ---- scaling ----
    // Fits the screens to a client panel of this size; call after the main window resized.
    void Rescale(int clientWidth, int clientHeight);
    QSize ClientSize() const;
    int ScaleNum() const { return scaleNum_; }
    int ScaleDen() const { return scaleDen_; }
    bool Scaled() const { return scaled_; }

    // ---- for the main window and the screens ----
    int FailedScreen() const { return failedScreen_; }
    // The current screen edits a worksheet row (its scroll step is 99).
    bool WorksheetScreenMarked() const;
    QWidget* CurrentScreenWidget() const;
    TChildForm* CurrentChildForm() const;
    // The sender passed to the running NextHook: BtnNext, BtnYes, BtnNo or the navigator.
    QObject* NextHookSender() const { return hookSender_; }
    int PrevSection() const { return prevSection_; }
    int PrevIndex() const { return prevIndex_; }
    // The screen is being left by Prev: screens skip their entry checks.
    bool BackStep() const { return backStep_; }
    // Called by a Next hook that refuses the move: Next then keeps the screen as it is.
    void StayOnScreen() { stay_ = true; }

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
    void JumpBtnClick();
    void btnScanClick();
    void btnTagsClick();
    void lstPickListClick();
    void btnRemoveClick();
    void NavigatorSelectItem(TNavigatorFrame* sender, TNavigatorItem* item);
    void LinkClick(TTextLbl* sender, int jumpId, const QString& linkUrl);
    // F6, Shift+F6 and (AccessibilityMode) F8 in a grid of the screen.
    void GridKeyDown(int* key, Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // False when the leave check kept the current screen.
    bool showCurrentScreen();
    void callNextHook(QObject* sender);
    void leaveInterview();
    void setPosition(int screen);
    void updateDebugButtons();
    void applyScreenButtons();
    void focusFirstControl();
    void sortTabOrderByPosition();
    void scaleScreen();
    void applyBarFonts(bool base);
    bool allTaxEditsEmpty() const;
    void fillPickListBox();
    void selectPickLine(int line);
    void moveFocusFromGrid(TXGrid* grid, bool forward);

    std::unique_ptr<Ui::TFrameWnd> ui_;
    QPointer<TChildForm> screen_;
    QPointer<cgt::TfrmGetTag> tagInspector_;
    QObject* hookSender_ = nullptr;

    int failedScreen_ = 0;
    int prevSection_ = -1;
    int prevIndex_ = -1;
    bool backStep_ = false;
    bool stay_ = false;
    bool skipCheck_ = false;
    std::uint16_t currentRow_ = 0;
    int selectedRow_ = 0;
    std::vector<std::string> pickList_;
    bool pickListOpen_ = false;
    bool fillingList_ = false;
    bool syncingNavigator_ = false;
    bool showing_ = false;
    bool showPending_ = false;

    int designWidth_ = 0;
    int designHeight_ = 0;
    int scaleNum_ = 1;
    int scaleDen_ = 1;
    bool scaled_ = false;
    int baseNavigatorFont_ = 0;
    int baseTitleFont_ = 0;
    int baseButtonFont_ = 0;
};
