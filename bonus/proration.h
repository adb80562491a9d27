#pragma once
// The proration routine: distributes one bonus amount over every row of the detail grid
// in proportion to a basis column, rounding each row to three decimals (half to even),
// and replaces the rows' bonuses and the note's totals. It shows no message: it says
// why it changed nothing and the dialog tells the user.
#include "bonus/bonus_columns.h"
#include "platform/controls/grid.h"

#include <QString>

namespace qmx44::bonus {

// The basis of distribution, one per option of the dialog.
enum class ProrationBasis {
    ControlQuantity1, // Option1: Cantidad_Control_1, units in Unidad_Control_1 must agree
    ControlQuantity2, // Option2: Cantidad_Control_2, units in Unidad_Control_2 must agree
    Importe,          // Option3: Precio_Descontado_Importe, units not compared
};

struct BasisColumns {
    QString base;
    QString unit;
    bool unitsMustAgree;
};
BasisColumns basisColumnsFor(ProrationBasis base);

enum class ProrationResult {
    Done,              // every row and the three totals were replaced
    UnitMismatch,      // a row's unit differs from the first row's: nothing changed
    BasisWithoutTotal, // the basis adds up to 0 or less over all rows (or the amount per
                       // unit of basis is not a finite number): nothing changed
};

// Every row's BON_IMPORTE = its basis value x (amount / basis total), rounded to three
// decimals with a half to the even neighbour; its BON_PORCENTAJE = that amount /
// Precio_Descontado_Importe x 100 (0 when the latter is 0); the totals are the sums of
// the new bonuses and of their taxes; every row's pending mark follows its new bonus.
// No remainder is given to any row, so the subtotal may differ from `amount` by the
// rounding. Leaves the grid on the row where its walk
// stopped: the first row whose unit differs when the unit check refuses, the last row
// otherwise. Empty basis cells count as 0. Linear in the rows.
ProrationResult prorate(controls::Grid &grid, const Totals &totals, ProrationBasis base, double amount);

} // namespace qmx44::bonus
