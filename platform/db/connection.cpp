// The database operations common to every connection: the scoped transaction and the
// row lock, whose form depends on the back-end.
#include "platform/db/connection.h"

#include <QDebug>
#include <QRegularExpression>

namespace qmx44::db {

namespace {

void requireIdentifier(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(name).hasMatch())
        throw RuntimeError(QStringLiteral("Nombre de tabla o columna no válido: %1").arg(name));
}

} // namespace

int RecordSet::requireField(const QString &name) const
{
    const int at = fieldIndex(name);
    if (at < 0)
        throw RuntimeError(QStringLiteral("El resultado no tiene la columna \"%1\"").arg(name));
    return at;
}

void Conexion::lockRows(const QString &table, const QString &column, const QVariant &value)
{
    requireIdentifier(table);
    requireIdentifier(column);
    if (!inTransaction())
        throw RuntimeError(QStringLiteral("Las filas sólo se bloquean dentro de una transacción abierta"));
    switch (backend()) {
    case Backend::Sqlite:
        // The transaction began with the database's write lock (BEGIN IMMEDIATE).
        break;
    case Backend::Postgres:
        query(QStringLiteral("SELECT COUNT(*) AS Filas FROM (SELECT %2 FROM %1 WHERE %2 = ? FOR UPDATE) Bloqueo")
                  .arg(table, column),
              {value})
            ->close();
        break;
    case Backend::Odbc:
        // No portable locking read: an update that changes nothing locks the rows too.
        run(QStringLiteral("UPDATE %1 SET %2 = %2 WHERE %2 = ?").arg(table, column), {value});
        break;
    }
}

ScopedTransaction::~ScopedTransaction()
{
    if (m_done)
        return;
    try {
        if (m_c.inTransaction())
            m_c.rollback();
    } catch (const std::exception &e) {
        qWarning().noquote() << "No se pudo deshacer la transacción:" << describe(e);
    } catch (...) {
        qWarning().noquote() << "No se pudo deshacer la transacción";
    }
}

void ScopedTransaction::commit()
{
    if (m_done)
        return;
    // Marked done only once committed: when the commit fails and leaves the transaction
    // open, the destructor still rolls it back.
    m_c.commit();
    m_done = true;
}

void ScopedTransaction::rollback()
{
    if (m_done)
        return;
    m_done = true;
    if (m_c.inTransaction())
        m_c.rollback();
}

} // namespace qmx44::db
