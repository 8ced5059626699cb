#pragma once
// The save box: the user picks a directory and types a name; the box checks the name, asks
// before overwriting, and leaves the full path of the ".TAX" file in FileName.

#include <QDialog>
#include <QString>

#include <memory>

#include "dialogs/save_file_name.h"

class QShowEvent;

namespace Ui {
class TfrmSaveBox;
}

namespace cgt {

class TfrmSaveBox : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)

public:
    explicit TfrmSaveBox(QWidget* parent = nullptr);
    ~TfrmSaveBox() override;

    // Set by the caller before showing; after OK the chosen file's full path.
    QString FileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }

    // The return being saved: the box starts in its folder with its file name, and accepts
    // that name (in any case, whatever its extension) as the return's own file.
    void SetCurrentFile(const QString& path);

    // The directory shown in the lists; names are expanded against it.
    QString Directory() const { return directory_; }
    void SetDirectory(const QString& path);

    // Save: the action button and a double click in the file list save.
    void SetSaveMode();

    // The typed name checked and expanded against the shown directory.
    ParsedFileName ParseFileName() const;

    Ui::TfrmSaveBox& ui() { return *ui_; }

public slots:
    void SaveClick();
    void FileListClick();
    void DirectoryListChange();
    void DriveComboChange(int index);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillDirectoryList();
    void fillFileList();
    void fillDriveList();
    void selectDriveOfDirectory();

    std::unique_ptr<Ui::TfrmSaveBox> ui_;
    // The full path the typed name stands for; empty after a refusal, which was shown.
    QString ChosenPath();

    QString fileName_;
    QString directory_;
    QString currentFile_;
};

} // namespace cgt
