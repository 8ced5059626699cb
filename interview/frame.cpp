#include "interview/frame.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QShowEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "controls/help_service.h"
#include "controls/shell_service.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "dialogs/column_description.h"
#include "dialogs/get_tag_form.h"
#include "interview/child_form.h"
#include "interview/navigator_data.h"
#include "interview/navigator_frame.h"
#include "interview/screen_registry.h"
#include "module/module_api.h"
#include "store/dates.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/number_format.h"
#include "store/run_state.h"
#include "ui_frame.h"

using namespace cgt;

namespace {

TFrameWnd* gFrame = nullptr;

constexpr const char* kCreateNewWorksheet = "** Create new worksheet **";
constexpr const char* kDeleteWorksheetQuestion =
    "Are you sure you want to delete the selected worksheet?";
constexpr int kWorksheetMark = 99;
constexpr int kNormalScrollStep = 8;
constexpr int kConfirmation = 3;

bool Shown(const QWidget* w) {
    return !w->isHidden();
}

bool IsNumericKind(TCustomNumEdit::TNumericType kind) {
    return kind == TCustomNumEdit::ntCurrency || kind == TCustomNumEdit::ntCurrencyCnt ||
           kind == TCustomNumEdit::ntNumeric;
}

int ScaleInt(int v, int m, int d) {
    return static_cast<int>(std::lround(static_cast<double>(v) * m / d));
}

void ScaleFont(QWidget* w, int m, int d) {
    QFont f = w->font();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(std::max(1.0, f.pointSizeF() * m / d));
    else if (f.pixelSize() > 0)
        f.setPixelSize(std::max(1, ScaleInt(f.pixelSize(), m, d)));
    w->setFont(f);
}

// Containers whose children are laid out by the screen; composite controls keep their inner
// widgets to themselves.
bool IsPlainContainer(const QWidget* w) {
    const QMetaObject* mo = w->metaObject();
    return mo == &QWidget::staticMetaObject || mo == &QFrame::staticMetaObject ||
           qobject_cast<const QGroupBox*>(w) != nullptr;
}

// The platform's rescaling of a form's controls by m/d: positions, sizes and fonts.
void ScaleChildren(QWidget* parent, int m, int d) {
    const QObjectList children = parent->children();
    for (QObject* o : children) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow()) continue;
        if (auto* label = qobject_cast<TTextLbl*>(w)) {
            label->ChangeScale(m, d);
            continue;
        }
        if (auto* grid = qobject_cast<TXGrid*>(w)) {
            const int left = grid->x();
            grid->ScaleBy(m, d);
            grid->move(ScaleInt(left, m, d), grid->y());
            continue;
        }
        const bool laidOut = parent->layout() && parent->layout()->indexOf(w) >= 0;
        if (!laidOut) {
            const QRect g = w->geometry();
            w->setGeometry(ScaleInt(g.x(), m, d), ScaleInt(g.y(), m, d), ScaleInt(g.width(), m, d),
                           ScaleInt(g.height(), m, d));
        }
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            if (area->widget()) ScaleChildren(area->widget(), m, d);
        } else if (IsPlainContainer(w)) {
            ScaleChildren(w, m, d);
        }
        // Children were scaled first: those that inherit the font take the scaled one now.
        if (w->testAttribute(Qt::WA_SetFont)) ScaleFont(w, m, d);
    }
}

