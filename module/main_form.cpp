#include "module/main_form.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QToolTip>
#include <QVBoxLayout>

#include <string>
#include <string_view>

#include "base/text.h"
#include "controls/focus_ring.h"
#include "controls/help_service.h"
#include "controls/shell_service.h"
#include "controls/xgrid.h"
#include "dialogs/hyperlinks_form.h"
#include "dialogs/notes_form.h"
#include "dialogs/save_box.h"
#include "dialogs/shortcut_help.h"
#include "interview/child_form.h"
#include "interview/frame.h"
#include "module/module_api.h"
#include "module/module_run.h"
#include "store/data_file.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "ui_main_form.h"

namespace cgt {

namespace {

constexpr int kFormWidth = 800;
constexpr int kFormClientHeight = 575;
constexpr int kMinimumWidth = 500;
constexpr int kMinimumHeight = 400;
constexpr int kSmallDesktopHeight = 600;
constexpr int kHintWidth = 400;
constexpr int kFirstTickMs = 2000;
constexpr int kAutosaveTickMs = 60000;

// The calculators looked for on PATH, in order.
constexpr const char* kCalculators[] = {"gnome-calculator", "kcalc", "galculator", "mate-calc",
                                        "xcalc"};

bool IsInside(const QObject* object, const QWidget* window) {
    for (auto* w = qobject_cast<const QWidget*>(object); w; w = w->parentWidget())
        if (w == window) return true;
    return false;
}

} // namespace

QString MainWindowTitle() {
    const std::string& file = Run().CurrentFileName;
    QString title = QString::fromLatin1(kApplicationTitle) + QStringLiteral(" - ") +
                    QFile::decodeName(QByteArray::fromStdString(file));
    if (IsLodged()) {
        auto text = [](int tag) { return QString::fromLatin1(TrimText(GetFieldText(tag))); };
        title += QStringLiteral(" (Lodged on ") + text(1478) + QStringLiteral(" at ") + text(1490) +
                 QStringLiteral(".  Ref:") + text(1479) + QStringLiteral(")");
    }
    return title;
}

QString WrapHint(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split('\n')) {
        QString line;
        for (const QString& word : paragraph.split(' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + ' ' + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
                lines << line;
                line = word;
            } else {
                line = candidate;
            }
        }
        lines << line;
    }
    return lines.join('\n');
}

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint | Qt::WindowCloseButtonHint),
      ui_(new Ui::MainForm) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("MainForm"));
    ModuleRunState& run = Run();
    // Dates read with the 89-year century window and written dd/mm/yyyy (base/dates.h).
    ReadCommandLineSwitches(QCoreApplication::arguments(), run);

    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kFormWidth, kFormClientHeight);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->geometry().height() > kSmallDesktopHeight) {
        const QRect desktop = screen->geometry();
        move(desktop.x() + (desktop.width() - kFormWidth) / 2,
             desktop.y() + (desktop.height() - kFormClientHeight) / 2);
    } else {
        move(0, 0);
    }

    // The interview frame fills the panel under the tool bar.
    frame_ = new TFrameWnd(ui_->MainPanel);
    auto* layout = new QVBoxLayout(ui_->MainPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    frame_->CloseQuery = [this](QObject*) { return FormCloseQuery(); };
    frame_->CloseHandler = [this](QObject* sender) { FormClose(sender); };
    frame_->ShowHostButtons = [this] {
        for (QWidget* b :
             {static_cast<QWidget*>(ui_->NewBtn), static_cast<QWidget*>(ui_->OpenBtn),
              static_cast<QWidget*>(ui_->SaveBtn), static_cast<QWidget*>(ui_->CalculBtn),
              static_cast<QWidget*>(ui_->NotesBtn)})
            b->setVisible(true);
    };
    frame_->MainWindow = this;
    TFocusRing::Attach(this);

    connect(ui_->SaveBtn, &QToolButton::clicked, this, &TMainForm::SaveBtnClick);
    connect(ui_->CalculBtn, &QToolButton::clicked, this, &TMainForm::CalculBtnClick);
    connect(ui_->NotesBtn, &QToolButton::clicked, this, &TMainForm::NotesBtnClick);
    connect(ui_->HelpBtn, &QToolButton::clicked, this, &TMainForm::HelpBtnClick);
    connect(&timer_, &QTimer::timeout, this, &TMainForm::FirstTimerTick);

    // Keys are previewed by the form; hints wrap at 400 pixels.
    qApp->installEventFilter(this);
    Help().SetHelpFile(kModuleHelpFile);
    autosave_.Reset();
    run.DataChanged = false;
    run.CurrentFileName.clear();
    Module().RefreshTitle = [this] { SetTitle(); };
    SetTitle();
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    Module().RefreshTitle = nullptr;
    delete notes_.data();
}

