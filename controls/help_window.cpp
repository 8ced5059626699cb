#include "controls/help_window.h"

#include <QKeyEvent>

#include "ui_help_window.h"

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), ui_(new Ui::HelpWindow) {
    ui_->setupUi(this);
    ui_->splitter->setStretchFactor(1, 3);
    connect(ui_->closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_->contentsList, &QListWidget::currentRowChanged, this,
            &THelpWindow::contentsRowChanged);
}

THelpWindow::~THelpWindow() = default;

void THelpWindow::SetContents(const QString& fileTitle, cgt::HelpFileContents contents) {
    fileTitle_ = fileTitle;
    contents_ = std::move(contents);
    const QSignalBlocker block(ui_->contentsList);
    ui_->contentsList->clear();
    for (const cgt::HelpTopic& topic : contents_.topics())
        ui_->contentsList->addItem(QString::fromLatin1(topic.title));
    setWindowTitle("Help - " + fileTitle_);
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
    } else {
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