bool TaxEditIsEmpty(TCustomNumEdit* edit) {
    const std::string text = edit->Text8();
    if (text.empty() || text == kEmptyDateMask) return true;
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

std::string WorksheetName(int row) {
    return "Worksheet No." + std::to_string(row);
}

// The list of worksheet w, created empty when the field holds none.
Worksheet* EnsureWorksheet(int worksheet) {
    const int tag = kWorksheetTagBase + worksheet;
    if (!ValidTag(tag)) return nullptr;
    FieldEntry& e = Store().entry(tag);
    if (e.type != dtWorksheet || !e.sheet) {
        e.zeroFill();
        e.type = dtWorksheet;
        e.sheet = std::make_shared<Worksheet>();
    }
    return e.sheet.get();
}

// Removes the items of `row`; returns the list position of its first item, or the end of the
// list for a row that has none.
std::size_t RemoveRow(Worksheet& sheet, std::uint16_t row) {
    const auto positions = sheet.rowPositions(row);
    const std::size_t pos = positions.empty() ? sheet.size() : positions.front();
    sheet.removeRow(row);
    return std::min(pos, sheet.size());
}

// Inserts an item for every scratch tag with a display text, at `pos`, in tag order.
void InsertScratchItems(Worksheet& sheet, std::uint16_t row, std::size_t pos) {
    std::vector<WorksheetItem> fresh;
    for (auto [first, last] : kScratchRanges)
        for (int tag = first; tag <= last; ++tag) {
            const FieldEntry& e = Store().entry(tag);
            if (EntryDisplayText(e).empty()) continue;
            fresh.push_back(WorksheetItem{row, tag, e});
        }
    if (fresh.empty()) return;
    auto& items = sheet.mutableItems();
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(pos),
                 std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
}

void LowerLaterRows(Worksheet& sheet, std::uint16_t row) {
    bool any = false;
    for (const auto& item : sheet.items())
        if (item.row > row) {
            any = true;
            break;
        }
    if (!any) return;
    for (auto& item : sheet.mutableItems())
        if (item.row > row) --item.row;
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
    connect(ui_->JumpBtn, &QPushButton::clicked, this, &TFrameWnd::JumpBtnClick);
    connect(ui_->btnScan, &QPushButton::clicked, this, &TFrameWnd::btnScanClick);
    connect(ui_->btnTags, &QPushButton::clicked, this, &TFrameWnd::btnTagsClick);
    connect(ui_->btnRemove, &QPushButton::clicked, this, &TFrameWnd::btnRemoveClick);
    // A click on a line, or a keyboard move of the selection.
    connect(ui_->lstPickList, &QListWidget::clicked, this, &TFrameWnd::lstPickListClick);
    connect(ui_->lstPickList, &QListWidget::currentRowChanged, this, [this] {
        if (ui_->lstPickList->hasFocus() && QGuiApplication::mouseButtons() == Qt::NoButton)
            lstPickListClick();
    });

    // Alt+F4 is previewed by the frame before its controls see it.
    auto* exitKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    exitKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(exitKey, &QShortcut::activated, this, [this] {
        if (Run().DebugMode && MainWindow)
            QCoreApplication::postEvent(MainWindow, new ModuleMessageEvent(kMsgExitCommand));
    });

    TNavigatorFrame* navigator = ui_->NavigatorFrame;
    navigator->Initialise(&TCGTNavigatorData::Instance());
    navigator->SetOnSelectItem([this](TNavigatorFrame* sender, TNavigatorItem* item) {
        NavigatorSelectItem(sender, item);
    });
    navigator->hide();
    ui_->ActionPanel->hide();
    ui_->BtnYes->hide();
    ui_->BtnNo->hide();

    baseNavigatorFont_ = navigator->font().pointSize();
    baseTitleFont_ = ui_->TitleLabel->font().pointSize();
    baseButtonFont_ = ui_->BtnCancel->font().pointSize();

    updateDebugButtons();
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
bool TFrameWnd::WorksheetScreenMarked() const {
    return screen_ && screen_->VertScrollStep() == kWorksheetMark;
}
QSize TFrameWnd::ClientSize() const {
    return ui_->ClientPanel->size();
}

void TFrameWnd::ShowWorksheetPanel(bool on) {
    ui_->ActionPanel->setVisible(on);
}

void TFrameWnd::updateDebugButtons() {
    const bool debug = Run().DebugMode;
    ui_->JumpBtn->setVisible(debug);
    ui_->btnScan->setVisible(debug);
    ui_->btnTags->setVisible(debug);
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
    if (designWidth_ == 0) {
        if (layout()) layout()->activate();
        designWidth_ = ui_->ClientPanel->width();
        designHeight_ = ui_->ClientPanel->height();
    }
}

// -----------------------------------------------------------------------------------------------
// Showing a screen

void TFrameWnd::setPosition(int screen) {
    Run().CurrentSection = screen / 100;
    Run().CurrentIndex = screen % 100;
}

void TFrameWnd::ShowCurrentScreen() {
    showCurrentScreen();
}

bool TFrameWnd::showCurrentScreen() {
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

    // 1. Leave check.
    if (skipCheck_) {
        skipCheck_ = false;
    } else if ((run.InScreen && run.CurrentSection != prevSection_) ||
               run.CurrentIndex != prevIndex_) {
        if (!RunValidateHook()) {
            run.CurrentSection = prevSection_;
            run.CurrentIndex = prevIndex_;
            run.CurrentScreen = run.CurrentSection * 100 + run.CurrentIndex;
            SyncNavigator();
            return false;
        }
    }

    // 2.
    run.NextHook = nullptr;

    // 3. Leave the current screen.
    if (run.InScreen) {
        SaveScreenToStore();
        if (run.CurrentWorksheet != 0) FinishWorksheet();
        if (screen_) {
            TChildForm* old = screen_.data();
            screen_.clear();
            ui_->ClientLayout->removeWidget(old);
            old->hide();
            old->deleteLater();
        }
        run.ValidateHook = nullptr;
        run.InScreen = false;
        ui_->NavigatorFrame->hide();
        ui_->ActionPanel->hide();
    }

    // 4.
    if (prevSection_ > 0 && prevSection_ != run.CurrentSection) run.DataChanged = true;

    // 5.
    ui_->BtnYes->hide();
    ui_->BtnNo->hide();
    ui_->BtnCancel->show();
    ui_->BtnPrev->show();
    updateDebugButtons();

    // 6. Index 99 of section 20 does not exist.
    run.CurrentScreen = run.CurrentSection * 100 + run.CurrentIndex;
    scaled_ = false;
    if (run.CurrentScreen / 100 == 20 && run.CurrentScreen % 100 == 99) {
        run.CurrentSection = 21;
        run.CurrentIndex = 1;
        run.CurrentScreen = 2101;
    }

    // 7. A number without a screen: the interview has left the module.
    TChildForm* form = CreateScreen(run.CurrentScreen);
    if (!form) {
        failedScreen_ = run.CurrentScreen;
        leaveInterview();
        return true;
    }

    // 8. History.
    run.InScreen = true;
    if (!backStep_ && (run.CurrentSection != prevSection_ || run.CurrentIndex != prevIndex_))
        run.ScreenHistory.push_back(run.CurrentScreen);
    backStep_ = false;
    prevSection_ = run.CurrentSection;
    prevIndex_ = run.CurrentIndex;
    ui_->Label1->setText(QString::number(run.CurrentScreen));

    // 9. Buttons.
    screen_ = form;
    applyScreenButtons();

    // 10. Values, placement, scaling, grid keys.
    LoadScreenFromStore();
    ui_->ClientLayout->addWidget(form);
    scaleScreen();
    for (TXGrid* grid : form->findChildren<TXGrid*>())
        connect(grid, &TXGrid::OnKeyDown, this, &TFrameWnd::GridKeyDown, Qt::UniqueConnection);

    // 11. Keyboard aids.
    if (run.AccessibilityMode) {
        for (TTextLbl* label : form->findChildren<TTextLbl*>())
            label->setMode(TTextLbl::tlmVisionImpaired);
        if (form->TabByPosition()) sortTabOrderByPosition();
    }

    // 12. Show: the show handler installs the hooks.
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

    // 13. Focus.
    focusFirstControl();

    // 14.
    QCoreApplication::processEvents();
    if (screen_)
        for (TTextLbl* label : screen_->findChildren<TTextLbl*>())
            label->repaint();
    return true;
}

void TFrameWnd::leaveInterview() {
    const bool agree = CloseQuery ? CloseQuery(this) : !Run().InScreen;
    if (agree && CloseHandler) CloseHandler(ui_->BtnYes);
}

void TFrameWnd::applyScreenButtons() {
    ui_->BtnYes->setVisible(screen_->ShowYesButton());
    ui_->BtnNo->setVisible(screen_->ShowNoButton());
    ui_->BtnNext->setVisible(screen_->ShowNextButton());
    ui_->BtnPrev->setVisible(screen_->ShowPrevButton());
    ui_->BtnIntHelp->show();
    ui_->BtnNext->setVisible(!Shown(ui_->BtnNo));
}

void TFrameWnd::focusFirstControl() {
    if (!screen_) return;
    screen_->setFocus(Qt::OtherFocusReason);
    // The next control of the frame's tab order after the screen: its first control, or a
    // button of the bar when the screen has none.
    QWidget* target = nullptr;
    for (QWidget* w = screen_->nextInFocusChain(); w && w != screen_; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w) || !w->isEnabled() || !w->isVisibleTo(this)) continue;
        if (!(w->focusPolicy() & Qt::TabFocus)) continue;
        target = w;
        break;
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

void TFrameWnd::sortTabOrderByPosition() {
    for (TTextLbl* label : screen_->findChildren<TTextLbl*>())
        label->setTabStop(true);
    // The controls that sit directly on the screen, in tab order.
    std::vector<QWidget*> controls;
    for (QWidget* w = screen_->nextInFocusChain(); w && w != screen_; w = w->nextInFocusChain()) {
        if (w->parentWidget() != screen_.data()) continue;
        if (!(w->focusPolicy() & Qt::TabFocus)) continue;
        if (std::find(controls.begin(), controls.end(), w) != controls.end()) break;
        controls.push_back(w);
    }
    // Rows first (tops within 12 pixels count as one row), then left to right. An insertion
    // sort: the order is not transitive across rows.
    auto before = [](const QWidget* a, const QWidget* b) {
        if (std::abs(a->y() - b->y()) < 12) return a->x() < b->x();
        return a->y() < b->y();
    };
    for (std::size_t i = 1; i < controls.size(); ++i)
        for (std::size_t j = i; j > 0 && before(controls[j], controls[j - 1]); --j)
            std::swap(controls[j], controls[j - 1]);
    QWidget* previous = screen_.data();
    for (QWidget* w : controls) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

// -----------------------------------------------------------------------------------------------
// Values

void TFrameWnd::SaveScreenToStore() {
    if (!screen_) return;
    for (QWidget* w : screen_->findChildren<QWidget*>()) {
        const int tag = w->property("fieldTag").toInt();
        if (!ValidTag(tag)) continue;
        if (auto* edit = qobject_cast<TCustomNumEdit*>(w)) {
            if (IsNumericKind(edit->NumericType()))
                SetFieldVal(tag, edit->NumValue());
            else
                SetFieldStr(tag, edit->Text8());
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const int maxLength = std::max(0, combo->property("MaxLength").toInt());
            SetFieldStr(tag, combo->currentText().left(maxLength).toLatin1().toStdString());
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            if (static_cast<QAbstractButton*>(w)->isChecked())
                SetFieldChecked(tag);
            else
                SetFieldUnchecked(tag);
        } else if (auto* grid = qobject_cast<TXGrid*>(w)) {
            StringListRef list = GetFieldLst(tag);
            grid->SaveRows(list);
            SetFieldLst(tag, list);
            if (grid->Modified()) Run().DataChanged = true;
        }
    }
}

void TFrameWnd::LoadScreenFromStore() {
    if (!screen_) return;
    const QList<QWidget*> widgets = screen_->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        w->setToolTip(QString());
        if (auto* label = qobject_cast<TTextLbl*>(w))
            connect(label, &TTextLbl::OnJumpClick, this, &TFrameWnd::LinkClick,
                    Qt::UniqueConnection);
    }
    for (QWidget* w : widgets) {
        const int tag = w->property("fieldTag").toInt();
        if (!ValidTag(tag)) continue;
        if (auto* edit = qobject_cast<TCustomNumEdit*>(w)) {
            const TFieldDataType type = GetFieldType(tag);
            if (IsNumberType(type) || (type == dtNone && IsNumericKind(edit->NumericType())))
                edit->setNumValue(GetFieldVal(tag));
            else
                edit->SetTextValue(QString::fromLatin1(GetFieldStr(tag)));
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setChecked(FieldChecked(tag));
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            // An exclusive radio button can only be unchecked with its exclusivity off.
            const bool exclusive = radio->autoExclusive();
            radio->setAutoExclusive(false);
            radio->setChecked(FieldChecked(tag));
            radio->setAutoExclusive(exclusive);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->setCurrentIndex(-1);
            const int maxLength = combo->property("MaxLength").toInt();
            if (maxLength > 0) {
                const QString value = QString::fromLatin1(GetFieldStr(tag));
                for (int i = 0; i < combo->count(); ++i)
                    if (combo->itemText(i).left(maxLength) == value) {
                        combo->setCurrentIndex(i);
                        break;
                    }
            }
        } else if (auto* grid = qobject_cast<TXGrid*>(w)) {
            const StringListRef list = GetFieldLst(tag);
            grid->LoadRows(list.get());
            grid->setModified(false);
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            const TFieldDataType type = GetFieldType(tag);
            if (type == dtCurrency || type == dtCurrencyCnt) {
                const Extended value = GetFieldVal(tag);
                if (std::fabs(value) <= 0.01L)
                    label->setText(QString());
                else
                    label->setText(QString::fromLatin1(
                        type == dtCurrency ? FormatFixed(value, 8, 0) : FormatFixed(value, 10, 2)));
            } else {
                label->setText(QString::fromLatin1(GetFieldText(tag)));
            }
        }
    }
    // The mark of a screen that edits a worksheet row.
    if (Run().CurrentWorksheet != 0)
        screen_->setVertScrollStep(kWorksheetMark);
    else if (screen_->VertScrollStep() != kWorksheetMark)
        screen_->setVertScrollStep(kNormalScrollStep);
}

bool TFrameWnd::RunValidateHook() {
    ModuleRunState& run = Run();
    if (!run.ValidateHook) return true;
    const auto hook = run.ValidateHook; // the hook may replace itself
    hook();
    if (!run.ScreenValid) {
        run.ScreenValid = true;
        return false;
    }
    run.ValidateHook = nullptr;
    run.ScreenValid = true;
    return true;
}

void TFrameWnd::SyncNavigator() {
    syncingNavigator_ = true;
    ui_->NavigatorFrame->SelectItemByScreenID(Run().CurrentScreen);
    syncingNavigator_ = false;
}

void TFrameWnd::CloseFrame() {
    if (Run().CurrentWorksheet != 0) FinishWorksheet();
    Run().InScreen = false;
    hide();
}

// -----------------------------------------------------------------------------------------------
// Navigation

void TFrameWnd::callNextHook(QObject* sender) {
    const auto hook = Run().NextHook;
    if (!hook) return;
    hookSender_ = sender;
    stay_ = false;
    hook();
    hookSender_ = nullptr;
}

void TFrameWnd::BtnNextClick() {
    ModuleRunState& run = Run();
    if (run.NextHook) {
        callNextHook(ui_->BtnNext);
        // The hook refused: re-showing would store and reopen the row being entered.
        if (std::exchange(stay_, false)) return;
    } else {
        run.CurrentIndex += 1;
    }
    ui_->BtnNext->setEnabled(false);
    ShowCurrentScreen();
    ui_->BtnNext->setEnabled(true);
    ui_->BtnPrev->setEnabled(true);
}

void TFrameWnd::BtnYesClick() {
    if (Run().NextHook) callNextHook(ui_->BtnYes);
    ui_->BtnNext->setEnabled(true);
}

void TFrameWnd::BtnNoClick() {
    if (Run().NextHook) callNextHook(ui_->BtnNo);
    ui_->BtnNext->setEnabled(true);
}

void TFrameWnd::BtnPrevClick() {
    auto& history = Run().ScreenHistory;
    if (history.size() < 2) return;
    const std::int32_t left = history.back();
    history.pop_back();
    setPosition(history.back());
    backStep_ = true;
    if (!showCurrentScreen()) {
        // The screen stayed: so does its history entry.
        history.push_back(left);
        backStep_ = false;
    }
}

void TFrameWnd::BtnCancelClick() {
    const bool agree = CloseQuery ? CloseQuery(this) : !Run().InScreen;
    if (agree && CloseHandler) CloseHandler(ui_->BtnCancel);
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

void TFrameWnd::NavigatorSelectItem(TNavigatorFrame* sender, TNavigatorItem* item) {
    if (syncingNavigator_) return;
    ModuleRunState& run = Run();
    if (Shown(ui_->BtnNext) && run.NextHook) callNextHook(sender);
    if (run.InScreen && !RunValidateHook()) {
        run.CurrentSection = prevSection_;
        run.CurrentIndex = prevIndex_;
        run.CurrentScreen = prevSection_ * 100 + prevIndex_;
        SyncNavigator();
        return;
    }
    run.ValidateHook = nullptr;
    const int screen = item ? item->fScreenId : 0;
    if (screen != 0) {
        run.NextHook = nullptr;
        setPosition(screen);
    }
    ui_->BtnYes->hide();
    ui_->BtnNo->hide();
    ui_->BtnNext->setEnabled(true);
    ShowCurrentScreen();
}

void TFrameWnd::LinkClick(TTextLbl*, int jumpId, const QString& linkUrl) {
    if (!linkUrl.isEmpty())
        ShellOpen(linkUrl);
    else
        Help().ShowContext(jumpId);
}

void TFrameWnd::moveFocusFromGrid(TXGrid* grid, bool forward) {
    QWidget* w = grid;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == grid) return;
        if (grid->isAncestorOf(w)) continue;
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this))
            continue;
        if (!isAncestorOf(w)) continue;
        w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

void TFrameWnd::GridKeyDown(int* key, Qt::KeyboardModifiers modifiers) {
    auto* grid = qobject_cast<TXGrid*>(sender());
    if (!grid || !key) return;
    if (*key == Qt::Key_F6) {
        *key = 0;
        moveFocusFromGrid(grid, !(modifiers & Qt::ShiftModifier));
    } else if (*key == Qt::Key_F8 && Run().AccessibilityMode) {
        *key = 0;
        const QString heading = grid->Cells(grid->Col(), 0).trimmed();
        const QString text = screen_ ? screen_->AttentionText() : QString();
        ShowColumnDescription(heading, text);
    }
}

// -----------------------------------------------------------------------------------------------
// Debug commands

void TFrameWnd::JumpBtnClick() {
    const auto answer = Dialogs().InputBox("Jump", "Enter screen number to jump to: ", "");
    if (!answer || answer->empty()) return;
    bool ok = false;
    const int number = QString::fromLatin1(*answer).trimmed().toInt(&ok);
    if (!ok) {
        ShowMsg("Not a screen number");
        return;
    }
    const int screen = number & 0xFFFF;
    if (ShowHostButtons) ShowHostButtons();
    setPosition(screen);
    ui_->BtnYes->hide();
    ui_->BtnNo->hide();
    ui_->BtnNext->setEnabled(true);
    ShowCurrentScreen();
}

void TFrameWnd::btnScanClick() {
    ModuleRunState& run = Run();
    run.CurrentIndex += 1;
    if (run.CurrentIndex > 98) {
        run.CurrentIndex = 1;
        run.CurrentSection += 1;
    }
    ShowCurrentScreen();
}

void TFrameWnd::btnTagsClick() {
    if (!tagInspector_) {
        tagInspector_ = new TfrmGetTag(this);
        tagInspector_->setWindowFlag(Qt::Window);
    }
    tagInspector_->show();
    tagInspector_->raise();
    tagInspector_->activateWindow();
}

// -----------------------------------------------------------------------------------------------
// Worksheets

void TFrameWnd::OpenWorksheet(int worksheet) {
    Run().CurrentWorksheet = worksheet;
    ZeroFillScratchTags();
    EnsureWorksheet(worksheet);
    currentRow_ = 0;
    pickList_.clear();
    pickListOpen_ = true;
    BuildPickList();
    ShowWorksheetRow(static_cast<int>(pickList_.size())); // a new row after the existing ones
    RefreshPickList();
}

void TFrameWnd::OpenWorksheetRow(int worksheet, int row) {
    Run().CurrentWorksheet = worksheet;
    ZeroFillScratchTags();
    EnsureWorksheet(worksheet);
    currentRow_ = static_cast<std::uint16_t>(row);
    pickList_.clear();
    pickListOpen_ = true;
    BuildPickList();
    ShowWorksheetRow(row);
    RefreshPickList();
}

void TFrameWnd::OpenEventRow(int worksheet) {
    if (ReopenRow)
        OpenWorksheetRow(worksheet, ReopenRowKey);
    else
        OpenWorksheet(worksheet);
}

void TFrameWnd::BuildPickList() {
    pickList_.clear();
    pickListOpen_ = true;
    if (const Worksheet* sheet = WorksheetOf(Run().CurrentWorksheet))
        for (const WorksheetItem& item : sheet->items()) {
            if (item.tag != 710) continue;
            pickList_.push_back(IsTextType(item.entry.type) ? EntryDisplayText(item.entry)
                                                            : std::string());
        }
    pickList_.emplace_back(kCreateNewWorksheet);
}

void TFrameWnd::ShowWorksheetRow(int row) {
    ZeroFillScratchTags();
    if (const Worksheet* sheet = WorksheetOf(Run().CurrentWorksheet))
        for (std::uint32_t pos : sheet->rowPositions(static_cast<std::uint16_t>(row))) {
            const WorksheetItem& item = sheet->items()[pos];
            if (ValidTag(item.tag)) Store().entry(item.tag) = item.entry;
        }
    currentRow_ = static_cast<std::uint16_t>(row);
    if (Run().InScreen && screen_) {
        LoadScreenFromStore();
        screen_->FormShow();
    }
}

void TFrameWnd::fillPickListBox() {
    fillingList_ = true;
    QListWidget* list = ui_->lstPickList;
    list->clear();
    for (const std::string& line : pickList_)
        list->addItem(QString::fromLatin1(line));
    fillingList_ = false;
}

void TFrameWnd::selectPickLine(int line) {
    fillingList_ = true;
    ui_->lstPickList->setCurrentRow(line - 1);
    fillingList_ = false;
}

void TFrameWnd::RefreshPickList() {
    fillingList_ = true;
    ui_->lstPickList->clear();
    fillingList_ = false;
    if (Run().InScreen) {
        SaveScreenToStore();
        StoreWorksheetRow();
    }
    ui_->WsheetHdrLbl->setCurrentSection(1);
    BuildPickList();
    fillPickListBox();
    selectPickLine(currentRow_);
    selectedRow_ = ui_->lstPickList->currentRow() + 1;
}

bool TFrameWnd::allTaxEditsEmpty() const {
    for (TCustomNumEdit* edit : screen_->findChildren<TCustomNumEdit*>())
        if (!TaxEditIsEmpty(edit)) return false;
    return true;
}

void TFrameWnd::StoreWorksheetRow() {
    Worksheet* sheet = WorksheetOf(Run().CurrentWorksheet);
    if (!sheet) return;
    const std::size_t pos = RemoveRow(*sheet, currentRow_);
    // Without a screen there is nothing to judge the row by: it is kept.
    if (screen_ && allTaxEditsEmpty()) {
        LowerLaterRows(*sheet, currentRow_);
        return;
    }
    SaveScreenToStore();
    if (GetFieldText(710).empty()) SetFieldStr(710, WorksheetName(currentRow_));
    InsertScratchItems(*sheet, currentRow_, pos);
}

void TFrameWnd::DeleteWorksheetRow(int row) {
    Worksheet* sheet = WorksheetOf(Run().CurrentWorksheet);
    if (!sheet) return;
    sheet->removeRow(static_cast<std::uint16_t>(row));
    LowerLaterRows(*sheet, static_cast<std::uint16_t>(row));
}

void TFrameWnd::lstPickListClick() {
    if (fillingList_) return;
    ModuleRunState& run = Run();
    const int selection = ui_->lstPickList->currentRow();
    if (selection < 0) return;
    if (run.InScreen && !RunValidateHook()) {
        selectPickLine(selectedRow_);
        return;
    }
    if (run.InScreen) {
        SaveScreenToStore();
        StoreWorksheetRow();
    }
    selectedRow_ = selection + 1;
    ShowWorksheetRow(selectedRow_);
    RefreshPickList();
    focusFirstControl();
}

void TFrameWnd::btnRemoveClick() {
    if (Run().InScreen) {
        SaveScreenToStore();
        StoreWorksheetRow();
    }
    if (MsgBox(kDeleteWorksheetQuestion, kConfirmation, mbYes | mbNo) != mrYes) return;
    selectedRow_ = ui_->lstPickList->currentRow() + 1;
    DeleteWorksheetRow(selectedRow_);
    BuildPickList();
    fillPickListBox();
    const int lines = static_cast<int>(pickList_.size());
    if (selectedRow_ > lines) selectedRow_ = lines;
    ShowWorksheetRow(selectedRow_);
    selectPickLine(selectedRow_);
}

void TFrameWnd::FinishWorksheet() {
    struct Reset {
        TFrameWnd* frame;
        ~Reset() {
            frame->pickList_.clear();
            frame->pickListOpen_ = false;
            Run().CurrentWorksheet = 0;
            frame->currentRow_ = 0;
        }
    } reset{this};
    StoreWorksheetRow();
    ZeroFillScratchTags();
    ui_->ImagePanel->show();
    ui_->ActionPanel->hide();
}

void TFrameWnd::FetchWorksheetRow(int worksheet, int row) {
    Run().CurrentWorksheet = worksheet;
    ZeroFillScratchTags();
    const Worksheet* sheet = EnsureWorksheet(worksheet);
    if (!sheet) return;
    for (std::uint32_t pos : sheet->rowPositions(static_cast<std::uint16_t>(row))) {
        const WorksheetItem& item = sheet->items()[pos];
        if (ValidTag(item.tag)) Store().entry(item.tag) = item.entry;
    }
}

void TFrameWnd::PutWorksheetRow(int worksheet, int row) {
    Run().CurrentWorksheet = worksheet;
    currentRow_ = static_cast<std::uint16_t>(row);
    if (Worksheet* sheet = EnsureWorksheet(worksheet)) {
        const std::size_t pos = RemoveRow(*sheet, currentRow_);
        InsertScratchItems(*sheet, currentRow_, pos);
    }
    pickList_.clear();
    pickListOpen_ = false;
    Run().CurrentWorksheet = 0;
    currentRow_ = 0;
    ZeroFillScratchTags();
}

// -----------------------------------------------------------------------------------------------
// Scaling

void TFrameWnd::applyBarFonts(bool base) {
    auto sized = [&](int baseSize) {
        return base ? baseSize : std::max(1, ScaleInt(baseSize, scaleNum_, scaleDen_));
    };
    auto setSize = [](QWidget* w, int size) {
        if (size <= 0) return;
        QFont f = w->font();
        f.setPointSize(size);
        w->setFont(f);
    };
    setSize(ui_->NavigatorFrame, sized(baseNavigatorFont_));
    setSize(ui_->TitleLabel, sized(baseTitleFont_));
    const int buttonSize = sized(baseButtonFont_);
    for (QPushButton* button : ui_->BtnPanel->findChildren<QPushButton*>())
        setSize(button, buttonSize);
}

void TFrameWnd::Rescale(int clientWidth, int clientHeight) {
    TNavigatorFrame* navigator = ui_->NavigatorFrame;
    navigator->setActive(false);
    if (designWidth_ > 0 && designHeight_ > 0 && clientWidth > 0 && clientHeight > 0) {
        int num = clientWidth;
        int den = designWidth_;
        if (static_cast<long long>(clientHeight) * designWidth_ <
            static_cast<long long>(clientWidth) * designHeight_) {
            num = clientHeight;
            den = designHeight_;
        }
        const long long newSide = static_cast<long long>(num) * scaleDen_;
        const long long oldSide = static_cast<long long>(scaleNum_) * den;
        if (newSide != oldSide) {
            scaleNum_ = num;
            scaleDen_ = den;
            const bool restore = scaled_ && newSide <= oldSide;
            if (restore) {
                applyBarFonts(true);
                scaled_ = false;
            } else {
                applyBarFonts(false);
            }
            // A re-show (never while the interview has left its screens).
            if (Run().InScreen) {
                skipCheck_ = true;
                QCoreApplication::postEvent(this, new ModuleMessageEvent(kMsgShowScreen));
            }
        }
    }
    navigator->setActive(true);
}

void TFrameWnd::scaleScreen() {
    if (!screen_ || scaleNum_ == scaleDen_ || scaleDen_ == 0) return;
    ScaleChildren(screen_.data(), scaleNum_, scaleDen_);
    ScaleFont(screen_.data(), scaleNum_, scaleDen_);
    scaled_ = true;
}