void TMainForm::SetTitle() {
    setWindowTitle(MainWindowTitle());
}

void TMainForm::SetStateAndBounds(bool maximised, bool minimised, int left, int top, int width,
                                  int height) {
    // Qt leaves the maximised state when a window is moved or resized, so the bounds are set
    // first, as the bounds the window returns to, and the state after them. Outer bounds: the
    // frame is not part of the client size.
    setWindowState(Qt::WindowNoState);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    move(left, top);
    resize(std::max(kMinimumWidth, width - frameExtra.width()),
           std::max(kMinimumHeight, height - frameExtra.height()));
    if (maximised)
        setWindowState(Qt::WindowMaximized);
    else if (minimised)
        setWindowState(Qt::WindowMinimized);
    LayoutFrame();
}

bool TMainForm::FormCloseQuery() {
    if (!Run().InScreen) return true;
    // The screen's checks decide; what passes them is stored before the interview closes.
    if (!frame_->CheckShownScreen()) {
        MsgBox("You must complete this section before saving.", mkWarning, mbOK);
        return false;
    }
    frame_->LeaveForClose();
    return true;
}

void TMainForm::FormClose(QObject* sender) {
    const bool closed = sender == this || (sender && sender->objectName() == "BtnCancel");
    const int message = closed ? kMsgInterviewClosed : kMsgInterviewLeft;
    if (auto* host = reinterpret_cast<QObject*>(Run().HostWindow))
        QCoreApplication::postEvent(host, new ModuleMessageEvent(message));
}

void TMainForm::SaveBtnClick() {
    ModuleRunState& run = Run();
    if (IsLodged()) {
        ShowLodgedMessage();
        return;
    }
    QToolTip::hideText();
    KeepShownEntries();
    TfrmSaveBox box(this);
    box.SetCurrentFile(QFile::decodeName(QByteArray::fromStdString(run.CurrentFileName)));
    box.SetSaveMode();
    if (box.exec() != QDialog::Accepted) return;
    const std::string chosen = QFile::encodeName(box.FileName()).toStdString();
    // Once the return is written under the chosen name, every later save goes there. A failed
    // save has told the user; the data still counts as changed and the name stays.
    const SaveStatus status = SaveDataFile(chosen);
    if (status == SaveStatus::Saved || status == SaveStatus::Unsynced) run.CurrentFileName = chosen;
    if (status == SaveStatus::Saved) run.DataChanged = false;
    SetTitle();
}

void TMainForm::CalculBtnClick() {
    ui_->CalculBtn->setEnabled(false);
    QString found;
    for (const char* name : kCalculators) {
        found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) break;
    }
    if (found.length() < 3) {
        MsgBox("Can't find a calculator (gnome-calculator, kcalc, galculator, mate-calc or "
               "xcalc)...",
               mkInformation, mbOK);
    } else {
        QProcess::startDetached(found, {}, QFileInfo(found).absolutePath());
    }
    ui_->CalculBtn->setEnabled(true);
}

void TMainForm::NotesBtnClick() {
    if (!notes_) {
        notes_ = new TNotesForm(this);
        connect(notes_, &TNotesForm::NotesClosed, this, [this] { notes_ = nullptr; });
    }
    notes_->show();
    notes_->raise();
}

TNotesForm* TMainForm::Notes() const {
    return notes_.data();
}

void TMainForm::HelpBtnClick() {
    Help().SetHelpFile(kHostHelpFile);
    Help().ShowContents();
    Help().SetHelpFile(kModuleHelpFile);
}

void TMainForm::ExitCommand() {
    if (Run().InScreen) {
        frame_->SaveScreenToStore();
        if (Run().CurrentWorksheet != 0) frame_->StoreWorksheetRow();
    }
    close();
}

void TMainForm::KeepShownEntries() {
    if (!Run().InScreen) return;
    frame_->SaveScreenToStore();
    if (frame_->EditsWorksheetRow()) frame_->StoreWorksheetRow();
}

void TMainForm::AutosaveTick() {
    // What the shown screen holds counts as a change of the return once it differs from it.
    if (Run().InScreen && !IsLodged()) frame_->SaveScreenToStore();
    if (!autosave_.Tick(Run().DataChanged, IsLodged())) return;
    timer_.stop();
    AutosaveTo(Run().CurrentFileName);
    timer_.start(kAutosaveTickMs);
    autosave_.Reset();
}

