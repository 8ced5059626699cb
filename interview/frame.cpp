#include "interview/frame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>

#include <algorithm>
#include <utility>

#include "controls/accessible_names.h"
#include "controls/help_service.h"
#include "controls/module_message.h"
#include "controls/shell_service.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "dialogs/column_description.h"
#include "interview/child_form.h"
#include "interview/debug_commands.h"
#include "interview/focus_order.h"
#include "interview/navigator_data.h"
#include "interview/navigator_frame.h"
#include "interview/screen_registry.h"
#include "interview/value_binder.h"
#include "interview/worksheet_picker.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/worksheet_rows.h"
#include "ui_frame.h"

using namespace cgt;

namespace {

TFrameWnd* gFrame = nullptr;

bool Shown(const QWidget* w) {
    return !w->isHidden();
}

} // namespace

// -----------------------------------------------------------------------------------------------
// Creation

TFrameWnd::TFrameWnd(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TFrameWnd>()) {
    ui_->setupUi(this);
    gFrame = this;

    connect(ui_->BtnNext, &QPushButton::clicked, this, &TFrameWnd::BtnNextClick);
    connect(ui_->BtnPrev, &QPushButton::clicked, this, &TFrameWnd::BtnPrevClick);
    connect(ui_->BtnYes, &QPushButton::clicked, this, &TFrameWnd::BtnYesClick);
    connect(ui_->BtnNo, &QPushButton::clicked, this, &TFrameWnd::BtnNoClick);
    connect(ui_->BtnCancel, &QPushButton::clicked, this, &TFrameWnd::BtnCancelClick);
    connect(ui_->BtnIntHelp, &QPushButton::clicked, this, &TFrameWnd::BtnIntHelpClick);
    debug_ = new DebugCommands(this, ui_->JumpBtn, ui_->btnScan, ui_->btnTags);

    picker_ = new WorksheetPicker(ui_->lstPickList, ui_->btnRemove, ui_->WsheetHdrLbl,
                                  {.shown = [this] { return Run().InScreen && screen_; },
                                   .save = [this] { SaveScreenToStore(); },
                                   .reload =
                                       [this] {
                                           LoadScreenFromStore();
                                           screen_->FormShow();
                                       },
                                   .validate = [this] { return CheckShownScreen(); },
                                   .rowEmpty = [this] { return screen_->OpenRowEmpty(); },
                                   .focusFirst = [this] { focusFirstControl(); }},
                                  this);

    // Alt+F4 is previewed by the frame before its controls see it: the exit command in
    // DebugMode, else the main window's close.
    auto* exitKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    exitKey->setContext(Qt::WindowShortcut);
    connect(exitKey, &QShortcut::activated, this, [this] {
        if (Run().DebugMode && MainWindow)
            QCoreApplication::postEvent(MainWindow, new ModuleMessageEvent(kMsgExitCommand));
        else if (auto* window = qobject_cast<QWidget*>(MainWindow))
            window->close();
    });

    TNavigatorFrame* navigator = ui_->NavigatorFrame;
    navigator->Initialise(&TNavigatorData::Instance());
    navigator->SetOnSelectItem([this](TNavigatorFrame* sender, TNavigatorItem* item) {
        NavigatorSelectItem(sender, item);
    });
    navigator->hide();
    ui_->ActionPanel->hide();
    ui_->BtnYes->hide();
    ui_->BtnNo->hide();

    scale_.AddBarFonts({navigator}, navigator->font().pointSize());
    scale_.AddBarFonts({ui_->TitleLabel}, ui_->TitleLabel->font().pointSize());
    const QList<QPushButton*> buttons = ui_->BtnPanel->findChildren<QPushButton*>();
    scale_.AddBarFonts(std::vector<QWidget*>(buttons.begin(), buttons.end()),
                       ui_->BtnCancel->font().pointSize());

    debug_->UpdateButtons();
    // Selections are reported once the first rescale has run.
    navigator->setActive(false);
}

TFrameWnd::~TFrameWnd() {
    if (gFrame == this) gFrame = nullptr;
    delete screen_.data();
}

