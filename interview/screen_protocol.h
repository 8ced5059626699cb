#pragma once
// What a shown screen answers the interview frame. Asked to go on (Next, Yes, No or a navigator
// topic), a screen names where to go or refuses; asked whether it may be left, a screen that
// checks its entries returns a refusal or nothing. The frame alone acts on the answer: it moves
// on, or it keeps the screen, shows the refusal's message and puts the cursor where the refusal
// says.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>
#include <string_view>
#include <variant>

namespace cgt {

// How the user goes on from a screen. A navigator topic names its own screen: the screen is
// told so that it may keep what was entered, and where it would go is not asked.
enum class Answer { Next, Yes, No, Topic };

// How a screen is left: onward (Next, a question's answer, a topic, a jump, a pick-list line, a
// save or the close) or back through the history with Prev.
enum class Direction { Onward, Back };

// A cell of a grid; rows from 1.
struct GridCell {
    int col = 0;
    int row = 0;
};

// Why a screen cannot be left: the message, and the control that takes the cursor (a cell of it
// when the control is a grid).
struct ScreenRefusal {
    QString message; // empty: the screen has told the user itself
    QPointer<QWidget> field;
    std::optional<GridCell> cell;
};

// Where a screen goes on: the next screen of its row, a named route of its row, or a screen
// by number. Routes and the next screen are read from the installed screen table
// (interview/screen_catalog.h).
class ScreenTarget {
public:
    static ScreenTarget RowNext() { return ScreenTarget(); }
    static ScreenTarget Route(std::string_view name) { return ScreenTarget(name, 0); }
    static ScreenTarget Screen(int number) { return ScreenTarget({}, number); }

    // The screen number this target names from screen `from`. A route that the row of `from`
    // does not name leads to the row's next screen.
    int From(int from) const;

private:
    ScreenTarget() = default;
    ScreenTarget(std::string_view route, int screen) : route_(route), screen_(screen) {}

    std::string_view route_;
    int screen_ = 0;
};

// A screen's answer to Next, Yes, No or a topic.
using NextStep = std::variant<ScreenTarget, ScreenRefusal>;

// A screen that checks its entries before it is left. The frame asks it whenever the screen is
// left or its values are kept (another worksheet row, a save, the close); a screen with checks
// also keeps the autosave from writing its entries half-way.
class CheckedScreen {
public:
    virtual ~CheckedScreen() = default;
    // Nothing when the screen may be left.
    virtual std::optional<ScreenRefusal> CheckLeave(Direction direction) = 0;
};

} // namespace cgt
