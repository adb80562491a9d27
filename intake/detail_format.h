#pragma once
// The row format of the detail grid `ssDetalle`: its 47 columns declared once, as data,
// in their fixed order, then our own pending column; and the one function that puts them
// on a grid.
#include "platform/controls/grid.h"

#include <array>

namespace qmx44::intake {

// The row format's 47 and the pending column after them.
inline constexpr int DetailColumnCount = 48;

// The columns in order (position 0 to 47).
const std::array<controls::ColumnDef, DetailColumnCount> &detailColumns();

// Gives `grid` the caption "Productos" and the columns (removing any rows).
void configureDetailGrid(controls::Grid &grid);

} // namespace qmx44::intake