TFrameWnd* TFrameWnd::Instance() {
    return gFrame;
}

QPushButton* TFrameWnd::YesButton() const {
    return ui_->BtnYes;
}
QPushButton* TFrameWnd::NoButton() const {
    return ui_->BtnNo;
}
QPushButton* TFrameWnd::NextButton() const {
    return ui_->BtnNext;
}
QPushButton* TFrameWnd::PrevButton() const {
    return ui_->BtnPrev;
}
QPushButton* TFrameWnd::CloseButton() const {
    return ui_->BtnCancel;
}
TNavigatorFrame* TFrameWnd::Navigator() const {
    return ui_->NavigatorFrame;
}
QListWidget* TFrameWnd::PickListBox() const {
    return ui_->lstPickList;
}
TTextLbl* TFrameWnd::WorksheetHeader() const {
    return ui_->WsheetHdrLbl;
}
QWidget* TFrameWnd::CurrentScreenWidget() const {
    return screen_.data();
}
TChildForm* TFrameWnd::CurrentChildForm() const {
    return screen_.data();
}
bool TFrameWnd::EditsWorksheetRow() const {
    return screen_ && picker_->IsOpen();
}
bool TFrameWnd::ScreenChecksEntries() const {
    return dynamic_cast<const CheckedScreen*>(screen_.data()) != nullptr;
}
QSize TFrameWnd::ClientSize() const {
    return ui_->ClientPanel->size();
}

void TFrameWnd::ShowWorksheetPanel(bool on) {
    ui_->ActionPanel->setVisible(on);
}

void TFrameWnd::AddWorksheetCommand(QPushButton* command) {
    delete worksheetCommand_.data();
    worksheetCommand_ = command;
    ui_->ActionLayout->addWidget(command);
    QWidget::setTabOrder(ui_->btnRemove, command);
}

bool TFrameWnd::event(QEvent* event) {
    if (ModuleMessageEvent::numberOf(event) == kMsgShowScreen) {
        if (showing_)
            showPending_ = true; // never destroy the screen under a running show
        else
            ShowCurrentScreen();
        return true;
    }
    return QWidget::event(event);
}

void TFrameWnd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!scale_.HasDesignSize()) {
        if (layout()) layout()->activate();
        scale_.SetDesignSize(ui_->ClientPanel->size());
    }
}

// -----------------------------------------------------------------------------------------------
// Showing a screen

void TFrameWnd::SetPosition(int screen) {
    Run().CurrentSection = screen / 100;
    Run().CurrentIndex = screen % 100;
}

void TFrameWnd::ShowCurrentScreen() {
    showCurrentScreen();
}

// Runs the leave check and takes the current screen down. False when the check kept it.
bool TFrameWnd::leaveCurrentScreen(LeaveCheck check) {
    ModuleRunState& run = Run();
    const bool moved = run.CurrentSection != prevSection_ || run.CurrentIndex != prevIndex_;
    if (std::exchange(skipCheck_, false)) check = LeaveCheck::Passed;
    if (check == LeaveCheck::Run && run.InScreen && moved && !CheckShownScreen()) {
        returnToShownScreen();
        return false;
    }
    if (!run.InScreen) return true;
    SaveScreenToStore();
    if (run.CurrentWorksheet != 0) FinishWorksheet();
    if (worksheetCommand_) {
        ui_->ActionLayout->removeWidget(worksheetCommand_);
        worksheetCommand_->hide();
        worksheetCommand_->deleteLater();
        worksheetCommand_.clear();
    }
    if (screen_) {
        TChildForm* old = screen_.data();
        screen_.clear();
        ui_->ClientLayout->removeWidget(old);
        old->hide();
        old->deleteLater();
    }
    run.InScreen = false;
    ui_->NavigatorFrame->hide();
    ui_->ActionPanel->hide();
    return true;
}

