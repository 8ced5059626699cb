#pragma once
// What a screen reader says of a form's controls, derived from what the form shows. The
// question label of a control is the label on its line to its left, or else the nearest label
// above it, with no other control between them. A control without a caption of its own (a
// field, a list, a grid) is named by its question; a control with one (a check box, a button)
// keeps its caption as its name and takes the question as its description. A control named by
// its form, its screen or a plain label's buddy keeps that name.

#include <QString>

class QWidget;

namespace cgt {

// Names the focusable controls among the children of `form` (and of its containers) from their
// question labels. Call it again after the labels changed: names it gave before are replaced.
void NameControlsFromLabels(QWidget* form);

// The text a label shows on one line: a mark-up label's drawn text, a plain label's text without
// its mnemonic.
QString LabelText(const QWidget* label);

// A caption without its mnemonic marks: "&Next" is "Next", "&&" is "&".
QString WithoutMnemonic(const QString& caption);

} // namespace cgt
