#pragma once
// The two records the save hands to the credit-note document: the header taken from the
// form's fields, and one line taken from a row of the detail grid.
#include "platform/business/nota_credito_records.h"
#include "platform/controls/grid.h"

#include <QString>

namespace qmx44::screen {
class FrmQMX44;
}

namespace qmx44::document {

// The header from the header fields (the note's folio is left for the document).
business::EncabezadoNota headerFromForm(screen::FrmQMX44 &frm);

// The grid columns a line is taken from, resolved once per save.
struct LineColumns {
    explicit LineColumns(controls::Grid &grid);
    int product, size, color, quantity1, unit1, controlQuantity1, controlUnit1, controlQuantity2, controlUnit2,
        taxFactor, bonusAmount;
};

// The bonus amount of `row` (the grid's Bon_Importe as a number; 0 when the cell holds
// none).
double bonusOf(const controls::Grid &grid, const LineColumns &c, int row);

// Overwrites in `line` the fields the save fills from grid row `row`, for a note on
// purchase `purchase`; the other fields keep what they held.
void fillLine(business::DetalleNota &line, const controls::Grid &grid, const LineColumns &c, int row,
              const QString &purchase);

// The amounts of a line granted `bonus` before tax on `quantity` units taxed at
// `taxFactor`: the unit and whole prices with and without tax, the tax, the quantity.
void fillAmounts(business::DetalleNota &line, double bonus, double quantity, double taxFactor);

} // namespace qmx44::document
