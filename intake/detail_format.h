#pragma once
// The row format of the detail grid `ssDetalle`: its 47 columns declared once, as data,
// in their fixed order, and the one function that puts them on a grid.
#include "platform/controls/grid.h"

#include <array>

namespace qmx44::intake {

inline constexpr int DetailColumnCount = 47;

// The columns in order (position 0 to 46).
const std::array<controls::ColumnDef, DetailColumnCount> &detailColumns();

// Gives `grid` the caption "Productos" and the 47 columns (removing any rows).
void configureDetailGrid(controls::Grid &grid);

} // namespace qmx44::intake
