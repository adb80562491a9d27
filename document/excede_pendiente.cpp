#include "document/excede_pendiente.h"

#include "platform/db/sql_text.h"
#include "screen/frm_qmx44.h"

namespace qmx44::document {

namespace {

// The condition shared by both statements; only the unit column differs.
void condition(QString &sql, const PendingLine &l, const char *unitColumn)
{
    sql += QLatin1String("WHERE Co_Folio = '");
    sql += db::quoted(l.purchase);
    sql += QLatin1String("' AND ");
    sql += QLatin1String("      Pr_Cve_Producto = '");
    sql += db::quoted(l.product);
    sql += QLatin1String("' AND ");
    sql += QLatin1String("      Tl_Cve_Talla = '");
    sql += db::quoted(l.size);
    sql += QLatin1String("' AND ");
    sql += QLatin1String("      Cl_Cve_Color = '");
    sql += db::quoted(l.color);
    sql += QLatin1String("' AND ");
    sql += QLatin1String("      ");
    sql += QLatin1String(unitColumn);
    sql += QLatin1String(" = '");
    sql += db::quoted(l.unit);
    sql += QLatin1String("' AND ");
    sql += QLatin1String("      Es_Cve_Estado <> 'CA'");
}

// The net amount of the aggregate's one row; 0 when there is no row.
double netOf(db::RecordSet &rs)
{
    if (rs.eof())
        return 0;
    // All three are read, as the statement names them; only the net amount counts.
    rs.field(QStringLiteral("Precio_Lista_Importe")).toDouble();
    const double net = rs.field(QStringLiteral("Precio_Neto_Importe")).toDouble();
    rs.field(QStringLiteral("Precio_Descontado_Importe")).toDouble();
    return net;
}

} // namespace

QString pendingNotesSql(const PendingLine &line)
{
    QString sql;
    sql.reserve(512);
    sql += QLatin1String("SELECT ISNULL(SUM(Nc_Precio_Lista_Importe),0) AS Precio_Lista_Importe, ");
    sql += QLatin1String("       ISNULL(SUM(Nc_Precio_Neto_Importe), 0) as Precio_Neto_Importe, ");
    sql += QLatin1String("       ISNULL(SUM(Nc_Precio_Descontado_Importe), 0) as Precio_Descontado_Importe ");
    sql += QLatin1String("FROM NOTA_CREDITO_PROVEEDOR ");
    condition(sql, line, "Nc_Unidad_1");
    return sql;
}

QString pendingPurchaseSql(const PendingLine &line)
{
    QString sql;
    sql.reserve(512);
    sql += QLatin1String("SELECT ISNULL(SUM(Co_Precio_Lista_Importe),0) AS Precio_Lista_Importe, ");
    sql += QLatin1String("       ISNULL(SUM(Co_Precio_Neto_Importe),0) AS Precio_Neto_Importe, ");
    sql += QLatin1String("       ISNULL(SUM(Co_Precio_Descontado_Importe), 0) as Precio_Descontado_Importe ");
    sql += QLatin1String("FROM COMPRA ");
    condition(sql, line, "Co_Unidad_1");
    return sql;
}

bool ExcedePendiente(db::Conexion &connection, QString &sql, business::NotaCredito &note)
{
    const business::EncabezadoNota header = note.Encabezado();
    if (header.compra.isEmpty())
        return false;
    const business::DetalleNota detail = note.Detalle();
    const PendingLine line{header.compra, detail.producto, detail.talla, detail.color, detail.unidad1};

    double noted = 0;
    double purchased = 0;
    sql = pendingNotesSql(line);
    auto rs = connection.execute(sql);
    if (!rs->eof()) {
        // The note's own lines still queued in the document count as saved.
        noted = netOf(*rs) + note.queuedNetAmount(line.purchase, line.product, line.size, line.color, line.unit);
        rs->close();
        sql = pendingPurchaseSql(line);
        rs = connection.execute(sql);
        purchased = netOf(*rs);
    }
    rs->close();
    rs.reset();

    const double pending = purchased - noted;
    // The line is read again: the amount compared is the one the document holds.
    return exceedsInWholeUnits(note.Detalle().precioNetoImporte, pending);
}

PurchasePending::PurchasePending(db::Conexion &connection, QString &sql, const QString &purchase)
{
    sql = intake::pendingAmountsSql(false);
    m_lines = intake::readPending(connection, purchase, QString());
}

bool PurchasePending::exceeds(business::NotaCredito &note)
{
    const business::DetalleNota detail = note.Detalle();
    intake::LineAmounts &line =
        m_lines[intake::pendingLineKey(detail.producto, detail.talla, detail.color, detail.unidad1)];
    if (exceedsInWholeUnits(detail.precioNetoImporte, line.purchased - line.noted))
        return true;
    line.noted += detail.precioNetoImporte;
    return false;
}

bool checksLinesTogether(db::Backend backend, int lines)
{
    // SQLite answers in the same process: a statement per line costs next to nothing.
    // On a server the read of the whole purchase walks every note ever granted on it,
    // cancelled ones included, which costs more than a few lines' round trips.
    constexpr int kLinesWorthOneRead = 64;
    return backend != db::Backend::Sqlite && lines >= kLinesWorthOneRead;
}

bool ExcedePendiente(screen::FrmQMX44 &frm, business::NotaCredito &note)
{
    return ExcedePendiente(frm.Sistema().Conexion(), frm.Sql, note);
}

} // namespace qmx44::document
