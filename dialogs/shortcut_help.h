#pragma once
// The list of shortcut keys for users in accessibility mode.

#include <QDialog>

#include <memory>

namespace Ui {
class TviHelperForm;
}

namespace cgt {

class TviHelperForm : public QDialog {
    Q_OBJECT

public:
    explicit TviHelperForm(QWidget* parent = nullptr);
    ~TviHelperForm() override;

    Ui::TviHelperForm& ui() { return *ui_; }

public slots:
    void closeButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TviHelperForm> ui_;
};

// Shows the shortcut keys modally over the active window.
void ShowShortcutHelp();

} // namespace cgt