bool TFrameWnd::showCurrentScreen(LeaveCheck check) {
    ModuleRunState& run = Run();
    const bool outer = !showing_;
    showing_ = true;
    struct Done {
        TFrameWnd* frame;
        bool outer;
        ~Done() {
            if (!outer) return;
            frame->showing_ = false;
            if (frame->showPending_) {
                frame->showPending_ = false;
                QCoreApplication::postEvent(frame, new ModuleMessageEvent(kMsgShowScreen));
            }
        }
    } done{this, outer};

    if (!leaveCurrentScreen(check)) return false;
    if (prevSection_ > 0 && prevSection_ != run.CurrentSection) run.DataChanged = true;

    ui_->BtnYes->hide();
    ui_->BtnNo->hide();
    ui_->BtnCancel->show();
    ui_->BtnPrev->show();
    debug_->UpdateButtons();

    run.CurrentScreen = run.CurrentSection * 100 + run.CurrentIndex;
    scale_.ScreenReplaced();

    // A number without a screen: the interview has left the module.
    TChildForm* form = CreateScreen(run.CurrentScreen);
    if (!form) {
        failedScreen_ = run.CurrentScreen;
        askToClose(ui_->BtnYes);
        return true;
    }

    run.InScreen = true;
    if (!backStep_ && (run.CurrentSection != prevSection_ || run.CurrentIndex != prevIndex_))
        run.ScreenHistory.push_back(run.CurrentScreen);
    backStep_ = false;
    prevSection_ = run.CurrentSection;
    prevIndex_ = run.CurrentIndex;
    ui_->Label1->setText(QString::number(run.CurrentScreen));

    screen_ = form;
    applyScreenButtons();
    updatePrevButton();
    placeScreen(form);

    form->show();
    form->FormShow();
    if (!screen_) return true;
    form->raise();
    QCoreApplication::processEvents();
    if (!screen_) return true;
    form->repaint();
    if (!form->Caption().isEmpty()) ui_->TitleLabel->setText(form->Caption());
    ui_->BtnNext->setVisible(!Shown(ui_->BtnNo));
    if (Shown(ui_->NavigatorFrame)) SyncNavigator();
    // Screen readers name the controls by the questions beside them.
    NameControlsFromLabels(form);
    NameControlsFromLabels(ui_->ActionPanel);

    focusFirstControl();

    QCoreApplication::processEvents();
    if (screen_)
        for (TTextLbl* label : screen_->findChildren<TTextLbl*>())
            label->repaint();
    return true;
}

// Values, placement, scaling, grid keys and keyboard aids of a new screen.
void TFrameWnd::placeScreen(TChildForm* form) {
    LoadScreenFromStore();
    ui_->ClientLayout->addWidget(form);
    scale_.ScaleScreen(form);
    for (TXGrid* grid : form->findChildren<TXGrid*>())
        connect(grid, &TXGrid::OnKeyDown, this, &TFrameWnd::GridKeyDown, Qt::UniqueConnection);
    if (Run().AccessibilityMode) {
        for (TTextLbl* label : form->findChildren<TTextLbl*>())
            label->setMode(TTextLbl::tlmVisionImpaired);
        if (form->TabByPosition()) SortTabOrderByPosition(form);
    }
    // After the screen's last control, Tab goes to the frame's buttons.
    QWidget* previous = LastTabStopOf(form);
    for (QWidget* button : barButtons()) {
        if (previous) QWidget::setTabOrder(previous, button);
        previous = button;
    }
}

void TFrameWnd::askToClose(QObject* sender) {
    const bool agree = CloseQuery ? CloseQuery(this) : !Run().InScreen;
    if (agree && CloseHandler) CloseHandler(sender);
}

void TFrameWnd::applyScreenButtons() {
    ui_->BtnYes->setVisible(screen_->ShowYesButton());
    ui_->BtnNo->setVisible(screen_->ShowNoButton());
    ui_->BtnNext->setVisible(screen_->ShowNextButton());
    ui_->BtnPrev->setVisible(screen_->ShowPrevButton());
    ui_->BtnIntHelp->show();
    ui_->BtnNext->setVisible(!Shown(ui_->BtnNo));
}

