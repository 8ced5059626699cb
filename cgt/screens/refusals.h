#pragma once
// The rules' refusal of a screen's entries (cgt/rules/refusal.h) as the interview frame shows
// it (interview/screen_protocol.h): its message, and the control the screen names for it, a
// grid's refused cell when that control is a grid.

#include "interview/screen_protocol.h"

class QWidget;

namespace cgt {

struct Refusal;

ScreenRefusal ShownRefusal(const Refusal& refusal, QWidget* field);

} // namespace cgt
