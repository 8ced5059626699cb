#include "interview/debug_commands.h"

#include <QPushButton>

#include "dialogs/get_tag_form.h"
#include "interview/frame.h"
#include "interview/screen_catalog.h"
#include "store/dialogs.h"
#include "store/run_state.h"

namespace cgt {

DebugCommands::DebugCommands(TFrameWnd* frame, QPushButton* jump, QPushButton* scan,
                             QPushButton* tags)
    : QObject(frame), frame_(frame), jump_(jump), scan_(scan), tags_(tags) {
    connect(jump_, &QPushButton::clicked, this, &DebugCommands::Jump);
    connect(scan_, &QPushButton::clicked, this, &DebugCommands::Scan);
    connect(tags_, &QPushButton::clicked, this, &DebugCommands::Tags);
}

void DebugCommands::UpdateButtons() {
    const bool debug = Run().DebugMode;
    jump_->setVisible(debug);
    scan_->setVisible(debug);
    tags_->setVisible(debug);
}

void DebugCommands::Jump() {
    const auto answer = Dialogs().InputBox("Jump", "Enter screen number to jump to: ", "");
    if (!answer || answer->empty()) return;
    bool ok = false;
    const int number = QString::fromLatin1(*answer).trimmed().toInt(&ok);
    if (!ok) {
        ShowMsg("Not a screen number");
        return;
    }
    if (frame_->ShowHostButtons) frame_->ShowHostButtons();
    frame_->JumpTo(number & 0xFFFF);
}

void DebugCommands::Scan() {
    const int after = ScreenAfter(Run().CurrentScreen);
    if (after == 0) return; // no screen of the table is shown
    frame_->SetPosition(after);
    frame_->ShowCurrentScreen();
}

void DebugCommands::Tags() {
    if (!tagInspector_) {
        tagInspector_ = new TfrmGetTag(frame_);
        tagInspector_->setWindowFlag(Qt::Window);
    }
    tagInspector_->show();
    tagInspector_->raise();
    tagInspector_->activateWindow();
}

} // namespace cgt
