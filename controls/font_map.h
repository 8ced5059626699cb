#pragma once
// Font faces of the forms and the mark-up ("Arial", "Arial Narrow", "Times New Roman",
// "Courier New", ...) mapped to the installed Liberation families, their metric twins.

#include <QFont>
#include <QString>

namespace cgt {

// The installed family for a face name; faces without a twin come back unchanged.
QString MapFontFamily(const QString& face);

// Registers the faces as QFont substitutions, so that QFont("Arial") and fonts set from .ui
// files resolve to the twins. Safe to call more than once.
void InstallFontSubstitutions();

// A font of the mapped family in points, with bold/italic/underline.
QFont MakeFont(const QString& face, int pointSize, bool bold = false, bool italic = false,
               bool underline = false);

// The controls' default font: "Arial" 10 pt.
QFont DefaultControlFont();

} // namespace cgt
