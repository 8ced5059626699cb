// The Qt dialog service, driven through the real boxes under the offscreen platform.

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "controls/help_service.h"
#include "controls/qt_dialogs.h"
#include "store/dialogs.h"

namespace cgt::test {
namespace {

// Runs `act` on the modal dialog as soon as the event loop of its exec() runs.
template <class Dialog> void WhenShown(const std::function<void(Dialog&)>& act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

class QtDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDialogService(&QtDialogs());
        SetApplicationTitle("Tesmo 2004");
    }
    void TearDown() override { SetDialogService(nullptr); }
};

TEST_F(QtDialogsTest, MessageBoxShowsTheKindTheButtonsAndAnswersWithTheClickedOne) {
    using SB = QMessageBox;
    const struct {
        int kind;
        int requested;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons shown;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::StandardButton click;
        int result;
    } cases[] = {
        {mkWarning, mbYes | mbNo, SB::Warning, SB::Yes | SB::No, SB::Yes, SB::No, mrNo},
        {mkError, mbYes | mbNo | mbCancel, SB::Critical, SB::Yes | SB::No | SB::Cancel, SB::Yes,
         SB::Cancel, mrCancel},
        {mkInformation, mbOK | mbCancel, SB::Information, SB::Ok | SB::Cancel, SB::Ok, SB::Ok,
         mrOK},
        {mkPlain, mbRetry | mbCancel, SB::NoIcon, SB::Retry | SB::Cancel, SB::Retry, SB::Retry,
         mrRetry},
        {3, mbAbort | mbRetry | mbIgnore, SB::NoIcon, SB::Abort | SB::Retry | SB::Ignore, SB::Abort,
         SB::Ignore, mrIgnore},
        {mkWarning, mbYes | mbOK, SB::Warning, SB::Ok, SB::Ok, SB::Ok, mrOK},
        {mkWarning, mbAbort, SB::Warning, SB::Ok, SB::Ok, SB::Ok, mrOK},
        {mkQuestion, mbYes | mbNo, SB::Question, SB::Yes | SB::No, SB::Yes, SB::Yes, mrYes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " buttons " + std::to_string(c.requested));
        QString caption;
        QString text;
        QMessageBox::Icon icon{};
        QMessageBox::StandardButtons shown;
        QMessageBox::StandardButton defaultButton = SB::NoButton;
        WhenShown<QMessageBox>([&](QMessageBox& box) {
            caption = box.windowTitle();
            text = box.text();
            icon = box.icon();
            shown = box.standardButtons();
            defaultButton = box.standardButton(box.defaultButton());
            box.button(c.click)->click();
        });
        const int result = MsgBox("Gr\xfc\xdf Gott", c.kind, c.requested);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(caption, QStringLiteral("Tesmo 2004"));
        EXPECT_EQ(text, QString::fromUtf8("Grüß Gott"));
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(defaultButton, c.defaultButton);
    }
}

// A screen reader announces a message box with its message, as its description.
TEST_F(QtDialogsTest, AMessageBoxIsAnnouncedWithItsMessage) {
    QString name;
    QString description;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
        name = accessible->text(QAccessible::Name);
        description = accessible->text(QAccessible::Description);
        box.button(QMessageBox::Ok)->click();
    });
    MsgBox("You must enter the acquisition date.", mkError, mbOK);
    EXPECT_EQ(name, QStringLiteral("Tesmo 2004"));
    EXPECT_EQ(description, QStringLiteral("You must enter the acquisition date."));
}

// Only the buttons a dialog has, a fixed size, and the main window as owner even when no window
// is active.
void ExpectDialogFrame(const QDialog& dialog) {
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(QtDialogsTest, BoxesCarryOnlyADialogsFrame) {
    QWidget mainWindow;
    mainWindow.resize(800, 600);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    bool checked = false;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        ExpectDialogFrame(box);
        EXPECT_EQ(box.parentWidget(), &mainWindow);
        checked = true;
        box.button(QMessageBox::Ok)->click();
    });
    ShowMsg("Saved.");
    EXPECT_TRUE(checked);

    checked = false;
    WhenShown<QInputDialog>([&](QInputDialog& dialog) {
        ExpectDialogFrame(dialog);
        EXPECT_EQ(dialog.parentWidget(), &mainWindow);
        checked = true;
        dialog.reject();
    });
    Dialogs().InputBox("Name", "Asset name", "old");
    EXPECT_TRUE(checked);
}

TEST_F(QtDialogsTest, RequestedDefaultButtonHasTheFocus) {
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        defaultButton = box.standardButton(box.defaultButton());
        box.defaultButton()->click();
    });
    // ConfirmWarning asks Yes/No with No as the default.
    EXPECT_FALSE(ConfirmWarning("Delete it?"));
    EXPECT_EQ(defaultButton, QMessageBox::No);
}

// Records the topics asked for.
class RecordingHelp : public HelpService {
public:
    void ShowContext(int context) override { contexts.push_back(context); }
    void ShowContents() override {}
    void SetHelpFile(const std::string&) override {}
    std::string HelpFile() const override { return {}; }
    std::vector<int> contexts;
};

TEST_F(QtDialogsTest, HelpButtonShowsTheTopicAndKeepsTheBoxForTheAnswer) {
    RecordingHelp help;
    SetHelpService(&help);
    QMessageBox::StandardButtons shown;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        shown = box.standardButtons();
        box.button(QMessageBox::Help)->click();
        WhenShown<QMessageBox>([](QMessageBox& again) { again.button(QMessageBox::No)->click(); });
    });
    MessageRequest request;
    request.text = "Delete this event?";
    request.kind = mkQuestion;
    request.buttons = mbYes | mbNo | mbHelp;
    request.helpContext = 212;
    EXPECT_EQ(Dialogs().ShowMessage(request), mrNo);
    SetHelpService(nullptr);
    EXPECT_EQ(shown, QMessageBox::Yes | QMessageBox::No | QMessageBox::Help);
    EXPECT_EQ(help.contexts, std::vector<int>{212});
}

TEST_F(QtDialogsTest, InputBoxReturnsTheTypedTextOrNothingWhenCancelled) {
    QString label;
    QString shownValue;
    WhenShown<QInputDialog>([&](QInputDialog& dialog) {
        label = dialog.labelText();
        shownValue = dialog.textValue();
        dialog.setTextValue(QString::fromUtf8("Caf\u00e9 shares"));
        dialog.accept();
    });
    EXPECT_EQ(Dialogs().InputBox("Name", "Asset name", "old"),
              std::optional<std::string>("Caf\xe9 shares"));
    EXPECT_EQ(label, QStringLiteral("Asset name"));
    EXPECT_EQ(shownValue, QStringLiteral("old"));

    WhenShown<QInputDialog>([](QInputDialog& dialog) { dialog.reject(); });
    EXPECT_EQ(Dialogs().InputBox("Name", "Asset name", "old"), std::nullopt);
}

} // namespace
} // namespace cgt::test
