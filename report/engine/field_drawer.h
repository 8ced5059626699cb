#pragma once
// The module's field-drawing routine: a field drawn without being filled becomes a value box
// showing the field's text from the store; a caution sign becomes a yellow octagon.

#include <QtCore/QRect>

#include "report/core/script.h"

class QPainter;

namespace cgt::report {

// Box flags of a field record.
enum FieldBoxFlags : int {
    bfNoBox = 1,   // no frame
    bfCents = 2,   // narrower by 40 units, with a crossed-out "00" to the right
    bfIndent = 4,  // the left edge moves right by 35 units
    bfLowered = 8, // the top edge moves down by 40 units
};

// Draws the record handed over by the report engine. `onScreen`: the field is drawn on the
// main window's own picture rather than printed or previewed.
void DrawField(char kind, const Record& record, QPainter& painter, const QRect& rect,
               double fontScale, double xScale, double yScale, bool onScreen = false);

} // namespace cgt::report
