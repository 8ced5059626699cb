// The save box as a user drives it: the lists follow the directory, the name box filters keys,
// and Save checks the name and asks before overwriting.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>

#include "dialogs/save_box.h"
#include "store/dialogs.h"
#include "support/store_fixture.h"

namespace {

using namespace cgt;

QStringList Lines(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text().trimmed();
    return out;
}

// A user's double click: the first click, then the second one.
void DoubleClick(QListWidget& list, QListWidgetItem* item) {
    const QPoint at = list.visualItemRect(item).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

class SaveBoxTest : public test::StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        dir = QString::fromStdString(folder.path().string());
        std::ofstream(folder.file("old.tax")) << "x";
        std::ofstream(folder.file("OTHER.TAX")) << "x";
        std::ofstream(folder.file("notes.txt")) << "x";
        std::filesystem::create_directory(folder.path() / "sub");
        box = std::make_unique<TfrmSaveBox>();
        box->SetSaveMode();
        box->SetDirectory(dir);
        name = box->findChild<QLineEdit*>("edtFName");
        files = box->findChild<QListWidget*>("FileList");
        dirs = box->findChild<QListWidget*>("DirectoryList");
        current = box->findChild<QLabel*>("lblCurrentDir");
    }

    void Save(const QString& typed) {
        name->setText(typed);
        QTest::mouseClick(box->findChild<QPushButton*>("btnAction"), Qt::LeftButton);
    }

    test::TempFolder folder;
    QString dir;
    std::unique_ptr<TfrmSaveBox> box;
    QLineEdit* name = nullptr;
    QListWidget* files = nullptr;
    QListWidget* dirs = nullptr;
    QLabel* current = nullptr;
};

TEST(SaveBoxCreation, StartsInTheCurrentDirectoryAndShowsTheCallersName) {
    TfrmSaveBox box;
    EXPECT_EQ(box.windowTitle(), "Save File");
    EXPECT_TRUE(box.FileName().isEmpty());
    EXPECT_EQ(box.findChild<QLabel*>("lblCurrentDir")->text(),
              QDir::toNativeSeparators(QDir::currentPath()));
    EXPECT_TRUE(box.findChild<QPushButton*>("btnChangeDir")->isHidden());
    box.setFileName("myreturn");
    box.show();
    EXPECT_EQ(box.findChild<QLineEdit*>("edtFName")->text(), "myreturn");
    EXPECT_EQ(QString::fromStdString(box.ParseFileName().fullPath),
              QDir::currentPath() + "/MYRETURN.TAX");
}

TEST_F(SaveBoxTest, ListsFollowTheDirectoryAndAFileClickFillsTheName) {
    EXPECT_EQ(current->text(), QDir::toNativeSeparators(dir));
    EXPECT_EQ(Lines(*files), (QStringList{"old.tax", "OTHER.TAX"}));
    ASSERT_FALSE(dirs->findItems("sub", Qt::MatchEndsWith).isEmpty());

    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(files->item(1)).center());
    EXPECT_EQ(name->text(), "OTHER.TAX");

    QListWidgetItem* sub = dirs->findItems("sub", Qt::MatchEndsWith).first();
    DoubleClick(*dirs, sub);
    EXPECT_EQ(current->text(), QDir::toNativeSeparators(dir + "/sub"));
    EXPECT_EQ(box->Directory(), dir + "/sub");
    EXPECT_EQ(files->count(), 0);

    // Back up through the parent's line in the directory list.
    const QString parentName = QFileInfo(dir).fileName();
    QListWidgetItem* up = dirs->findItems(parentName, Qt::MatchEndsWith).first();
    DoubleClick(*dirs, up);
    EXPECT_EQ(box->Directory(), dir);
}

TEST_F(SaveBoxTest, TheNameBoxTakesLettersDigitsDashAndOneFullStop) {
    name->clear();
    QTest::keyClicks(name, "my_re turn-2.t.a/x!");
    EXPECT_EQ(name->text(), "myreturn-2.tax");
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(name->text(), "myreturn-2.ta");
    QTest::keyClick(name, Qt::Key_Home);
    QTest::keyClicks(name, "Z");
    EXPECT_EQ(name->text(), "Zmyreturn-2.ta");
}

