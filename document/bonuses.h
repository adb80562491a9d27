#pragma once
// The saved bonuses of a note put back on the detail grid: each stored line goes to
// every grid row with the same six keys (product, size, colour, unit 1 and both control
// units). The grid rows are indexed by their keys once, so a note of n lines on a
// purchase of m groups costs n + m, not n x m.
#include "platform/controls/grid.h"
#include "platform/db/connection.h"

#include <QHash>
#include <QString>
#include <vector>

namespace qmx44::document {

// The six keys of a line, compared exactly (letter case and blanks count).
struct LineKey {
    QString product, size, color, unit1, controlUnit1, controlUnit2;
    bool operator==(const LineKey &) const = default;
};
size_t qHash(const LineKey &key, size_t seed = 0) noexcept;

// The grid's rows by key, in grid order.
class GridIndex {
public:
    explicit GridIndex(const controls::Grid &grid);
    // The rows with that key, first to last; empty when none.
    const std::vector<int> &rowsWith(const LineKey &key) const;

private:
    QHash<LineKey, std::vector<int>> m_rows;
};

// What the stored lines added to the totals.
struct BonusTotals {
    double subTotal = 0;
    double taxes = 0;
};

// Walks `rs` (the note's rows, from the current one to the end) and, for every stored
// line whose keys are all present (a null key matches nothing), sets BON_IMPORTE to its
// Nc_Precio_Descontado_Importe and BON_PORCENTAJE to that amount over the row's
// Precio_Descontado_Importe x 100 (0 over a zero base) on each matching grid row,
// refreshing the grid, and adds each row's bonus and its tax to `totals` — in the same
// order, with the same sums, as comparing every stored line with every grid row.
void applyBonuses(db::RecordSet &rs, controls::Grid &grid, BonusTotals &totals);

} // namespace qmx44::document
