#include "platform/db/admin.h"

#include "platform/db/open.h"
#include "platform/db/schema.h"
#include "platform/db/sql_script.h"

#include <QFile>

namespace qmx44::db {

namespace {

qint64 count(Conexion &c, const QString &sql)
{
    auto rs = c.query(sql);
    return rs->eof() ? 0 : rs->field(rs->columns().value(0)).toLongLong();
}

QStringList demoStatements()
{
    QFile f(QStringLiteral(":/qmx44/db/demo/demo.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw RuntimeError(QStringLiteral("No se encontraron los datos de demostración"));
    return splitSqlScript(QString::fromUtf8(f.readAll()));
}

} // namespace

void loadDemo(Conexion &c)
{
    requireCurrentSchema(c);
    const QStringList statements = demoStatements();

    ScopedTransaction tx(c);
    const qint64 documents = count(c, QStringLiteral("SELECT COUNT(*) FROM COMPRA"))
        + count(c, QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR"));
    if (documents > 0)
        throw RuntimeError(
            QStringLiteral("La base de datos ya tiene documentos (compras o notas de crédito): no se cargan los "
                           "datos de demostración. No se modificó nada."));
    for (const char *table : {"Sucursal", "Proveedor", "Producto", "Parametro", "Usuario"}) {
        if (count(c, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))) > 0)
            throw RuntimeError(
                QStringLiteral("La base de datos ya tiene datos de una empresa (tabla %1): no se cargan los datos "
                               "de demostración. No se modificó nada.")
                    .arg(QLatin1String(table)));
    }
    for (const QString &statement : statements) {
        try {
            c.run(statement);
        } catch (const RuntimeError &e) {
            throw RuntimeError(
                QStringLiteral("Fallaron los datos de demostración: %1\n%2").arg(e.description(), statement.left(200)));
        }
    }
    // A demo database: its users are picked from a list at sign-in, without a password.
    c.run(QStringLiteral("INSERT INTO Base_Demostracion (Bd_Origen) VALUES ('demo')"));
    tx.commit();
}

InitReport initDatabase(const QString &connection, bool demo)
{
    InitReport report;
    auto c = open(connection, OpenMode::Upgrade, report.versionBefore);
    report.versionAfter = inspectSchema(*c).version;
    if (demo) {
        loadDemo(*c);
        report.demoLoaded = true;
    }
    return report;
}

DatabaseSummary summarize(Conexion &c)
{
    DatabaseSummary s;
    s.schemaVersion = inspectSchema(c).version;
    s.purchases = count(c, QStringLiteral("SELECT COUNT(DISTINCT Co_Folio) FROM COMPRA"));
    s.purchaseLines = count(c, QStringLiteral("SELECT COUNT(*) FROM COMPRA"));
    s.notes = count(c, QStringLiteral("SELECT COUNT(DISTINCT Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR"));
    s.cancelledNotes = count(
        c, QStringLiteral("SELECT COUNT(DISTINCT Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR WHERE Es_Cve_Estado = 'CA'"));
    s.suppliers = count(c, QStringLiteral("SELECT COUNT(*) FROM Proveedor"));
    s.products = count(c, QStringLiteral("SELECT COUNT(*) FROM Producto"));
    s.users = count(c, QStringLiteral("SELECT COUNT(*) FROM Usuario"));
    return s;
}

QString summaryText(const DatabaseSummary &s)
{
    return QStringLiteral("Esquema: versión %1\n"
                          "Compras: %2 (%3 líneas)\n"
                          "Notas de crédito: %4 (%5 canceladas)\n"
                          "Proveedores: %6\n"
                          "Productos: %7\n"
                          "Usuarios: %8\n")
        .arg(s.schemaVersion)
        .arg(s.purchases)
        .arg(s.purchaseLines)
        .arg(s.notes)
        .arg(s.cancelledNotes)
        .arg(s.suppliers)
        .arg(s.products)
        .arg(s.users);
}

} // namespace qmx44::db
