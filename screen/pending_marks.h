#pragma once
// The detail grid's pending column seen from a row: whether the row's bonus, tax
// included, grants more than is still pending on its purchase line, compared in whole
// units as the save compares it, and the row's mark that shows it before saving. The
// save's own check inside its transaction stays the authority: this is only display.
#include "platform/controls/grid.h"

namespace qmx44::screen {

// The comparison in whole units: both amounts truncated toward zero, true exactly when
// the bonus is strictly greater. An amount that is not a finite number is a run-time
// error: it cannot be compared and must not slip through as "not greater".
bool exceedsInWholeUnits(double bonus, double pending);

// Marks row `row` of the detail grid when its bonus, tax included (BON_IMPORTE plus
// BON_IMPORTE x Impuesto_Factor, as the saved line holds it), exceeds its pending cell;
// unmarks it otherwise. A row without a pending amount is never marked; one whose amount
// is not a finite number always is (no save could take it). Constant time.
void markPendingRow(controls::Grid &grid, int row);
// The same for every row.
void markPendingRows(controls::Grid &grid);

} // namespace qmx44::screen
