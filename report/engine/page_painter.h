#pragma once
// Draws a laid-out page on a QPainter; fields, editable fields and jumps go to the report's
// handlers.

#include <vector>

#include "report/core/layout.h"
#include "report/engine/xreport.h"

class QPainter;

namespace cgt::report {

struct PaintHandlers {
    const DrawFieldHandler* drawField = nullptr;
    const AddTaxEditHandler* addTaxEdit = nullptr;
    const SetJumpHandler* setJump = nullptr;
};

void PaintOps(const std::vector<DrawOp>& ops, QPainter& painter, const DrawSettings& settings,
              const PaintHandlers& handlers);

} // namespace cgt::report
