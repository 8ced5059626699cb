#include "cgt/screens/refusals.h"

#include "cgt/rules/refusal.h"
#include "controls/xgrid.h"

namespace cgt {

ScreenRefusal ShownRefusal(const Refusal& refusal, QWidget* field) {
    ScreenRefusal shown;
    shown.message = QString::fromLatin1(refusal.message);
    shown.field = field;
    if (qobject_cast<TXGrid*>(field)) shown.cell = GridCell{refusal.col, refusal.row};
    return shown;
}

} // namespace cgt
