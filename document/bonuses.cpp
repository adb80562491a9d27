#include "document/bonuses.h"
#include "screen/detail_columns.h"

#include <QHashFunctions>

namespace qmx44::document {

namespace {

int column(const controls::Grid &grid, const QString &nombre)
{
    return grid.columnIndex(nombre);
}

} // namespace

size_t qHash(const LineKey &c, size_t seed) noexcept
{
    return qHashMulti(seed, c.producto, c.talla, c.color, c.unidad1, c.unidadControl1, c.unidadControl2);
}

GridIndex::GridIndex(const controls::Grid &grid)
{
    const int producto = column(grid, screen::columns::Pr_Cve_Producto);
    const int talla = column(grid, screen::columns::Tl_Cve_Talla);
    const int color = column(grid, screen::columns::Cl_Cve_Color);
    const int unidad1 = column(grid, screen::columns::Unidad_1);
    const int control1 = column(grid, screen::columns::Unidad_Control_1);
    const int control2 = column(grid, screen::columns::Unidad_Control_2);
    const int filas = grid.rowCount();
    m_rows.reserve(filas);
    for (int row = 0; row < filas; ++row) {
        LineKey clave{grid.cellText(row, producto), grid.cellText(row, talla),    grid.cellText(row, color),
                      grid.cellText(row, unidad1),  grid.cellText(row, control1), grid.cellText(row, control2)};
        m_rows[clave].push_back(row);
    }
}

const std::vector<int> &GridIndex::filas(const LineKey &clave) const
{
    static const std::vector<int> none;
    auto it = m_rows.constFind(clave);
    return it == m_rows.cend() ? none : it.value();
}

void applyBonuses(db::RecordSet &rs, controls::Grid &grid, BonusTotals &totals)
{
    const GridIndex gridIndex(grid);
    const int base = column(grid, screen::columns::Precio_Descontado_Importe);
    const int factor = column(grid, screen::columns::Impuesto_Factor);
    const int percent = column(grid, screen::columns::BON_PORCENTAJE);
    const int importe = column(grid, screen::columns::BON_IMPORTE);

    const QString cProduct = QStringLiteral("Pr_Cve_Producto");
    const QString cSize = QStringLiteral("Tl_Cve_Talla");
    const QString cColor = QStringLiteral("Cl_Cve_Color");
    const QString cUnit1 = QStringLiteral("Nc_Unidad_1");
    const QString cControl1 = QStringLiteral("Nc_Unidad_Control_1");
    const QString cControl2 = QStringLiteral("Nc_Unidad_Control_2");
    const QString cAmount = QStringLiteral("Nc_Precio_Descontado_Importe");

    for (; !rs.eof(); rs.moveNext()) {
        const QVariant keys[] = {rs.field(cProduct), rs.field(cSize),     rs.field(cColor),
                                 rs.field(cUnit1),   rs.field(cControl1), rs.field(cControl2)};
        bool nullValue = false;
        for (const QVariant &v : keys)
            nullValue = nullValue || v.isNull();
        if (nullValue)
            continue;
        const LineKey clave{keys[0].toString(), keys[1].toString(), keys[2].toString(),
                            keys[3].toString(), keys[4].toString(), keys[5].toString()};
        const std::vector<int> &filas = gridIndex.filas(clave);
        if (filas.empty())
            continue;
        const double guardado = rs.field(cAmount).toDouble();
        for (int row : filas) {
            const double price = grid.cellValue(row, base).toDouble();
            grid.setCellValue(row, percent, price == 0 ? 0.0 : guardado / price * 100);
            grid.setCellValue(row, importe, guardado);
            grid.refresh();
            const double bonificacion = grid.cellValue(row, importe).toDouble();
            totals.subTotal = totals.subTotal + bonificacion;
            totals.impuestos = totals.impuestos + bonificacion * grid.cellValue(row, factor).toDouble();
        }
    }
}

} // namespace qmx44::document