std::array<QPushButton*, 7> TFrameWnd::barButtons() const {
    // The answers and Next first, so that Tab from the last field and Enter go on.
    return {ui_->BtnYes,    ui_->BtnNo,      ui_->BtnNext, ui_->BtnPrev,
            ui_->BtnCancel, ui_->BtnIntHelp, ui_->JumpBtn};
}

void TFrameWnd::focusFirstControl() {
    if (!screen_) return;
    screen_->setFocus(Qt::OtherFocusReason);
    // The next control of the frame's tab order after the screen: its first control, or a
    // button of the bar when the screen has none.
    QWidget* target = NextTabStop(this, screen_.data());
    if (!target || !screen_->isAncestorOf(target)) {
        // A screen without controls: the tab order goes on with the bar's buttons.
        target = nullptr;
        for (QPushButton* button : barButtons())
            if (!target && Shown(button) && button->isEnabled()) target = button;
    }
    if (!target) return;
    target->setFocus(Qt::TabFocusReason);
    if (Run().AccessibilityMode) return;
    if (ui_->BtnPanel->isAncestorOf(target)) {
        if (Shown(ui_->BtnYes) && ui_->BtnYes->isEnabled()) {
            ui_->BtnYes->setFocus(Qt::OtherFocusReason);
        } else if (Shown(ui_->BtnNext)) {
            ui_->BtnNext->setEnabled(true);
            ui_->BtnNext->setFocus(Qt::OtherFocusReason);
        }
    }
}

// -----------------------------------------------------------------------------------------------
// Values

void TFrameWnd::SaveScreenToStore() {
    if (screen_) SaveControlsToStore(screen_.data());
}

void TFrameWnd::LoadScreenFromStore() {
    if (!screen_) return;
    for (QWidget* w : screen_->findChildren<QWidget*>()) {
        w->setToolTip(QString());
        if (auto* label = qobject_cast<TTextLbl*>(w))
            connect(label, &TTextLbl::OnJumpClick, this, &TFrameWnd::LinkClick,
                    Qt::UniqueConnection);
    }
    LoadControlsFromStore(screen_.data());
}

bool TFrameWnd::CheckShownScreen() {
    auto* checked = dynamic_cast<CheckedScreen*>(screen_.data());
    if (!checked) return true;
    const auto refusal = checked->CheckLeave(backStep_ ? Direction::Back : Direction::Onward);
    if (!refusal) return true;
    showRefusal(*refusal);
    return false;
}

// The one way a refusal reaches the user: its message in the screen's information box, then
// the cursor in its field or cell.
void TFrameWnd::showRefusal(const ScreenRefusal& refusal) {
    if (!refusal.message.isEmpty() && screen_) screen_->ScreenInfo(refusal.message);
    QWidget* field = refusal.field.data();
    if (!field) return;
    auto* grid = qobject_cast<TXGrid*>(field);
    if (grid && refusal.cell) {
        grid->TableEdited(); // the check may have changed cells
        grid->FocusCell(refusal.cell->col, refusal.cell->row);
    } else {
        field->setFocus();
    }
}

// The leave check kept the shown screen: the position returns to it.
void TFrameWnd::returnToShownScreen() {
    SetPosition(prevSection_ * 100 + prevIndex_);
    Run().CurrentScreen = prevSection_ * 100 + prevIndex_;
    SyncNavigator();
}

void TFrameWnd::SyncNavigator() {
    syncingNavigator_ = true;
    ui_->NavigatorFrame->SelectItemByScreenID(Run().CurrentScreen);
    syncingNavigator_ = false;
}

void TFrameWnd::MarkForVisit(int screen, bool needed) {
    ui_->NavigatorFrame->MarkForVisit(screen, needed);
}

void TFrameWnd::LeaveForClose() {
    if (!Run().InScreen) return;
    SaveScreenToStore();
    if (Run().CurrentWorksheet != 0) FinishWorksheet();
    Run().InScreen = false;
}

void TFrameWnd::CloseFrame() {
    if (Run().CurrentWorksheet != 0) FinishWorksheet();
    Run().InScreen = false;
    hide();
}

// -----------------------------------------------------------------------------------------------
// Navigation

