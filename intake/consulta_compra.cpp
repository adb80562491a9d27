// The purchase lines statement and the grid fill.
#include "intake/consulta_compra.h"
#include "screen/detail_columns.h"

#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"

#include <array>

namespace qmx44::intake {

namespace {

// The grouping columns: listed after SELECT, again after GROUP BY and once more after
// ORDER BY.
constexpr std::array<const char *, 17> GroupColumns = {
    "       Co_Folio, ",
    "       Sc_Cve_Sucursal, ",
    "       Al_Cve_Almacen, ",
    "       Compra.Pv_Cve_Proveedor, ",
    "       Compra.Cm_Cve_COMPRAdor, ",
    "       Mn_Cve_Moneda, ",
    "       Co_Tipo_Cambio, ",
    "       COMPRA.Es_Cve_Estado, ",
    "       Producto.Pr_Cve_Producto, ",
    "       Pr_Descripcion, ",
    "       Pr_Tipo_Producto, ",
    "       Pr_Unidad_Costo, ",
    "       Tl_Cve_Talla, ",
    "       Cl_Cve_Color, ",
    "       Co_Unidad_1, ",
    "       Co_Unidad_Control_1, ",
    "       Co_Unidad_Control_2, ",
};

// Where a result column goes in the grid, and whether it is set as the cell's text.
struct CellSource {
    const QString *cell;
    const char *field; // null: copy the cell named by `copyOf` instead
    const QString *copyOf;
    bool asText;
};

// In the order the cells are set.
const std::array<CellSource, 15> Cells = {{
    {&screen::columns::Pr_Cve_Producto, "Pr_Cve_Producto", nullptr, false},
    {&screen::columns::Pr_Descripcion, "Pr_Descripcion", nullptr, true},
    {&screen::columns::Tl_Cve_Talla, "Tl_Cve_Talla", nullptr, false},
    {&screen::columns::Cl_Cve_Color, "Cl_Cve_Color", nullptr, false},
    {&screen::columns::Cantidad_1, "Co_Cantidad_1", nullptr, false},
    {&screen::columns::Unidad_1, "Co_Unidad_1", nullptr, false},
    {&screen::columns::Cantidad_Control_1, "Co_Cantidad_Control_1", nullptr, false},
    {&screen::columns::Unidad_Control_1, "Co_Unidad_Control_1", nullptr, false},
    {&screen::columns::Cantidad_Control_2, "Co_Cantidad_Control_2", nullptr, false},
    {&screen::columns::Unidad_Control_2, "Co_Unidad_Control_2", nullptr, false},
    {&screen::columns::Precio_Lista_Importe, "Co_Precio_Descontado_Importe", nullptr, false},
    // The bonus base is whatever the list amount cell now holds.
    {&screen::columns::Precio_Descontado_Importe, nullptr, &screen::columns::Precio_Lista_Importe, false},
    {&screen::columns::Impuesto_Factor, "Co_Impuesto_Factor", nullptr, false},
    {&screen::columns::Impuesto_Importe, "Co_Impuesto_Importe", nullptr, false},
    {&screen::columns::Precio_Neto_Importe, "Co_Precio_Neto_Importe", nullptr, false},
}};

// A column of the grid by name, resolved once per fill.
int columnOf(controls::Grid &grid, const QString &name)
{
    return grid.column(name).index();
}

} // namespace

QString purchaseQuerySql(const QString &folio)
{
    QString sql;
    sql.reserve(2048);
    sql += QLatin1String("SELECT ");
    for (const char *piece : GroupColumns)
        sql += QLatin1String(piece);
    sql += QLatin1String("       Co_Impuesto_Factor, ");
    sql += QLatin1String("       SUM(Co_Cantidad_1) as Co_Cantidad_1, ");
    sql += QLatin1String("       SUM(Co_Cantidad_1) as Co_Cantidad_Control_1, ");
    sql += QLatin1String("       SUM(Co_Cantidad_1) as Co_Cantidad_Control_2, ");
    sql += QLatin1String("       SUM(Co_Descuento_Global_Importe) as Co_Descuento_Global_Importe, ");
    sql += QLatin1String("       SUM(Co_Precio_Lista_Importe) as Co_Precio_Lista_Importe, ");
    sql += QLatin1String(
        "       SUM(Co_Precio_Descontado_Importe-Co_Descuento_Global_Importe) as Co_Precio_Descontado_Importe, ");
    sql += QLatin1String("       SUM(Co_Precio_Neto_Importe) as Co_Precio_Neto_Importe, ");
    sql += QLatin1String("       SUM(Co_Impuesto_Importe) as Co_Impuesto_Importe ");
    sql += QLatin1String("FROM ");
    sql += QLatin1String("   COMPRA INNER JOIN Producto ON COMPRA.Pr_Cve_Producto = Producto.Pr_Cve_Producto ");
    sql += QLatin1String("WHERE Co_Folio = '");
    sql += db::quoted(folio);
    sql += QLatin1String("' ");
    sql += QLatin1String("GROUP BY ");
    for (const char *piece : GroupColumns)
        sql += QLatin1String(piece);
    sql += QLatin1String("       Co_Impuesto_Factor ");
    // Without an order the groups come as the database happens to produce them: a
    // hashing back-end gives the same purchase's lines in another order at every run.
    // The order of the grouped keys is the one a sorting back-end gives anyway.
    sql += QLatin1String("ORDER BY ");
    for (const char *piece : GroupColumns)
        sql += QLatin1String(piece);
    sql += QLatin1String("       Co_Impuesto_Factor ");
    return sql;
}

std::unique_ptr<db::RecordSet> ConsultaCompra(db::Conexion &connection, const QString &folio)
{
    return connection.execute(purchaseQuerySql(folio));
}

std::unique_ptr<db::RecordSet> ConsultaCompra(screen::FrmQMX44 &frm, const QString &folio)
{
    return ConsultaCompra(frm.Sistema().Conexion(), folio);
}

void LlenarDetalle(std::unique_ptr<db::RecordSet> &rs, controls::Grid &grid, double &purchaseAmount,
                   ProgressReport *progress)
{
    grid.removeAll();

    // Names are resolved once per fill: a purchase may have thousands of groups.
    std::array<int, Cells.size()> target{};
    std::array<int, Cells.size()> copied{};
    std::array<QString, Cells.size()> field;
    for (std::size_t i = 0; i < Cells.size(); ++i) {
        target[i] = columnOf(grid, *Cells[i].cell);
        copied[i] = Cells[i].copyOf ? columnOf(grid, *Cells[i].copyOf) : -1;
        if (Cells[i].field)
            field[i] = QString::fromLatin1(Cells[i].field);
    }
    const int bonusPercent = columnOf(grid, screen::columns::BON_PORCENTAJE);
    const int bonusAmount = columnOf(grid, screen::columns::BON_IMPORTE);
    const QString base = QStringLiteral("Co_Precio_Descontado_Importe");
    const QVariant zero(0);
    // The result's columns by position, looked up once.
    std::array<int, Cells.size()> source{};
    int baseAt = -1;
    if (rs && !rs->eof()) {
        for (std::size_t i = 0; i < Cells.size(); ++i)
            source[i] = Cells[i].field ? rs->requireField(field[i]) : -1;
        baseAt = rs->requireField(base);
    }

    while (rs && !rs->eof()) {
        grid.addRow();
        grid.refresh();
        const int row = grid.currentRow();
        for (std::size_t i = 0; i < Cells.size(); ++i) {
            if (copied[i] >= 0)
                grid.setCellValue(row, target[i], grid.cellValue(row, copied[i]));
            else if (Cells[i].asText)
                grid.setCellText(row, target[i], rs->fieldAt(source[i]).toString());
            else
                grid.setCellValue(row, target[i], rs->fieldAt(source[i]));
        }
        grid.setCellValue(row, bonusPercent, zero);
        grid.setCellValue(row, bonusAmount, zero);
        // Summed as the database gives it, without rounding; a group without any
        // amount adds nothing.
        purchaseAmount += rs->fieldAt(baseAt).toDouble();
        rs->moveNext();
        if (progress)
            progress->advance(row + 1);
    }

    if (rs) {
        rs->close();
        rs.reset();
    }
    grid.moveFirst();
}

void LlenarDetalle(screen::FrmQMX44 &frm, std::unique_ptr<db::RecordSet> &rs, ProgressReport *progress)
{
    LlenarDetalle(rs, frm.ssDetalle(), frm.ImporteCompra, progress);
}

qint64 progressTotal(screen::FrmQMX44 &frm, const QString &folio)
{
    if (!frm.Sistema().session().progressSink())
        return 0;
    // Counting the groups would cost as much as grouping them; the lines come from the
    // index alone. Lines whose product is unknown are no row of the grid either.
    auto rs = frm.Sistema().Conexion().query(
        QStringLiteral("SELECT COUNT(*) AS Lineas FROM COMPRA INNER JOIN Producto "
                       "ON COMPRA.Pr_Cve_Producto = Producto.Pr_Cve_Producto WHERE Co_Folio = ?"),
        {folio});
    const qint64 lines = rs->eof() ? 0 : rs->field(QStringLiteral("Lineas")).toLongLong();
    rs->close();
    return lines;
}

} // namespace qmx44::intake
