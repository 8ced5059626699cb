#include "cgt/screens/flow/question_screen.h"

#include <QFontMetrics>
#include <QRegularExpression>

#include <QPushButton>
#include <algorithm>

#include "cgt/rules/index_numbers.h"
#include "cgt/screens/flow/screen_flow.h"
#include "controls/text_label.h"
#include "interview/frame.h"
#include "interview/navigator_frame.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "store/tags.h"

namespace {

constexpr int kMargin = 16;
constexpr int kWidth = 574; // without a frame: the panel of an 800-pixel window
constexpr int kLineHeight = 20;

QStringList Lines(const std::vector<const char*>& lines) {
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}

// Income year shown in the questions: V99998 is the year it starts, V99999 the year it ends.
void AnswerYearTags(TTextLbl* label) {
    label->OnScreenTag = [](TTextLbl*, int id, QString& text) {
        if (id == 99998)
            text = QString::number(cgt::kIndexIncomeYear - 1);
        else if (id == 99999)
            text = QString::number(cgt::kIndexIncomeYear);
    };
}

// The width the labels take: the frame's client panel less the margins, or the width of an
// 800-pixel window's panel without a frame.
int LabelWidth() {
    const TFrameWnd* frame = TFrameWnd::Instance();
    const int client = frame ? frame->ClientSize().width() : 0;
    return client > 4 * kMargin ? client - 2 * kMargin : kWidth;
}

// The notes as display lines: a label line does not wrap, so plain paragraphs are broken at
// word boundaries where the next word would pass the label's width, and separated by an empty
// line. Lines with mark-up are kept as written, and consecutive ones form one paragraph.
QStringList NoteLines(const std::vector<const char*>& notes, const QFontMetrics& metrics,
                      int width) {
    QStringList out;
    bool markupBefore = false;
    for (const char* note : notes) {
        const QString text = QString::fromUtf8(note);
        const bool markup = text.contains(QLatin1Char('<'));
        // Consecutive mark-up lines are one paragraph.
        if (!out.isEmpty() && !(markup && markupBefore)) out << QString();
        markupBefore = markup;
        if (markup) {
            out << text;
            continue;
        }
        QString line;
        for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                out << line;
                line = word;
            } else {
                line = longer;
            }
        }
        if (!line.isEmpty()) out << line;
    }
    return out;
}

// The text a mark-up line shows: its tags dropped, the income year's tags as they read.
QString ShownText(const QString& line) {
    QString shown = line;
    shown.replace(QStringLiteral("<V99998>"), QString::number(cgt::kIndexIncomeYear - 1));
    shown.replace(QStringLiteral("<V99999>"), QString::number(cgt::kIndexIncomeYear));
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return shown.remove(tag);
}

// The question's lines, a line too wide for the label broken at the last blank outside a tag
// that fits. What is left goes on with the next line of the question unless that line places
// its text itself (an <X> tag); the fonts carry over from line to line. Widths are taken in the
// bold face of the question, an upper bound of its lighter runs.
QStringList FittedQuestionLines(const QStringList& lines, const QFontMetrics& bold, int width) {
    QStringList out;
    QString carried;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        QString rest = line;
        if (!carried.isEmpty()) {
            if (line.contains(QStringLiteral("<X")))
                out << carried;
            else
                rest = carried + QLatin1Char(' ') + line;
            carried.clear();
        }
        if (bold.horizontalAdvance(ShownText(rest)) <= width) {
            out << rest;
            continue;
        }
        int cut = -1;
        int depth = 0;
        for (int i = 0; i < rest.size(); ++i) {
            if (rest[i] == QLatin1Char('<')) ++depth;
            if (rest[i] == QLatin1Char('>')) depth = std::max(0, depth - 1);
            if (depth == 0 && rest[i] == QLatin1Char(' ') &&
                bold.horizontalAdvance(ShownText(rest.left(i))) <= width)
                cut = i;
        }
        if (cut <= 0) { // one word wider than the label: left as it is
            out << rest;
            continue;
        }
        out << rest.left(cut);
        carried = rest.mid(cut + 1);
        // The last line's rest makes a line of its own, broken again when it must be.
        if (n + 1 == lines.size()) return out + FittedQuestionLines({carried}, bold, width);
    }
    if (!carried.isEmpty()) out << carried;
    return out;
}

// The progress marker is raised to `value`, never lowered.
void RaiseMarker(int value) {
    if (value <= 0) return;
    if (cgt::GetFieldVal(cgt::tag::kProgressMarker) < value)
        cgt::SetFieldVal(cgt::tag::kProgressMarker, value);
}

} // namespace

void cgt::TakeYesAnswer(const ScreenRow& row) {
    RaiseMarker(row.markerYes);
    TFrameWnd* frame = TFrameWnd::Instance();
    if (frame && row.worksheet != 0) frame->WorksheetKind = row.worksheet;
}

TQuestionScreen::TQuestionScreen(std::string_view className, QWidget* parent)
    : TChildForm(parent), row_(cgt::FindQuestionRow(className)) {
    Q_ASSERT(row_);
    setObjectName(QString::fromLatin1(className.data(), int(className.size())));
    setShowYesButton(row_->isQuestion());
    setShowNoButton(row_->isQuestion());

    const int width = LabelWidth();
    int top = kMargin;
    question_ = new TTextLbl(this);
    question_->setObjectName("QuestionLabel");
    AnswerYearTags(question_);
    QFont bold = question_->font();
    bold.setBold(true);
    const QStringList questionLines =
        FittedQuestionLines(Lines(row_->question), QFontMetrics(bold), width);
    question_->setText(questionLines);
    const int questionHeight = int(questionLines.size()) * kLineHeight + 8;
    question_->setGeometry(kMargin, top, width, questionHeight);
    top += questionHeight + 12;

    if (!row_->notes.empty()) {
        notes_ = new TTextLbl(this);
        notes_->setObjectName("NotesLabel");
        const QStringList lines = NoteLines(row_->notes, QFontMetrics(notes_->font()), width);
        notes_->setText(lines);
        const int notesHeight = int(lines.size()) * kLineHeight + 8;
        notes_->setGeometry(kMargin, top, width, notesHeight);
        top += notesHeight + 12;
    }
    contentTop_ = top;
}

void TQuestionScreen::FormShow() {
    TFrameWnd* frame = TFrameWnd::Instance();
    if (!frame) return;
    if (row_->isQuestion()) {
        frame->YesButton()->show();
        frame->NoButton()->show();
    } else {
        frame->NextButton()->show();
    }
    if (row_->hidePrev) frame->PrevButton()->hide();
    if (row_->navigator) frame->Navigator()->show();
    // The next registration screen starts a new row instead of reopening the last one.
    if (row_->clearReopenRow) frame->ReopenRow = false;
}

cgt::NextStep TQuestionScreen::Next(cgt::Answer answer) {
    if (answer == cgt::Answer::Yes && row_->yes != 0) {
        cgt::TakeYesAnswer(*row_);
        return cgt::ScreenTarget::Screen(row_->yes);
    }
    if (answer == cgt::Answer::No && row_->no != 0) {
        RaiseMarker(row_->markerNo);
        // The answer to the confirmation does not change the route.
        if (!row_->removeOnNo.empty()) cgt::DeleteFieldsConfirmed(row_->removeOnNo, true);
        return cgt::ScreenTarget::Screen(row_->no);
    }
    return cgt::ScreenTarget::RowNext();
}
