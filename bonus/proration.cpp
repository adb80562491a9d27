// The proration routine: one pass to check units and add up the basis, the factor formed
// once, a second pass to write every row; the totals are accumulated as the rows are
// written and put into the fields once.
#include "bonus/proration.h"
#include "screen/detail_columns.h"

#include "bonus/rounding.h"
#include "screen/pending_marks.h"

#include <cmath>
#include <vector>

namespace qmx44::bonus {

BasisColumns basisColumnsFor(ProrationBasis base)
{
    switch (base) {
    case ProrationBasis::ControlQuantity1:
        return {screen::columns::Cantidad_Control_1, screen::columns::Unidad_Control_1, true};
    case ProrationBasis::ControlQuantity2:
        return {screen::columns::Cantidad_Control_2, screen::columns::Unidad_Control_2, true};
    case ProrationBasis::Importe:
        break;
    }
    return {screen::columns::Precio_Descontado_Importe, screen::columns::Unidad_1, false};
}

ProrationResult prorate(controls::Grid &grid, const Totals &totals, ProrationBasis base, double amount)
{
    const BasisColumns cols = basisColumnsFor(base);
    const int colBase = grid.column(cols.base).index();
    const int colUnit = grid.column(cols.unit).index();
    const int colAmount = grid.column(bonusColumns::BonusAmount).index();
    const int colPercent = grid.column(bonusColumns::BonusPercent).index();
    const int colPrice = grid.column(bonusColumns::Base).index();
    const int colTax = grid.column(bonusColumns::TaxFactor).index();

    // Each sweep below reads or writes one column down all the rows: a large grid is then
    // walked with one steady stride, which the processor fetches ahead of the work.
    const int n = grid.rowCount();
    if (n == 0)
        return ProrationResult::BasisWithoutTotal;

    // Checks first, writes after: a refusal leaves every row and total as it was, and the
    // grid on the row where the walk stopped: the first row whose unit differs.
    if (cols.unitsMustAgree) {
        const QString unit = grid.cellText(0, colUnit);
        for (int r = 1; r < n; ++r)
            if (grid.cellText(r, colUnit) != unit) {
                grid.setCurrentRow(r);
                return ProrationResult::UnitMismatch;
            }
    }
    std::vector<double> values(std::size_t(n), 0.0);
    double basisTotal = 0;
    double largestBase = 0;
    for (int r = 0; r < n; ++r) {
        const double v = amountOf(grid.cellValue(r, colBase));
        values[std::size_t(r)] = v;
        basisTotal += v;
        largestBase = std::fmax(largestBase, std::fabs(v));
    }

    // Adding up the basis walked every row: from here on the grid is on the last one.
    grid.setCurrentRow(n - 1);

    // The factor, formed once. A basis that adds up to nothing (or less) cannot carry an
    // amount, and one so lopsided that a row's share overflows is refused the same way.
    if (!(basisTotal > 0))
        return ProrationResult::BasisWithoutTotal;
    const double factor = amount / basisTotal;
    if (!std::isfinite(factor) || !std::isfinite(largestBase * std::fabs(factor)))
        return ProrationResult::BasisWithoutTotal;

    // Every row gets its share, also a row whose basis is 0 (it gets 0). From here on
    // `values` holds the rows' bonus amounts.
    double subTotal = 0;
    for (int r = 0; r < n; ++r) {
        double &amountValue = values[std::size_t(r)];
        amountValue = roundHalfEven(amountValue * factor, 3);
        grid.setCellValue(r, colAmount, amountValue);
        subTotal += amountValue;
    }
    double taxes = 0;
    for (int r = 0; r < n; ++r)
        taxes += values[std::size_t(r)] * amountOf(grid.cellValue(r, colTax));
    std::vector<double> prices(std::size_t(n), 0.0);
    for (int r = 0; r < n; ++r)
        prices[std::size_t(r)] = amountOf(grid.cellValue(r, colPrice));
    for (int r = 0; r < n; ++r) {
        const double price = prices[std::size_t(r)];
        grid.setCellValue(r, colPercent, price == 0 ? 0.0 : finiteOrZero(values[std::size_t(r)] / price * 100));
    }

    totals.subTotal.setValue(finiteOrZero(subTotal));
    totals.taxes.setValue(finiteOrZero(taxes));
    totals.total.setValue(finiteOrZero(amountOf(totals.subTotal.value()) + amountOf(totals.taxes.value())));
    screen::markPendingRows(grid);
    return ProrationResult::Done;
}

} // namespace qmx44::bonus
