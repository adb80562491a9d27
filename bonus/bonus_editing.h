#pragma once
// The detail grid's bonus editing: which keys reach a bonus cell, the row's share taken
// out of the totals when a cell is entered, percent and amount kept consistent as the
// cell changes with the totals re-added in constant time, and an emptied cell set to 0.
#include "bonus/bonus_columns.h"
#include "platform/controls/grid.h"

#include <memory>

namespace qmx44::services {
class Utilerias;
}

namespace qmx44::bonus {

// Takes the current row's bonus and its tax out of the totals into the two bases
// (BaseSubTotal, BaseImpuestos): what entering a cell does. Code that moves the grid or
// rewrites the rows or the totals without the user entering a cell (the proration) calls
// it afterwards, so that the next key typed there adds to the right base. Nothing happens
// without a current row.
void retakeBase(controls::Grid &grid, const Totals &totals, double &baseSubTotal, double &baseImpuestos);

class BonusEditing {
public:
    // Works on `grid` and `totals` of the main form; `baseSubTotal` and `baseImpuestos`
    // are the form's members BaseSubTotal and BaseImpuestos (the totals without the
    // current row). All must outlive this object.
    BonusEditing(controls::Grid &grid, Totals totals, double &baseSubTotal, double &baseImpuestos,
                 services::Utilerias &utilerias);

    // Connects the four handlers to the grid's events 13, 26, 28 and 50. `self` keeps
    // the object alive as long as the grid's events hold the handlers.
    static void attach(const std::shared_ptr<BonusEditing> &self);

    // 13: Enter moves on (through a sent Tab) in every column and types nothing; in the
    // bonus columns only digits, the point and Backspace pass.
    void ssDetalle_KeyPress(int &keyAscii);
    // 26: the grid is on the new cell; takes the row's bonus and its tax out of the totals.
    void ssDetalle_CellMoved(int previousRow, int previousColumn);
    // 28: derives the other bonus column of the row, re-adds the row to the totals and
    // marks the row when its bonus now exceeds what is pending.
    void ssDetalle_Change();
    // 50: a bonus cell left empty (or holding no number) becomes 0.
    void ssDetalle_CellDone(int column);

private:
    // The current column's name in upper case; empty when there is no current cell.
    QString currentColumnName() const;
    bool hasCurrentRow() const;

    controls::Grid &m_grid;
    Totals m_totals;
    double &m_baseSubTotal;
    double &m_baseImpuestos;
    services::Utilerias &m_utilerias;
};

} // namespace qmx44::bonus