bool TFrameWnd::goOn(Answer answer) {
    ModuleRunState& run = Run();
    if (!run.InScreen || !screen_) {
        SetPosition(NextScreen(run.CurrentScreen));
        return true;
    }
    const NextStep step = screen_->Next(answer);
    if (const auto* refusal = std::get_if<ScreenRefusal>(&step)) {
        showRefusal(*refusal);
        return false;
    }
    if (answer != Answer::Topic) SetPosition(std::get<ScreenTarget>(step).From(run.CurrentScreen));
    return true;
}

void TFrameWnd::BtnNextClick() {
    // A refusal keeps the screen as it is: re-showing would store and reopen the row being
    // entered.
    if (!goOn(Answer::Next)) return;
    ui_->BtnNext->setEnabled(false);
    ShowCurrentScreen();
    ui_->BtnNext->setEnabled(true);
    updatePrevButton();
}

// Prev goes back in the history: without an earlier screen there is nowhere to go.
void TFrameWnd::updatePrevButton() {
    ui_->BtnPrev->setEnabled(Run().ScreenHistory.size() >= 2);
}

bool TFrameWnd::PressDefaultButton() {
    QPushButton* button = nullptr;
    for (QPushButton* candidate : {ui_->BtnYes, ui_->BtnNext})
        if (!button && Shown(candidate) && candidate->isEnabled()) button = candidate;
    if (!button) return false;
    button->setFocus(Qt::OtherFocusReason);
    // A field whose check refused takes the focus back: the user stays in it.
    if (QApplication::focusWidget() == button && !TCustomNumEdit::TakingFocusBack())
        button->click();
    return true;
}

