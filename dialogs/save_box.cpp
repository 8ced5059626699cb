#include "dialogs/save_box.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/qt_dialogs.h"
#include "store/dialogs.h"
#include "ui_save_box_form.h"

namespace cgt {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kOverwriteKind = 3; // a question without an icon

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

TfrmSaveBox::TfrmSaveBox(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfrmSaveBox>()) {
    ui_->setupUi(this);
    ui_->edtFName->installEventFilter(this);
    connect(ui_->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->FileList, &QListWidget::currentRowChanged, this, &TfrmSaveBox::FileListClick);
    connect(ui_->DirectoryList, &QListWidget::itemActivated, this,
            &TfrmSaveBox::DirectoryListChange);
    connect(ui_->DriveCombo, &QComboBox::activated, this, &TfrmSaveBox::DriveComboChange);
    fillDriveList();
    SetDirectory(QDir::currentPath());
    UseDialogFrame(*this);
}

TfrmSaveBox::~TfrmSaveBox() = default;

void TfrmSaveBox::SetSaveMode() {
    setWindowTitle(QStringLiteral("Save File"));
    ui_->btnAction->setText(QStringLiteral("&Save"));
    connect(ui_->btnAction, &QPushButton::clicked, this, &TfrmSaveBox::SaveClick,
            Qt::UniqueConnection);
    connect(ui_->FileList, &QListWidget::itemDoubleClicked, this, &TfrmSaveBox::SaveClick,
            Qt::UniqueConnection);
}

void TfrmSaveBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) ui_->edtFName->setText(fileName_);
}

void TfrmSaveBox::SetCurrentFile(const QString& path) {
    currentFile_.clear();
    if (path.isEmpty()) return;
    const QFileInfo file(path);
    currentFile_ = file.absoluteFilePath();
    if (file.absoluteDir().exists()) SetDirectory(file.absolutePath());
    setFileName(file.fileName());
}

void TfrmSaveBox::SetDirectory(const QString& path) {
    directory_ = QDir(path).absolutePath();
    ui_->lblCurrentDir->setText(QDir::toNativeSeparators(directory_));
    fillDirectoryList();
    fillFileList();
    selectDriveOfDirectory();
}

void TfrmSaveBox::fillFileList() {
    QSignalBlocker block(ui_->FileList);
    ui_->FileList->clear();
    QDir dir(directory_);
    dir.setNameFilters({QStringLiteral("*.tax")}); // any case
    ui_->FileList->addItems(
        dir.entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase));
}

void TfrmSaveBox::fillDirectoryList() {
    QSignalBlocker block(ui_->DirectoryList);
    ui_->DirectoryList->clear();
    // The path from the root down to the directory, then its subdirectories one level deeper.
    QStringList chain;
    for (QDir dir(directory_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp()) break;
    }
    int level = 0;
    for (const QString& path : chain) {
        const QString name =
            QDir(path).isRoot() ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(level * 2, QLatin1Char(' ')) + name);
        item->setData(kPathRole, path);
        ui_->DirectoryList->addItem(item);
        ++level;
    }
    ui_->DirectoryList->setCurrentRow(ui_->DirectoryList->count() - 1);
    const QDir current(directory_);
    for (const QString& sub :
         current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QString(level * 2, QLatin1Char(' ')) + sub);
        item->setData(kPathRole, current.absoluteFilePath(sub));
        ui_->DirectoryList->addItem(item);
    }
}

void TfrmSaveBox::fillDriveList() {
    QSignalBlocker block(ui_->DriveCombo);
    ui_->DriveCombo->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid()) continue;
        ui_->DriveCombo->addItem(volume.rootPath(), volume.rootPath());
    }
}

void TfrmSaveBox::selectDriveOfDirectory() {
    QSignalBlocker block(ui_->DriveCombo);
    const QString root = QStorageInfo(directory_).rootPath();
    int index = ui_->DriveCombo->findData(root);
    if (index < 0 && !root.isEmpty()) {
        ui_->DriveCombo->addItem(root, root);
        index = ui_->DriveCombo->count() - 1;
    }
    ui_->DriveCombo->setCurrentIndex(index);
}

void TfrmSaveBox::FileListClick() {
    if (QListWidgetItem* item = ui_->FileList->currentItem()) ui_->edtFName->setText(item->text());
}

void TfrmSaveBox::DirectoryListChange() {
    QListWidgetItem* item = ui_->DirectoryList->currentItem();
    if (!item) return;
    const QString path = item->data(kPathRole).toString();
    if (!path.isEmpty() && QFileInfo(path).isDir()) SetDirectory(path);
}

void TfrmSaveBox::DriveComboChange(int index) {
    const QString root = ui_->DriveCombo->itemData(index).toString();
    if (!root.isEmpty() && QStorageInfo(root).bytesTotal() > 0) {
        SetDirectory(root);
        return;
    }
    ShowMsg("Unable to read from drive");
    selectDriveOfDirectory();
}

ParsedFileName TfrmSaveBox::ParseFileName() const {
    return cgt::ParseFileName(ui_->edtFName->text().toLatin1().toStdString(),
                              LocalPath(directory_));
}

QString TfrmSaveBox::ChosenPath() {
    const QFileInfo current(currentFile_);
    if (!currentFile_.isEmpty() && current.absolutePath() == directory_ &&
        NamesCurrentFile(ui_->edtFName->text().toLatin1().toStdString(),
                         LocalPath(current.fileName())))
        return currentFile_;
    const ParsedFileName parsed = ParseFileName();
    if (parsed.badName) {
        MsgBox(parsed.badExtension ? "File extension must be .TAX" : "Invalid filename", mkWarning,
               mbOK);
        return {};
    }
    // On a file system that tells case apart, a file whose name differs only in case is still
    // the file the name means.
    const std::filesystem::path full(parsed.fullPath);
    std::vector<std::string> entries;
    for (const QString& entry : QDir(directory_).entryList(QDir::Files | QDir::Hidden))
        entries.push_back(LocalPath(entry));
    const std::string entry = EntryForName(full.filename().string(), entries);
    const std::string path =
        entry.empty() ? parsed.fullPath : (full.parent_path() / entry).string();
    return QFile::decodeName(QByteArray::fromStdString(path));
}

void TfrmSaveBox::SaveClick() {
    const QString path = ChosenPath();
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path) &&
        MsgBox("File exists - Overwrite?", kOverwriteKind, mbYes | mbNo) != mrYes)
        return;
    fileName_ = path;
    accept();
}

bool TfrmSaveBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->edtFName && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return QDialog::eventFilter(watched, event);
        default:
            break;
        }
        const QString text = key->text();
        if (text.isEmpty()) return QDialog::eventFilter(watched, event); // caret keys
        const QChar c = text.front();
        if (c.unicode() >= 128) return true;
        if (c.unicode() < 32 || c.unicode() == 127) return true; // Ctrl chords: no paste
        const std::string current = ui_->edtFName->text().toLatin1().toStdString();
        if (!FileNameKeyAccepted(static_cast<char>(c.unicode()), current)) return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace cgt
