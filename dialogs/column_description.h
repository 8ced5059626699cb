#pragma once
// The description of a worksheet grid's column, read out for users in accessibility mode:
// the column's heading and the text that goes with it, in a read-only memo.

#include <QDialog>
#include <QString>

#include <memory>

class QKeyEvent;

namespace Ui {
class TTableColumnDescriptionForm;
}

namespace cgt {

// Control characters become blanks, then double blanks are folded until none is left.
QString CleanColumnText(const QString& text);

class TTableColumnDescriptionForm : public QDialog {
    Q_OBJECT

public:
    explicit TTableColumnDescriptionForm(QWidget* parent = nullptr);
    ~TTableColumnDescriptionForm() override;

    // Writes the description of a column into the memo, caret at the start.
    void SetDescription(const QString& heading, const QString& text);

    Ui::TTableColumnDescriptionForm& ui() { return *ui_; }

public slots:
    void closeButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TTableColumnDescriptionForm> ui_;
};

// Shows the description of a column modally over the active window.
void ShowColumnDescription(const QString& heading, const QString& text);

} // namespace cgt
