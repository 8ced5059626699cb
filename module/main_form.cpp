#include "module/main_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <string>
#include <string_view>

#include "module/module_api.h"
#include "module/module_run.h"
#include "store/dialogs.h"
#include "store/field_store.h"
#include "store/run_state.h"

namespace cgt {

namespace {

constexpr int kFormWidth = 800;
constexpr int kFormClientHeight = 575;
constexpr int kMinimumWidth = 500;
constexpr int kMinimumHeight = 400;
constexpr int kSmallDesktopHeight = 600;

// Drops control characters and blanks at both ends.
std::string Trimmed(std::string_view s) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return std::string(s);
}

} // namespace

QString MainWindowTitle() {
    const std::string& file = Run().CurrentFileName;
    QString title =
        QStringLiteral("Tesmo 2004 - ") + QFile::decodeName(QByteArray::fromStdString(file));
    if (IsLodged()) {
        auto text = [](int tag) { return QString::fromLatin1(Trimmed(GetFieldText(tag))); };
        title += QStringLiteral(" (Lodged on ") + text(1478) + QStringLiteral(" at ") + text(1490) +
                 QStringLiteral(".  Ref:") + text(1479) + QStringLiteral(")");
    }
    return title;
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    ModuleRunState& run = Run();
    ReadCommandLineSwitches(QCoreApplication::arguments(), run);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("MainPanel"));
    setCentralWidget(panel);
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

    run.DataChanged = false;
    run.CurrentFileName.clear();
    run.RefreshTitle = [this] { SetTitle(); };
    SetTitle();
}

TMainForm::~TMainForm() {
    Run().RefreshTitle = nullptr;
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
    const QSize frameExtra = frameGeometry().size() - geometry().size();
    move(left, top);
    resize(width - frameExtra.width(), height - frameExtra.height());
    if (maximised)
        setWindowState(Qt::WindowMaximized);
    else if (minimised)
        setWindowState(Qt::WindowMinimized);
}

bool TMainForm::FormCloseQuery() {
    if (Run().InScreen) {
        MsgBox("You must complete this section before saving.", mkWarning, mbOK);
        return false;
    }
    return true;
}

void TMainForm::FormClose(QObject* sender) {
    const int message = sender == this ? kMsgInterviewClosed : kMsgInterviewLeft;
    if (auto* host = reinterpret_cast<QObject*>(Run().HostWindow))
        QCoreApplication::postEvent(host, new ModuleMessageEvent(message));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose(this);
}

} // namespace cgt
