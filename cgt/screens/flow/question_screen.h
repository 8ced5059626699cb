#pragma once
// TQuestionScreen: the behaviour shared by the question and information screens of the
// interview path. Each reads its row of the question table (cgt/screens/flow/screen_flow.h): it
// draws the question and its notes, offers Yes and No or Next, and on an answer sets the
// worksheet, raises the progress marker, removes the class's data on No and names the row's
// screen for the answer.

#include <string_view>

#include "interview/child_form.h"

class TTextLbl;

namespace cgt {
struct ScreenRow;

// What a Yes to the question `row` leaves besides the move: the progress marker raised to the
// row's and, for an events question, the worksheet the next event screen opens.
void TakeYesAnswer(const ScreenRow& row);
} // namespace cgt

class TQuestionScreen : public TChildForm {
    Q_OBJECT

public:
    explicit TQuestionScreen(std::string_view className, QWidget* parent = nullptr);

    void FormShow() override;
    cgt::NextStep Next(cgt::Answer answer) override;

    const cgt::ScreenRow& Row() const { return *row_; }
    TTextLbl* QuestionLabel() const { return question_; }
    TTextLbl* NotesLabel() const { return notes_; }

protected:
    // Top of the free space below the labels, for screens that add fields.
    int ContentTop() const { return contentTop_; }

private:
    const cgt::ScreenRow* row_;
    TTextLbl* question_ = nullptr;
    TTextLbl* notes_ = nullptr;
    int contentTop_ = 0;
};