void TFrameWnd::FocusNextPane(bool forward) {
    QWidget* focus = QApplication::focusWidget();
    if (screen_ && focus && screen_->isAncestorOf(focus))
        if (QWidget* pane = screen_->PaneFocus(focus, forward)) {
            pane->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    QWidget* screenFirst = screen_ ? NextTabStop(this, screen_.data()) : nullptr;
    if (screenFirst && !screen_->isAncestorOf(screenFirst)) screenFirst = nullptr;
    QWidget* button = nullptr;
    for (QPushButton* b : {ui_->BtnYes, ui_->BtnNext, ui_->BtnPrev, ui_->BtnCancel})
        if (!button && Shown(b) && b->isEnabled()) button = b;
    QWidget* tree = ui_->NavigatorFrame->navigatorTreeView();
    MoveFocusToNextPane(this,
                        {{screen_.data(), screenFirst},
                         {tree, tree},
                         {ui_->lstPickList, ui_->lstPickList},
                         {ui_->BtnPanel, button}},
                        forward);
}

void TFrameWnd::BtnYesClick() {
    answerQuestion(Answer::Yes);
}

void TFrameWnd::BtnNoClick() {
    answerQuestion(Answer::No);
}

void TFrameWnd::answerQuestion(Answer answer) {
    // The screen is replaced only after the click that answered it has returned.
    if (goOn(answer)) QCoreApplication::postEvent(this, new ModuleMessageEvent(kMsgShowScreen));
    ui_->BtnNext->setEnabled(true);
}

void TFrameWnd::BtnPrevClick() {
    auto& history = Run().ScreenHistory;
    if (history.size() < 2) return;
    const std::int32_t left = history.back();
    history.pop_back();
    SetPosition(history.back());
    backStep_ = true;
    if (!showCurrentScreen()) {
        // The screen stayed: so does its history entry.
        history.push_back(left);
        backStep_ = false;
    }
}

void TFrameWnd::BtnCancelClick() {
    askToClose(ui_->BtnCancel);
}

void TFrameWnd::BtnIntHelpClick() {
    QObject* from = sender();
    int context = screen_ ? screen_->HelpContext() : 0;
    if (from && from != ui_->BtnIntHelp) {
        const QVariant own = from->property("HelpContext");
        if (own.isValid()) context = own.toInt();
    }
    Help().ShowContext(context);
}

void TFrameWnd::NavigatorSelectItem(TNavigatorFrame* /*sender*/, TNavigatorItem* item) {
    if (syncingNavigator_) return;
    if (Run().InScreen && screen_) {
        // The screen hears of the topic first (it may keep its entries), then its check runs.
        const bool answered = !Shown(ui_->BtnNext) || goOn(Answer::Topic);
        if (!answered || !CheckShownScreen()) {
            returnToShownScreen();
            return;
        }
    }
    const int screen = item ? item->fScreenId : 0;
    if (screen != 0) SetPosition(screen);
    showAfterJump(LeaveCheck::Passed);
}

void TFrameWnd::LinkClick(TTextLbl*, int jumpId, const QString& linkUrl) {
    if (!linkUrl.isEmpty())
        ShellOpen(linkUrl);
    else
        Help().ShowContext(jumpId);
}

void TFrameWnd::GridKeyDown(int* key, Qt::KeyboardModifiers modifiers) {
    auto* grid = qobject_cast<TXGrid*>(sender());
    if (!grid || !key) return;
    if (*key == Qt::Key_F6) {
        *key = 0;
        MoveFocusPast(this, grid, !(modifiers & Qt::ShiftModifier));
    } else if (*key == Qt::Key_F8 && Run().AccessibilityMode) {
        *key = 0;
        const QString heading = grid->Cells(grid->Col(), 0).trimmed();
        const QString text = screen_ ? screen_->AttentionText() : QString();
        ShowColumnDescription(heading, text);
    }
}

// -----------------------------------------------------------------------------------------------
// Jumps

void TFrameWnd::JumpTo(int screen) {
    SetPosition(screen);
    showAfterJump();
}

void TFrameWnd::showAfterJump(LeaveCheck check) {
    ui_->BtnYes->hide();
    ui_->BtnNo->hide();
    ui_->BtnNext->setEnabled(true);
    showCurrentScreen(check);
}

// -----------------------------------------------------------------------------------------------
// Worksheets

void TFrameWnd::OpenWorksheet(int worksheet) {
    picker_->Open(worksheet, 0);
}

void TFrameWnd::OpenWorksheetRow(int worksheet, int row) {
    picker_->Open(worksheet, row);
}

void TFrameWnd::OpenEventRow(int worksheet) {
    picker_->Open(worksheet, ReopenRow ? ReopenRowKey : 0);
}

void TFrameWnd::ShowWorksheetRow(int row) {
    picker_->ShowRow(row);
}

void TFrameWnd::RefreshPickList() {
    picker_->Refresh();
}

void TFrameWnd::StoreWorksheetRow() {
    picker_->StoreRow();
}

void TFrameWnd::DeleteWorksheetRow(int row) {
    picker_->DeleteRow(row);
}

void TFrameWnd::FinishWorksheet() {
    picker_->Finish();
    ui_->ImagePanel->show();
    ui_->ActionPanel->hide();
}

void TFrameWnd::FetchWorksheetRow(int worksheet, int row) {
    Run().CurrentWorksheet = worksheet;
    FetchRow(worksheet, row);
}

void TFrameWnd::PutWorksheetRow(int worksheet, int row) {
    PutRow(worksheet, row);
    picker_->Close();
}

int TFrameWnd::CurrentRow() const {
    return picker_->CurrentRow();
}

int TFrameWnd::SelectedRow() const {
    return picker_->SelectedRow();
}

const std::vector<std::string>& TFrameWnd::PickList() const {
    return picker_->Lines();
}

bool TFrameWnd::PickListOpen() const {
    return picker_->IsOpen();
}

// -----------------------------------------------------------------------------------------------
// Scaling

void TFrameWnd::Rescale(int clientWidth, int clientHeight) {
    TNavigatorFrame* navigator = ui_->NavigatorFrame;
    navigator->setActive(false);
    // A re-show (never while the interview has left its screens).
    if (scale_.Fit(clientWidth, clientHeight) && Run().InScreen) {
        skipCheck_ = true;
        QCoreApplication::postEvent(this, new ModuleMessageEvent(kMsgShowScreen));
    }
    navigator->setActive(true);
}
