#pragma once
// The notes pad: free text kept with the return in tag 399, one list line per memo line.
// Modeless and on top of the main window; it frees itself when closed and says so.

#include <QWidget>

#include <memory>

class QCloseEvent;
class QShowEvent;

namespace Ui {
class TNotesForm;
}

namespace cgt {

class TNotesForm : public QWidget {
    Q_OBJECT

public:
    explicit TNotesForm(QWidget* parent = nullptr);
    ~TNotesForm() override;

    Ui::TNotesForm& ui() { return *ui_; }

signals:
    // The pad is gone; the next Notes click creates a new one.
    void NotesClosed();

public slots:
    void FormShow();
    void FormClose();
    void BtnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TNotesForm> ui_;
    bool closed_ = false;
};

} // namespace cgt
