#include "platform/business/table_rows.h"

#include "platform/db/connection.h"
#include "platform/db/schema.h"

namespace qmx44::business {

namespace {

QString findName(const QStringList &names, const QString &name)
{
    for (const QString &n : names)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    return {};
}

} // namespace

TableRows readTableRows(db::Conexion &connection, const QString &table, const QString &column, const QString &value,
                        int limit)
{
    TableRows r;
    r.table = findName(db::tableNames(connection), table.trimmed());
    if (r.table.isEmpty())
        throw RuntimeError(QStringLiteral("No existe la tabla %1").arg(table));

    // Only names that came from the database itself are put into the statements.
    {
        auto rs = connection.query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(r.table));
        r.columns = rs->columns();
        rs->close();
    }
    r.keyColumn = findName(r.columns, column.trimmed());
    if (r.keyColumn.isEmpty())
        throw RuntimeError(QStringLiteral("La tabla %1 no tiene la columna %2").arg(table, column));
    r.keyValue = value;

    auto rs = connection.query(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(r.table, r.keyColumn), {value});
    for (; !rs->eof() && r.rows.size() < limit; rs->moveNext()) {
        QVariantList rowValues;
        rowValues.reserve(r.columns.size());
        for (const QString &c : r.columns)
            rowValues.append(rs->field(c));
        r.rows.append(rowValues);
    }
    rs->close();
    return r;
}

} // namespace qmx44::business
