#include "dialogs/hyperlinks_form.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "controls/qt_dialogs.h"
#include "controls/text_label.h"
#include "ui_hyperlinks_form.h"

namespace cgt {

THyperlinksForm::THyperlinksForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::THyperlinksForm>()) {
    ui_->setupUi(this);
    UseDialogFrame(*this);
    connect(ui_->hyperlinksListBox, &QListWidget::itemClicked, this,
            &THyperlinksForm::hyperlinksListBoxClick);
    connect(ui_->hyperlinksListBox, &QListWidget::itemSelectionChanged, this,
            &THyperlinksForm::hyperlinksListBoxClick);
    connect(ui_->okayButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

THyperlinksForm::~THyperlinksForm() = default;

void THyperlinksForm::hyperlinksListBoxClick() {
    if (ui_->hyperlinksListBox->currentRow() >= 0) ui_->okayButton->setEnabled(true);
}

void THyperlinksForm::addLine(const QString& text, TJumpData item) {
    if (text.trimmed().isEmpty()) return;
    ui_->hyperlinksListBox->addItem(text);
    items_.push_back(std::move(item));
}

void THyperlinksForm::walk(QWidget* container) {
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        if (auto* label = qobject_cast<TTextLbl*>(widget)) {
            for (int i = 0; i < label->JumpCount(); ++i) {
                const TJump jump = label->Jump(i);
                addLine(jump.Text, {TJumpData::jdJump, jump.JumpID, QString()});
            }
            for (int i = 0; i < label->LinkCount(); ++i) {
                const THLink link = label->Link(i);
                addLine(link.Text, {TJumpData::jdLink, link.Number, link.URL});
            }
        }
        walk(widget);
    }
}

void THyperlinksForm::LoadLinks(QWidget* screen) {
    ui_->hyperlinksListBox->clear();
    items_.clear();
    ui_->okayButton->setEnabled(false);
    if (screen) walk(screen);
    // The first link is chosen at once, so that Enter follows it.
    if (ui_->hyperlinksListBox->count() > 0) ui_->hyperlinksListBox->setCurrentRow(0);
    ui_->hyperlinksListBox->setFocus();
}

THyperlinkChoice THyperlinksForm::Choice() const {
    THyperlinkChoice choice;
    const int row = ui_->hyperlinksListBox->currentRow();
    if (result() != QDialog::Accepted || row < 0 || row >= static_cast<int>(items_.size()))
        return choice;
    const TJumpData& item = items_[static_cast<std::size_t>(row)];
    choice.chosen = true;
    if (item.kind == TJumpData::jdLink) {
        choice.jump = -1;
        choice.address = item.address;
    } else {
        choice.jump = item.number;
    }
    return choice;
}

THyperlinkChoice ChooseHyperlink(QWidget* screen) {
    THyperlinksForm form(screen ? screen->window() : nullptr);
    form.LoadLinks(screen);
    if (QScreen* display = QGuiApplication::primaryScreen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(display->availableGeometry().center());
        form.move(frame.topLeft());
    }
    form.exec();
    return form.Choice();
}

} // namespace cgt
