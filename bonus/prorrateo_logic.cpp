// The proration routine: one pass to check units and add up the basis, the factor formed
// once, a second pass to write every row; the totals are accumulated as the rows are
// written and put into the fields once.
#include "screen/detail_columns.h"
#include "bonus/prorrateo_logic.h"

#include "bonus/redondeo.h"

#include <cmath>
#include <vector>

namespace qmx44::bonus {

ColumnasBase columnasDe(BaseProrrateo base)
{
    switch (base) {
    case BaseProrrateo::CantidadControl1:
        return {screen::columns::Cantidad_Control_1, screen::columns::Unidad_Control_1, true};
    case BaseProrrateo::CantidadControl2:
        return {screen::columns::Cantidad_Control_2, screen::columns::Unidad_Control_2, true};
    case BaseProrrateo::Importe:
        break;
    }
    return {screen::columns::Precio_Descontado_Importe, screen::columns::Unidad_1, false};
}

ResultadoProrrateo prorratear(controls::Grid &grid, const Totales &totales, BaseProrrateo base,
                              double importe)
{
    const ColumnasBase cols = columnasDe(base);
    const int colBase = grid.column(cols.base).index();
    const int colUnidad = grid.column(cols.unidad).index();
    const int colImporte = grid.column(columnas::BonImporte).index();
    const int colPorcentaje = grid.column(columnas::BonPorcentaje).index();
    const int colPrecio = grid.column(columnas::Base).index();
    const int colImpuesto = grid.column(columnas::ImpuestoFactor).index();

    // Each sweep below reads or writes one column down all the rows: a large grid is then
    // walked with one steady stride, which the processor fetches ahead of the work.
    const int n = grid.rowCount();
    if (n == 0)
        return ResultadoProrrateo::BaseSinTotal;

    // Checks first, writes after: a refusal leaves every row and total as it was, and the
    // grid on the row where the walk stopped: the first row whose unit differs.
    if (cols.unidadesIguales) {
        const QString unidad = grid.cellText(0, colUnidad);
        for (int r = 1; r < n; ++r)
            if (grid.cellText(r, colUnidad) != unidad) {
                grid.setCurrentRow(r);
                return ResultadoProrrateo::UnidadDistinta;
            }
    }
    std::vector<double> valores(std::size_t(n), 0.0);
    double totalBase = 0;
    double mayorBase = 0;
    for (int r = 0; r < n; ++r) {
        const double v = importeDe(grid.cellValue(r, colBase));
        valores[std::size_t(r)] = v;
        totalBase += v;
        mayorBase = std::fmax(mayorBase, std::fabs(v));
    }

    // Adding up the basis walked every row: from here on the grid is on the last one.
    grid.setCurrentRow(n - 1);

    // The factor, formed once. A basis that adds up to nothing (or less) cannot carry an
    // amount, and one so lopsided that a row's share overflows is refused the same way.
    if (!(totalBase > 0))
        return ResultadoProrrateo::BaseSinTotal;
    const double factor = importe / totalBase;
    if (!std::isfinite(factor) || !std::isfinite(mayorBase * std::fabs(factor)))
        return ResultadoProrrateo::BaseSinTotal;

    // Every row gets its share, also a row whose basis is 0 (it gets 0). From here on
    // `valores` holds the rows' bonus amounts.
    double subTotal = 0;
    for (int r = 0; r < n; ++r) {
        double &monto = valores[std::size_t(r)];
        monto = redondearMedioPar(monto * factor, 3);
        grid.setCellValue(r, colImporte, monto);
        subTotal += monto;
    }
    double impuestos = 0;
    for (int r = 0; r < n; ++r)
        impuestos += valores[std::size_t(r)] * importeDe(grid.cellValue(r, colImpuesto));
    std::vector<double> precios(std::size_t(n), 0.0);
    for (int r = 0; r < n; ++r)
        precios[std::size_t(r)] = importeDe(grid.cellValue(r, colPrecio));
    for (int r = 0; r < n; ++r) {
        const double precio = precios[std::size_t(r)];
        grid.setCellValue(r, colPorcentaje,
                          precio == 0 ? 0.0 : finito(valores[std::size_t(r)] / precio * 100));
    }

    totales.subTotal.setValue(finito(subTotal));
    totales.impuestos.setValue(finito(impuestos));
    totales.total.setValue(
        finito(importeDe(totales.subTotal.value()) + importeDe(totales.impuestos.value())));
    return ResultadoProrrateo::Hecho;
}

} // namespace qmx44::bonus
