// The pending mark of the detail grid's rows.
#include "screen/pending_marks.h"

#include "platform/core/error.h"
#include "screen/detail_columns.h"

#include <cmath>

namespace qmx44::screen {

namespace {

// The three cells a mark reads, resolved by name.
struct MarkColumns {
    explicit MarkColumns(const controls::Grid &grid)
        : bonus(grid.columnIndex(columns::BON_IMPORTE)), taxFactor(grid.columnIndex(columns::Impuesto_Factor)),
          pending(grid.columnIndex(columns::Pending))
    {
    }
    bool complete() const { return bonus >= 0 && taxFactor >= 0 && pending >= 0; }
    int bonus, taxFactor, pending;
};

void mark(controls::Grid &grid, const MarkColumns &c, int row)
{
    const QVariant pendingCell = grid.cellValue(row, c.pending);
    if (!pendingCell.isValid() || pendingCell.isNull()) {
        grid.setRowMarked(row, false);
        return;
    }
    const double pending = pendingCell.toDouble();
    const double bonus = grid.cellValue(row, c.bonus).toDouble();
    const double tax = bonus * grid.cellValue(row, c.taxFactor).toDouble();
    const double net = bonus + tax;
    const bool exceeds = !std::isfinite(net) || !std::isfinite(pending) || exceedsInWholeUnits(net, pending);
    grid.setRowMarked(row, exceeds);
}

} // namespace

bool exceedsInWholeUnits(double bonus, double pending)
{
    if (!std::isfinite(bonus) || !std::isfinite(pending))
        throw RuntimeError(
            QStringLiteral("Desbordamiento al comparar el importe a bonificar (%1) con el pendiente (%2)")
                .arg(bonus)
                .arg(pending));
    return std::trunc(bonus) > std::trunc(pending);
}

void markPendingRow(controls::Grid &grid, int row)
{
    const MarkColumns c(grid);
    if (c.complete() && row >= 0 && row < grid.rowCount())
        mark(grid, c, row);
}

void markPendingRows(controls::Grid &grid)
{
    const MarkColumns c(grid);
    if (!c.complete())
        return;
    for (int r = 0; r < grid.rowCount(); ++r)
        mark(grid, c, r);
}

} // namespace qmx44::screen
