#pragma once
// The list of every help jump and web link on the current screen, for users who cannot point
// at the blue texts: one line per link, the chosen one is followed like a click on it.

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

class TTextLbl;

namespace Ui {
class THyperlinksForm;
}

namespace cgt {

// The item behind one line of the list.
struct TJumpData {
    enum Kind { jdJump = 0, jdLink = 1 };
    int kind = jdJump;
    int number = 0;  // the jump's JumpID, or the link's number
    QString address; // the link's address; empty for a jump
};

// The user's choice: a jump (its id, no address) or a link (jump -1 and its address).
struct THyperlinkChoice {
    bool chosen = false;
    int jump = 0;
    QString address;
};

class THyperlinksForm : public QDialog {
    Q_OBJECT

public:
    explicit THyperlinksForm(QWidget* parent = nullptr);
    ~THyperlinksForm() override;

    // Fills the list from the mark-up labels of `screen`, depth-first in child order: each
    // label's jumps, then its links. Lines with a blank text are left out.
    void LoadLinks(QWidget* screen);

    const std::vector<TJumpData>& Items() const { return items_; }
    // The choice after the dialog closed.
    THyperlinkChoice Choice() const;

    Ui::THyperlinksForm& ui() { return *ui_; }

public slots:
    void hyperlinksListBoxClick();

private:
    void addLine(const QString& text, TJumpData item);
    void walk(QWidget* container);

    std::unique_ptr<Ui::THyperlinksForm> ui_;
    std::vector<TJumpData> items_; // parallel to the list's rows
};

// Shows the links of `screen` modally and returns the user's choice.
THyperlinkChoice ChooseHyperlink(QWidget* screen);

} // namespace cgt
