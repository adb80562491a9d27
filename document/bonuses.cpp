#include "document/bonuses.h"
#include "screen/detail_columns.h"

#include <QHashFunctions>

namespace qmx44::document {

namespace {

int column(const controls::Grid &grid, const QString &name)
{
    return grid.columnIndex(name);
}

} // namespace

size_t qHash(const LineKey &c, size_t seed) noexcept
{
    return qHashMulti(seed, c.product, c.size, c.color, c.unit1, c.controlUnit1, c.controlUnit2);
}

GridIndex::GridIndex(const controls::Grid &grid)
{
    const int product = column(grid, screen::columns::Pr_Cve_Producto);
    const int size = column(grid, screen::columns::Tl_Cve_Talla);
    const int color = column(grid, screen::columns::Cl_Cve_Color);
    const int unit1 = column(grid, screen::columns::Unidad_1);
    const int control1 = column(grid, screen::columns::Unidad_Control_1);
    const int control2 = column(grid, screen::columns::Unidad_Control_2);
    const int rows = grid.rowCount();
    m_rows.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        LineKey key{grid.cellText(row, product), grid.cellText(row, size),     grid.cellText(row, color),
                    grid.cellText(row, unit1),   grid.cellText(row, control1), grid.cellText(row, control2)};
        m_rows[key].push_back(row);
    }
}

const std::vector<int> &GridIndex::rowsWith(const LineKey &key) const
{
    static const std::vector<int> none;
    auto it = m_rows.constFind(key);
    return it == m_rows.cend() ? none : it.value();
}

void applyBonuses(db::RecordSet &rs, controls::Grid &grid, BonusTotals &totals)
{
    const GridIndex gridIndex(grid);
    const int base = column(grid, screen::columns::Precio_Descontado_Importe);
    const int factor = column(grid, screen::columns::Impuesto_Factor);
    const int percent = column(grid, screen::columns::BON_PORCENTAJE);
    const int amount = column(grid, screen::columns::BON_IMPORTE);

    if (rs.eof())
        return;
    // The note's columns by position, looked up once.
    const int cProduct = rs.requireField(QStringLiteral("Pr_Cve_Producto"));
    const int cSize = rs.requireField(QStringLiteral("Tl_Cve_Talla"));
    const int cColor = rs.requireField(QStringLiteral("Cl_Cve_Color"));
    const int cUnit1 = rs.requireField(QStringLiteral("Nc_Unidad_1"));
    const int cControl1 = rs.requireField(QStringLiteral("Nc_Unidad_Control_1"));
    const int cControl2 = rs.requireField(QStringLiteral("Nc_Unidad_Control_2"));
    const int cAmount = rs.requireField(QStringLiteral("Nc_Precio_Descontado_Importe"));

    for (; !rs.eof(); rs.moveNext()) {
        const QVariant keys[] = {rs.fieldAt(cProduct), rs.fieldAt(cSize),     rs.fieldAt(cColor),
                                 rs.fieldAt(cUnit1),   rs.fieldAt(cControl1), rs.fieldAt(cControl2)};
        bool nullValue = false;
        for (const QVariant &v : keys)
            nullValue = nullValue || v.isNull();
        if (nullValue)
            continue;
        const LineKey key{keys[0].toString(), keys[1].toString(), keys[2].toString(),
                          keys[3].toString(), keys[4].toString(), keys[5].toString()};
        const std::vector<int> &rows = gridIndex.rowsWith(key);
        if (rows.empty())
            continue;
        const double stored = rs.fieldAt(cAmount).toDouble();
        for (int row : rows) {
            const double price = grid.cellValue(row, base).toDouble();
            grid.setCellValue(row, percent, price == 0 ? 0.0 : stored / price * 100);
            grid.setCellValue(row, amount, stored);
            grid.refresh();
            const double bonus = grid.cellValue(row, amount).toDouble();
            totals.subTotal = totals.subTotal + bonus;
            totals.taxes = totals.taxes + bonus * grid.cellValue(row, factor).toDouble();
        }
    }
}

} // namespace qmx44::document
