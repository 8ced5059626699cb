#pragma once
// The worksheet grid as the screens and forms use it: the grid (TXGrid), the editor of its
// current cell, its picklist and the totals row that stands under it.

#include "controls/popup_listbox.h"
#include "controls/xgrid_inplace_edit.h"
#include "controls/xgrid_totals.h"
#include "controls/xgrid_widget.h"
