#pragma once
// The question screens of the interview path, held as one table: what each screen says, where
// its Yes, No and Next lead, the worksheet its Yes selects, the progress marker it raises and
// the data its No removes. TQuestionScreen reads its row; the screen classes only name it.

#include <span>
#include <string_view>
#include <vector>

namespace cgt {

// Progress marker: the highest asset-class topic the user has answered.
inline constexpr int kProgressMarkerTag = 588;
// Unapplied net capital losses of earlier years (collectables, other).
inline constexpr int kUnappliedCollectablesTag = 920;
inline constexpr int kUnappliedOtherTag = 921;

struct QuestionRow {
    int screen; // section * 100 + index
    std::string_view className;
    std::vector<const char*> question{}; // lines of the title label (mark-up)
    std::vector<const char*> notes{};    // lines of the explanation below it (mark-up)
    int yes = 0;                         // screen numbers; 0: the button is not offered
    int no = 0;
    int next = 0;                  // 0: Next moves to the following index
    int worksheet = 0;             // set as WorksheetKind on Yes
    int markerYes = 0;             // raises tag 588 to this on Yes (0: untouched)
    int markerNo = 0;              // and on No
    std::vector<int> removeOnNo{}; // cleared on No, after confirmation
    bool clearReopenRow = false;   // another-event screens start a new row
    bool hidePrev = false;
    bool navigator = true;

    bool isQuestion() const { return yes != 0 || no != 0; }
};

std::span<const QuestionRow> QuestionTable();
const QuestionRow* FindQuestionRow(std::string_view className);
const QuestionRow* FindQuestionRowByScreen(int screen);

} // namespace cgt
