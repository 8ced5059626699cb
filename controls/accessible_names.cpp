#include "controls/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <vector>

#include "controls/text_label.h"

namespace cgt {

namespace {

// The names and descriptions this unit gave, so that a later pass replaces them and nothing else.
constexpr const char* kDerivedName = "derivedAccessibleName";
constexpr const char* kDerivedDescription = "derivedAccessibleDescription";

bool IsLabel(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const TTextLbl*>(w);
}

// A control the user can tab to; its parts (a grid's editor, a combo box's list) are its own.
bool IsControl(const QWidget* w) {
    return !IsLabel(w) && (w->focusPolicy() & Qt::TabFocus);
}

bool OwnsItsParts(const QWidget* w) {
    return qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

QString CaptionOf(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return WithoutMnemonic(button->text()).simplified();
    return {};
}

bool HasBuddyLabel(const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (!parent) return false;
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == control) return true;
    return false;
}

bool OverlapsHorizontally(const QRect& a, const QRect& b) {
    return a.left() <= b.right() && b.left() <= a.right();
}
bool Spans(const QRect& a, int y) {
    return a.top() <= y && y <= a.bottom();
}
// A control no taller than this is one line of a form; a taller one (a grid, a pane) is asked
// for by the label above it.
constexpr int kLineHeight = 48;
// `label` and `control` stand on one line.
bool OnOneLine(const QRect& label, const QRect& control) {
    return Spans(label, control.center().y()) ||
           (control.height() <= kLineHeight && Spans(control, label.center().y()));
}
// `a` ends left of where `b` begins, or above it; a few pixels of overlap are allowed.
constexpr int kTolerance = 4;
bool LeftOf(const QRect& a, const QRect& b) {
    return a.right() < b.left() + kTolerance;
}
bool Above(const QRect& a, const QRect& b) {
    return a.bottom() < b.top() + kTolerance;
}

// The shown labels beside a control (its siblings with a text) and everything else shown there.
struct Neighbours {
    std::vector<const QWidget*> labels;
    std::vector<const QWidget*> others;
};

Neighbours NeighboursOf(const QWidget* control) {
    Neighbours out;
    const QWidget* parent = control->parentWidget();
    if (!parent) return out;
    for (const QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == control || !w->isVisibleTo(parent)) continue;
        if (!IsLabel(w))
            out.others.push_back(w);
        else if (!LabelText(w).isEmpty())
            out.labels.push_back(w);
    }
    return out;
}

// Where a control's question is: the nearest label on its line to its left, whether anything
// stands between them, and the nearest label above it with nothing between them.
struct QuestionLabels {
    const QWidget* row = nullptr;
    bool rowAdjacent = false;
    const QWidget* column = nullptr;
    bool sharesLine = false; // other controls stand on the control's line
};

QuestionLabels FindQuestionLabels(const QWidget* control) {
    const Neighbours near = NeighboursOf(control);
    const QRect at = control->geometry();
    QuestionLabels found;
    for (const QWidget* label : near.labels) {
        const QRect g = label->geometry();
        if (OnOneLine(g, at) && LeftOf(g, at) &&
            (!found.row || g.right() > found.row->geometry().right()))
            found.row = label;
        else if (OverlapsHorizontally(g, at) && Above(g, at) &&
                 (!found.column || g.bottom() > found.column->geometry().bottom()))
            found.column = label;
    }
    found.rowAdjacent = found.row != nullptr;
    for (const QWidget* other : near.others) {
        const QRect g = other->geometry();
        if (OnOneLine(g, at) && IsControl(other)) found.sharesLine = true;
        if (found.row && OnOneLine(g, at) && LeftOf(found.row->geometry(), g) && LeftOf(g, at))
            found.rowAdjacent = false;
        if (found.column && OverlapsHorizontally(g, at) && Above(g, at) &&
            g.bottom() > found.column->geometry().top())
            found.column = nullptr;
    }
    return found;
}

QString WithoutColon(QString text) {
    if (text.endsWith(QLatin1Char(':'))) text.chop(1);
    return text.trimmed();
}

// The label that asks for a control: the one on its line next to it, else the one above it.
const QWidget* NearestQuestion(const QuestionLabels& labels) {
    return labels.row && (labels.rowAdjacent || !labels.column) ? labels.row : labels.column;
}

// The question in words: the label that asks for the control; in a row of fields under column
// heads, the row's label and the column's head.
QString QuestionText(const QuestionLabels& labels) {
    if (labels.row && labels.column && labels.sharesLine)
        return WithoutColon(LabelText(labels.row)) + QStringLiteral(", ") +
               WithoutColon(LabelText(labels.column));
    const QWidget* label = NearestQuestion(labels);
    return label ? LabelText(label) : QString();
}

// Sets a text that nobody else set: empty, or set by an earlier pass of this unit.
void SetDerived(QWidget* w, const char* marker, const QString& text,
                QString (QWidget::*get)() const, void (QWidget::*set)(const QString&)) {
    const QString current = (w->*get)();
    if (!current.isEmpty() && current != w->property(marker).toString()) return;
    w->setProperty(marker, text);
    (w->*set)(text);
}

void NameControl(QWidget* control) {
    const QString question = QuestionText(FindQuestionLabels(control));
    if (question.isEmpty()) return;
    if (!CaptionOf(control).isEmpty())
        SetDerived(control, kDerivedDescription, question, &QWidget::accessibleDescription,
                   &QWidget::setAccessibleDescription);
    else if (!HasBuddyLabel(control))
        SetDerived(control, kDerivedName, question, &QWidget::accessibleName,
                   &QWidget::setAccessibleName);
}

void NameChildren(QWidget* container) {
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (IsControl(child)) NameControl(child);
        if (!OwnsItsParts(child) && !IsLabel(child)) NameChildren(child);
    }
}

} // namespace

void NameControlsFromLabels(QWidget* form) {
    if (form) NameChildren(form);
}

QString LabelText(const QWidget* label) {
    if (const auto* markup = qobject_cast<const TTextLbl*>(label))
        return markup->plainText().simplified();
    if (const auto* plain = qobject_cast<const QLabel*>(label))
        return WithoutMnemonic(plain->text()).simplified();
    return {};
}

QString WithoutMnemonic(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) out += caption[++i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

} // namespace cgt