TEST_F(SaveBoxTest, ANewNameClosesWithOkAndTheFullPath) {
    box->show();
    Save("myreturn");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Accepted);
    EXPECT_EQ(box->FileName(), dir + "/MYRETURN.TAX");
}

TEST_F(SaveBoxTest, BadNamesAreRefusedAndTheBoxStaysOpen) {
    box->show();
    struct Case {
        const char* typed;
        const char* message;
    };
    for (const Case& c :
         {Case{"a.txt", "File extension must be .TAX"}, Case{".tax", "File extension must be .TAX"},
          Case{".", "Invalid filename"}, Case{"my return!", "Invalid filename"}}) {
        SCOPED_TRACE(c.typed);
        dialogs.messages.clear();
        Save(c.typed);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].kind, mkWarning);
        EXPECT_EQ(dialogs.messages[0].buttons, mbOK);
        EXPECT_TRUE(box->isVisible());
        EXPECT_TRUE(box->FileName().isEmpty());
    }
}

TEST_F(SaveBoxTest, AnExistingFileIsOverwrittenOnlyAfterYes) {
    std::ofstream(folder.file("MYRETURN.TAX")) << "x";
    box->SetDirectory(dir); // as a box opened now shows it
    box->show();
    dialogs.queueAnswer(mrNo);
    Save("myreturn");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File exists - Overwrite?");
    EXPECT_EQ(dialogs.messages[0].kind, 3);
    EXPECT_EQ(dialogs.messages[0].buttons, mbYes | mbNo);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->FileName().isEmpty());

    dialogs.queueAnswer(mrYes);
    QListWidgetItem* existing = files->findItems("MYRETURN.TAX", Qt::MatchExactly).value(0);
    ASSERT_NE(existing, nullptr);
    DoubleClick(*files, existing);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Accepted);
    EXPECT_EQ(box->FileName(), dir + "/MYRETURN.TAX");
}

// Opened on the return being saved: the box starts in the return's folder with its name, and
// that name saves the return's own file whatever its extension or case.
TEST_F(SaveBoxTest, TheReturnsOwnFileIsItsFolderAndItsName) {
    std::filesystem::create_directory(folder.path() / "returns");
    const QString own = dir + "/returns/sample2004.t04";
    std::ofstream(own.toStdString()) << "x";
    for (const QString& typed : {QString("sample2004.t04"), QString("SAMPLE2004.T04")}) {
        SCOPED_TRACE(typed.toStdString());
        TfrmSaveBox box;
        box.SetSaveMode();
        box.SetCurrentFile(own);
        box.show();
        EXPECT_EQ(box.Directory(), dir + "/returns");
        EXPECT_EQ(box.findChild<QLabel*>("lblCurrentDir")->text(),
                  QDir::toNativeSeparators(dir + "/returns"));
        auto* edit = box.findChild<QLineEdit*>("edtFName");
        EXPECT_EQ(edit->text(), "sample2004.t04");
        edit->setText(typed);
        dialogs.messages.clear();
        QTest::mouseClick(box.findChild<QPushButton*>("btnAction"), Qt::LeftButton);
        ASSERT_EQ(dialogs.texts(), std::vector<std::string>{"File exists - Overwrite?"});
        EXPECT_EQ(box.result(), QDialog::Accepted);
        EXPECT_EQ(box.FileName(), own);
    }
}

TEST_F(SaveBoxTest, ANameMeansTheFileThatDiffersFromItOnlyInCase) {
    box->show();
    dialogs.queueAnswer(mrYes);
    Save("old");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"File exists - Overwrite?"});
    EXPECT_EQ(box->FileName(), dir + "/old.tax");
}

TEST_F(SaveBoxTest, ADriveWithoutSizeIsRefusedAndAReadableOneIsOpened) {
    auto* drives = box->findChild<QComboBox*>("DriveCombo");
    if (QStorageInfo("/proc").bytesTotal() != 0) GTEST_SKIP() << "/proc reports a size here";
    drives->addItem("/proc", "/proc");
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_End);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Unable to read from drive");
    EXPECT_EQ(box->Directory(), dir);
    EXPECT_NE(drives->currentData().toString(), "/proc");

    const QString sub = dir + "/sub";
    drives->addItem("sub", sub);
    QTest::keyClick(drives, Qt::Key_End);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(box->Directory(), sub);
    EXPECT_EQ(current->text(), QDir::toNativeSeparators(sub));
}

} // namespace
