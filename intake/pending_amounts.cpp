// The pending amounts of the detail grid: one grouped statement over the purchase's
// lines and its notes' lines, then one pass over the rows.
#include "intake/pending_amounts.h"

#include "screen/detail_columns.h"
#include "screen/frm_qmx44.h"
#include "screen/pending_marks.h"

#include <QHash>

namespace qmx44::intake {

namespace {

const QLatin1String KeyColumns[] = {QLatin1String("Pr_Cve_Producto"), QLatin1String("Tl_Cve_Talla"),
                                    QLatin1String("Cl_Cve_Color"), QLatin1String("Unidad_1")};

} // namespace

// The four keys joined; no key holds the separator.
QString pendingLineKey(const QString &product, const QString &size, const QString &color, const QString &unit)
{
    const QChar separator(0x1F);
    return product + separator + size + separator + color + separator + unit;
}

QString pendingAmountsSql(bool withoutReplacedNote)
{
    QString sql;
    sql.reserve(1024);
    sql += QLatin1String("SELECT Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Unidad_1, ");
    sql += QLatin1String("       COALESCE(SUM(Comprado), 0) AS Comprado, ");
    sql += QLatin1String("       COALESCE(SUM(Bonificado), 0) AS Bonificado ");
    sql += QLatin1String("FROM (SELECT Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Unidad_1 AS Unidad_1, ");
    sql += QLatin1String("             Co_Precio_Neto_Importe AS Comprado, 0 AS Bonificado ");
    sql += QLatin1String("      FROM COMPRA ");
    sql += QLatin1String("      WHERE Co_Folio = ? AND Es_Cve_Estado <> 'CA' ");
    sql += QLatin1String("      UNION ALL ");
    sql += QLatin1String("      SELECT Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Nc_Unidad_1, ");
    sql += QLatin1String("             0, Nc_Precio_Neto_Importe ");
    sql += QLatin1String("      FROM NOTA_CREDITO_PROVEEDOR ");
    sql += QLatin1String("      WHERE Co_Folio = ? AND Es_Cve_Estado <> 'CA' ");
    if (withoutReplacedNote)
        sql += QLatin1String("        AND Nc_Folio <> ? ");
    sql += QLatin1String("     ) Lineas ");
    sql += QLatin1String("GROUP BY Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Unidad_1");
    return sql;
}

QHash<QString, LineAmounts> readPending(db::Conexion &connection, const QString &purchase, const QString &replacedNote)
{
    QVariantList values{purchase, purchase};
    if (!replacedNote.isEmpty())
        values << replacedNote;
    QHash<QString, LineAmounts> lines;
    auto rs = connection.query(pendingAmountsSql(!replacedNote.isEmpty()), values);
    // The result's columns by position, looked up once.
    int keyAt[4] = {}, bought = -1, granted = -1;
    if (!rs->eof()) {
        for (int i = 0; i < 4; ++i)
            keyAt[i] = rs->requireField(KeyColumns[i]);
        bought = rs->requireField(QStringLiteral("Comprado"));
        granted = rs->requireField(QStringLiteral("Bonificado"));
    }
    for (; !rs->eof(); rs->moveNext()) {
        QString keys[4];
        bool nullKey = false;
        for (int i = 0; i < 4; ++i) {
            const QVariant v = rs->fieldAt(keyAt[i]);
            nullKey = nullKey || v.isNull();
            keys[i] = v.toString();
        }
        if (nullKey)
            continue;
        lines.insert(pendingLineKey(keys[0], keys[1], keys[2], keys[3]),
                     {rs->fieldAt(bought).toDouble(), rs->fieldAt(granted).toDouble()});
    }
    rs->close();
    return lines;
}

void fillPending(db::Conexion &connection, controls::Grid &grid, const QString &purchase, const QString &replacedNote)
{
    if (purchase.isEmpty() || grid.rowCount() == 0)
        return;
    const QHash<QString, LineAmounts> lines = readPending(connection, purchase, replacedNote);

    const int product = grid.column(screen::columns::Pr_Cve_Producto).index();
    const int size = grid.column(screen::columns::Tl_Cve_Talla).index();
    const int color = grid.column(screen::columns::Cl_Cve_Color).index();
    const int unit = grid.column(screen::columns::Unidad_1).index();
    const int pending = grid.column(screen::columns::Pending).index();
    for (int r = 0; r < grid.rowCount(); ++r) {
        // The keys as the save takes them from the row (an empty cell is the empty key).
        const LineAmounts amounts =
            lines.value(pendingLineKey(grid.cellValue(r, product).toString(), grid.cellValue(r, size).toString(),
                                       grid.cellValue(r, color).toString(), grid.cellValue(r, unit).toString()));
        // The save's arithmetic: what the purchase is worth less what was granted.
        grid.setCellValue(r, pending, amounts.purchased - amounts.noted);
    }
    screen::markPendingRows(grid);
}

void fillPending(screen::FrmQMX44 &frm)
{
    fillPending(frm.Sistema().Conexion(), frm.ssDetalle(), frm.txt_Co_Folio().text(), frm.txtFolio().text());
    emit frm.pendingRead();
}

} // namespace qmx44::intake