void TMainForm::AutosaveTo(const std::string& name) {
    ModuleRunState& run = Run();
    if (IsLodged()) {
        run.DataChanged = false;
        return;
    }
    if (name.empty()) {
        SaveBtnClick();
        return;
    }
    run.CurrentFileName = name;
    KeepShownEntries();
    if (SaveDataFile(name) == SaveStatus::Saved) run.DataChanged = false;
}

void TMainForm::FirstTimerTick() {
    resizeAttached_ = true;
    LayoutFrame();
    timer_.disconnect(this);
    connect(&timer_, &QTimer::timeout, this, &TMainForm::AutosaveTick);
    timer_.start(kAutosaveTickMs);
}

void TMainForm::LayoutFrame() {
    // Screens are scaled to the frame's client panel, so its size is measured after the frame
    // has taken the main panel's new size.
    if (ui_->MainPanel->layout()) ui_->MainPanel->layout()->activate();
    if (frame_->layout()) frame_->layout()->activate();
    const QSize client = frame_->ClientSize();
    frame_->Rescale(client.width(), client.height());
}

void TMainForm::ShowHyperlinks() {
    const THyperlinkChoice choice = ChooseHyperlink(frame_->CurrentScreenWidget());
    if (!choice.chosen) return;
    if (!choice.address.isEmpty())
        ShellOpen(choice.address);
    else
        Help().ShowContext(choice.jump);
}

// F1: the help context of the focused control or of the nearest container that has one; else
// the current screen's topic.
void TMainForm::ShowContextHelp() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QVariant context = w->property("HelpContext");
        if (context.isValid() && context.toInt() > 0) {
            Help().ShowContext(context.toInt());
            return;
        }
        if (w == this) break;
    }
    if (const TChildForm* screen = frame_->CurrentChildForm(); screen && screen->HelpContext() > 0)
        Help().ShowContext(screen->HelpContext());
}

// Enter presses the screen's default button unless the focused control uses the key itself: a
// button presses itself, and the grid moves between its cells.
namespace {

// The focus is in a worksheet grid, which uses Enter and F6 itself.
bool FocusInGrid(const QWidget* window) {
    for (QWidget* w = QApplication::focusWidget(); w && w != window; w = w->parentWidget())
        if (qobject_cast<TXGrid*>(w)) return true;
    return false;
}

// The focus is in a list, a tree or a grid: Enter chooses there.
bool FocusInItemView(const QWidget* window) {
    for (QWidget* w = QApplication::focusWidget(); w && w != window; w = w->parentWidget())
        if (qobject_cast<QAbstractItemView*>(w)) return true;
    return false;
}

} // namespace

bool TMainForm::EnterPressed() {
    QWidget* focus = QApplication::focusWidget();
    if (QApplication::activePopupWidget() || FocusInItemView(this)) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(focus);
        button && !qobject_cast<QCheckBox*>(button) && !qobject_cast<QRadioButton*>(button)) {
        button->click();
        return true;
    }
    return frame_->PressDefaultButton();
}

bool TMainForm::event(QEvent* event) {
    if (ModuleMessageEvent::numberOf(event) == kMsgExitCommand) {
        ExitCommand();
        return true;
    }
    return QWidget::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && IsInside(watched, this)) {
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->toolTip().isEmpty()) {
            auto* help = static_cast<QHelpEvent*>(event);
            QToolTip::showText(
                help->globalPos(),
                WrapHint(widget->toolTip(), QFontMetrics(QToolTip::font()), kHintWidth), widget);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && IsInside(watched, this) && isActiveWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            ShowContextHelp();
            return true;
        }
        const auto plain = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            plain == Qt::NoModifier && EnterPressed())
            return true;
        if (key->key() == Qt::Key_F6 && (plain == Qt::NoModifier || plain == Qt::ShiftModifier) &&
            !FocusInGrid(this)) {
            frame_->FocusNextPane(plain == Qt::NoModifier);
            return true;
        }
        if (Run().AccessibilityMode) {
            if (key->key() == Qt::Key_H && key->modifiers() == Qt::AltModifier) {
                ShowHyperlinks();
                return true;
            }
            if (key->key() == Qt::Key_F9 && key->modifiers() == Qt::NoModifier) {
                ShowShortcutHelp();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose(this);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    timer_.start(kFirstTickMs);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (resizeAttached_) LayoutFrame();
}

} // namespace cgt
