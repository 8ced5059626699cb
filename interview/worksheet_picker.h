#pragma once
// The worksheet row being edited on a screen and the pick list beside it: the open worksheet
// and row, the pick list lines (the rows' names and "** Create new worksheet **"), switching
// rows from the list, deleting the selected row, and storing the row when the screen leaves
// it. Rows are kept by the store's worksheet rows unit; the screen's controls are moved by the
// frame through the callbacks below.

#include <QObject>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;
class TTextLbl;

namespace cgt {

// The open row's scratch tags hold nothing but the tags `besides`: blank texts and empty dates
// count as empty.
bool ScratchRowEmpty(std::span<const int> besides = {});

class WorksheetPicker : public QObject {
    Q_OBJECT

public:
    // What the picker asks of the frame about the shown screen.
    struct ScreenAccess {
        std::function<bool()> shown;      // a question screen is shown
        std::function<void()> save;       // its controls' values → the store
        std::function<void()> reload;     // the store → its controls, then its show handler
        std::function<bool()> validate;   // may it be left (runs its check)
        std::function<bool()> rowEmpty;   // the open row, stored from it, holds nothing
        std::function<void()> focusFirst; // focus its first control
    };

    WorksheetPicker(QListWidget* list, QPushButton* remove, TTextLbl* header, ScreenAccess screen,
                    QObject* parent = nullptr);

    // Opens row `row` of the worksheet into the scratch tags; row 0 opens a new row after the
    // existing ones.
    void Open(int worksheet, int row);
    // Loads a row into the scratch tags and, while a screen is shown, into the screen.
    void ShowRow(int row);
    // Stores the screen and the open row, then rebuilds the list and selects the open row.
    void Refresh();
    // Stores the open row from the screen; a row that holds nothing (as the screen judges its
    // scratch tags) is dropped and the later rows move up. Without a screen the row is kept as
    // it is.
    void StoreRow();
    void DeleteRow(int row);
    // Stores the open row, clears the scratch tags and closes the worksheet.
    void Finish();
    // Closes the worksheet without storing anything.
    void Close();

    int CurrentRow() const { return currentRow_; }
    int SelectedRow() const { return selectedRow_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    bool IsOpen() const { return open_; }

    // A click on a line or a keyboard move of the selection.
    void LineChosen();
    // The delete button: asks, then deletes the selected row.
    void RemoveChosen();

private:
    void buildLines();
    void fillList();
    void selectLine(int line);
    // Delete is offered for a row, never for the line that creates one.
    void updateRemoveButton();

    QListWidget* list_;
    QPushButton* remove_;
    TTextLbl* header_;
    ScreenAccess screen_;
    std::uint16_t currentRow_ = 0;
    int selectedRow_ = 0;
    std::vector<std::string> lines_;
    bool open_ = false;
    bool filling_ = false;
};

} // namespace cgt
