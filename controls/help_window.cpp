#include "controls/help_window.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

#include "ui_help_window.h"

namespace {

constexpr int kMinimumWidth = 360;
constexpr int kMinimumHeight = 240;
// Room for a window manager's title bar and borders around the window's own size.
constexpr int kFrameAllowance = 32;
constexpr char kTitleSuffix[] = " - Help";

// The buttons along the bottom of a window: its lowest quarter.
QRect ButtonBar(const QWidget& window) {
    QRect bar;
    const QRect inside = window.rect();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window)) continue;
        const QRect at(button->mapTo(&window, QPoint(0, 0)), button->size());
        if (at.top() >= inside.top() + inside.height() * 3 / 4)
            bar |= QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    }
    return bar;
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), ui_(new Ui::HelpWindow) {
    ui_->setupUi(this);
    // The topic list wraps its titles rather than scrolling sideways.
    ui_->splitter->setStretchFactor(1, 3);
    ui_->splitter->setSizes({width() * 2 / 5, width() * 3 / 5});
    preferredSize_ = size();
    connect(ui_->closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_->contentsList, &QListWidget::currentRowChanged, this,
            &THelpWindow::contentsRowChanged);
}

THelpWindow::~THelpWindow() = default;

void THelpWindow::SetContents(cgt::HelpFileContents contents) {
    contents_ = std::move(contents);
    const QSignalBlocker block(ui_->contentsList);
    ui_->contentsList->clear();
    for (const cgt::HelpTopic& topic : contents_.topics())
        ui_->contentsList->addItem(QString::fromLatin1(topic.title));
    setWindowTitle(QStringLiteral("Help"));
}

void THelpWindow::ShowTopic(int context) {
    shownContext_ = context;
    const cgt::HelpTopic* topic = contents_.find(context);
    QString html;
    if (topic) {
        html = "<h3>" + QString::fromLatin1(topic->title).toHtmlEscaped() + "</h3>";
        for (const QString& paragraph : QString::fromLatin1(topic->text).split("\n\n"))
            html += "<p>" + paragraph.toHtmlEscaped() + "</p>";
        const QSignalBlocker block(ui_->contentsList);
        ui_->contentsList->setCurrentRow(static_cast<int>(topic - contents_.topics().data()));
        setWindowTitle(QString::fromLatin1(topic->title) + kTitleSuffix);
    } else {
        setWindowTitle(QStringLiteral("Help"));
        html =
            "<p>" +
            QString("No help is available for this item (topic %1).").arg(context).toHtmlEscaped() +
            "</p>";
        ui_->contentsList->clearSelection();
    }
    ui_->topicView->setHtml(html);
    show();
    raise();
    activateWindow();
}

void THelpWindow::ShowContentsList() {
    show();
    raise();
    activateWindow();
    if (ui_->contentsList->count() > 0 && ui_->contentsList->currentRow() < 0)
        ui_->contentsList->setCurrentRow(0);
    ui_->contentsList->setFocus();
}

QRect THelpWindow::Placement(const QRect& owner, const QRect& keepClear, const QRect& screen,
                             QSize size) {
    const int height = std::min(size.height(), screen.height());
    const int top = std::clamp(owner.top(), screen.top(), screen.bottom() - height + 1);
    const int rightRoom = screen.right() - owner.right();
    const int leftRoom = owner.left() - screen.left();
    if (rightRoom >= kMinimumWidth || leftRoom >= kMinimumWidth) {
        // Beside the window, on the side with more room when neither takes the whole width.
        const bool right = rightRoom >= size.width() || rightRoom >= leftRoom;
        const int width = std::min(size.width(), right ? rightRoom : leftRoom);
        const int left = right ? owner.right() + 1 : owner.left() - width;
        return {left, top, width, height};
    }
    // No room beside it: over the window, above its button bar, or else left of it.
    const QRect clear = keepClear.isEmpty()
                            ? QRect(owner.left(), owner.bottom() - owner.height() / 8,
                                    owner.width(), owner.height() / 8)
                            : keepClear;
    const int roomAbove = clear.top() - screen.top() - kFrameAllowance;
    if (roomAbove >= kMinimumHeight) {
        const int width = std::min(size.width(), screen.width());
        const int left = std::clamp(owner.left(), screen.left(), screen.right() - width + 1);
        return {left, screen.top(), width, std::min(height, roomAbove)};
    }
    const int width = std::min(size.width(), clear.left() - screen.left() - kFrameAllowance);
    return {screen.left(), top, std::max(width, 1), height};
}

void THelpWindow::PlaceBeside(const QWidget& owner) {
    const QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect frame = Placement(owner.frameGeometry(), ButtonBar(owner),
                                  screen->availableGeometry(), preferredSize_);
    // The frame's decorations come on top of the window's own size; before it was first shown
    // they are taken to be the owner's.
    const QSize margins = (frameGeometry().size() - geometry().size())
                              .expandedTo(owner.frameGeometry().size() - owner.geometry().size());
    resize((frame.size() - margins).expandedTo(QSize(1, 1)));
    move(frame.topLeft());
}

QString THelpWindow::shownTitle() const {
    const cgt::HelpTopic* topic = contents_.find(shownContext_);
    return topic ? QString::fromLatin1(topic->title) : QString();
}

QString THelpWindow::shownText() const {
    return ui_->topicView->toPlainText();
}

void THelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THelpWindow::contentsRowChanged(int row) {
    if (row < 0 || row >= static_cast<int>(contents_.topics().size())) return;
    ShowTopic(contents_.topics()[static_cast<std::size_t>(row)].context);
}
