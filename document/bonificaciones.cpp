#include "screen/detail_columns.h"
#include "document/bonificaciones.h"

#include <QHashFunctions>

namespace qmx44::document {

namespace {

int columna(const controls::Grid &grid, const QString &nombre)
{
    return grid.columnIndex(nombre);
}

} // namespace

size_t qHash(const ClaveLinea &c, size_t seed) noexcept
{
    return qHashMulti(seed, c.producto, c.talla, c.color, c.unidad1, c.unidadControl1, c.unidadControl2);
}

IndiceGrid::IndiceGrid(const controls::Grid &grid)
{
    const int producto = columna(grid, screen::columns::Pr_Cve_Producto);
    const int talla = columna(grid, screen::columns::Tl_Cve_Talla);
    const int color = columna(grid, screen::columns::Cl_Cve_Color);
    const int unidad1 = columna(grid, screen::columns::Unidad_1);
    const int control1 = columna(grid, screen::columns::Unidad_Control_1);
    const int control2 = columna(grid, screen::columns::Unidad_Control_2);
    const int filas = grid.rowCount();
    m_filas.reserve(filas);
    for (int row = 0; row < filas; ++row) {
        ClaveLinea clave{grid.cellText(row, producto),  grid.cellText(row, talla),    grid.cellText(row, color),
                         grid.cellText(row, unidad1), grid.cellText(row, control1), grid.cellText(row, control2)};
        m_filas[clave].push_back(row);
    }
}

const std::vector<int> &IndiceGrid::filas(const ClaveLinea &clave) const
{
    static const std::vector<int> ninguna;
    auto it = m_filas.constFind(clave);
    return it == m_filas.cend() ? ninguna : it.value();
}

void aplicarBonificaciones(db::RecordSet &rs, controls::Grid &grid, TotalesBonificacion &totales)
{
    const IndiceGrid indice(grid);
    const int base = columna(grid, screen::columns::Precio_Descontado_Importe);
    const int factor = columna(grid, screen::columns::Impuesto_Factor);
    const int porcentaje = columna(grid, screen::columns::BON_PORCENTAJE);
    const int importe = columna(grid, screen::columns::BON_IMPORTE);

    const QString cProducto = QStringLiteral("Pr_Cve_Producto");
    const QString cTalla = QStringLiteral("Tl_Cve_Talla");
    const QString cColor = QStringLiteral("Cl_Cve_Color");
    const QString cUnidad1 = QStringLiteral("Nc_Unidad_1");
    const QString cControl1 = QStringLiteral("Nc_Unidad_Control_1");
    const QString cControl2 = QStringLiteral("Nc_Unidad_Control_2");
    const QString cImporte = QStringLiteral("Nc_Precio_Descontado_Importe");

    for (; !rs.eof(); rs.moveNext()) {
        const QVariant claves[] = {rs.field(cProducto), rs.field(cTalla),    rs.field(cColor),
                                   rs.field(cUnidad1),  rs.field(cControl1), rs.field(cControl2)};
        bool nula = false;
        for (const QVariant &v : claves)
            nula = nula || v.isNull();
        if (nula)
            continue;
        const ClaveLinea clave{claves[0].toString(), claves[1].toString(), claves[2].toString(),
                               claves[3].toString(), claves[4].toString(), claves[5].toString()};
        const std::vector<int> &filas = indice.filas(clave);
        if (filas.empty())
            continue;
        const double guardado = rs.field(cImporte).toDouble();
        for (int row : filas) {
            const double precio = grid.cellValue(row, base).toDouble();
            grid.setCellValue(row, porcentaje, precio == 0 ? 0.0 : guardado / precio * 100);
            grid.setCellValue(row, importe, guardado);
            grid.refresh();
            const double bonificacion = grid.cellValue(row, importe).toDouble();
            totales.subTotal = totales.subTotal + bonificacion;
            totales.impuestos = totales.impuestos + bonificacion * grid.cellValue(row, factor).toDouble();
        }
    }
}

} // namespace qmx44::document
