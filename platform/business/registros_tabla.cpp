#include "platform/business/registros_tabla.h"

#include "platform/db/schema.h"

namespace qmx44::business {

namespace {

QString buscar(const QStringList &nombres, const QString &nombre)
{
    for (const QString &n : nombres)
        if (n.compare(nombre, Qt::CaseInsensitive) == 0)
            return n;
    return {};
}

} // namespace

RegistrosTabla leerRegistros(db::Conexion &conexion, const QString &tabla, const QString &columna,
                             const QString &valor, int limite)
{
    RegistrosTabla r;
    r.tabla = buscar(db::tableNames(conexion), tabla.trimmed());
    if (r.tabla.isEmpty())
        throw RuntimeError(QStringLiteral("No existe la tabla %1").arg(tabla));

    // Only names that came from the database itself are put into the statements.
    {
        auto rs = conexion.query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(r.tabla));
        r.columnas = rs->columns();
        rs->close();
    }
    r.columnaClave = buscar(r.columnas, columna.trimmed());
    if (r.columnaClave.isEmpty())
        throw RuntimeError(QStringLiteral("La tabla %1 no tiene la columna %2").arg(tabla, columna));
    r.valorClave = valor;

    auto rs = conexion.query(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(r.tabla, r.columnaClave), {valor});
    for (; !rs->eof() && r.filas.size() < limite; rs->moveNext()) {
        QVariantList fila;
        fila.reserve(r.columnas.size());
        for (const QString &c : r.columnas)
            fila.append(rs->field(c));
        r.filas.append(fila);
    }
    rs->close();
    return r;
}

} // namespace qmx44::business
