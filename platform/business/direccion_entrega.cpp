#include "platform/business/direccion_entrega.h"

#include "platform/core/error.h"
#include "platform/core/faults.h"
#include "platform/services/session.h"

namespace qmx44::business {

namespace {
// "0000" is how callers say that no address was chosen.
bool noAddress(const QString &id)
{
    return id.isEmpty() || id == u"0000";
}
} // namespace

DireccionEntrega::DireccionEntrega(std::shared_ptr<services::Session> session) : m_session(std::move(session))
{
    if (!m_session)
        throw RuntimeError(QStringLiteral("DireccionEntrega: falta la sesión"));
}

QString DireccionEntrega::IdDocumento(const QString &table, const QString &document, const QString &entity,
                                      const QString &entityKey)
{
    m_session->check(faults::DireccionEntregaIdDocumento);
    auto rs = m_session->connection().query(
        QStringLiteral("SELECT De_ID FROM Documento_Direccion "
                       "WHERE Dd_Tabla = ? AND Dd_Documento = ? AND Dd_Entidad = ? AND Dd_Cve_Entidad = ?"),
        {table, document, entity, entityKey});
    const QString id = rs->eof() ? QString() : rs->field(QStringLiteral("De_ID")).toString();
    rs->close();
    return id;
}

QString DireccionEntrega::IdOmision(const QString &entity, const QString &entityKey, const QString &current)
{
    Q_UNUSED(current);
    m_session->check(faults::DireccionEntregaIdOmision);
    // Owners are stored under their table's name in capitals ('PROVEEDOR'); the key
    // comparison stays exact so the index serves it.
    auto rs = m_session->connection().query(
        QStringLiteral("SELECT De_ID FROM Direccion_Entrega "
                       "WHERE De_Tabla = ? AND De_Documento = ? AND De_Omision = 1 ORDER BY De_ID"),
        {entity.toUpper(), entityKey});
    const QString id = rs->eof() ? QString() : rs->field(QStringLiteral("De_ID")).toString();
    rs->close();
    return id;
}

void DireccionEntrega::Asignar(const QString &table, const QString &document, const QString &entity,
                               const QString &entityKey, const QString &id, bool &success)
{
    success = false;
    m_error.clear();
    if (auto planned = m_session->faults().take(faults::DireccionEntregaAsignar)) {
        m_error = *planned;
        return;
    }
    if (table.isEmpty() || document.isEmpty() || entity.isEmpty()) {
        m_error = QStringLiteral("No se indicó el documento al que pertenece la dirección de entrega");
        return;
    }
    try {
        db::Conexion &database = m_session->connection();
        if (!noAddress(id)) {
            // Only an address the entity really has may be recorded: the note prints it.
            auto rs = database.query(QStringLiteral("SELECT COUNT(*) AS Hay FROM Direccion_Entrega "
                                                    "WHERE De_Tabla = ? AND De_Documento = ? AND De_ID = ?"),
                                     {entity.toUpper(), entityKey, id});
            const bool exists = !rs->eof() && rs->field(QStringLiteral("Hay")).toLongLong() > 0;
            rs->close();
            if (!exists) {
                m_error =
                    QStringLiteral("La dirección de entrega %1 no es del %2 %3").arg(id, entity.toLower(), entityKey);
                return;
            }
        }
        database.run(QStringLiteral("DELETE FROM Documento_Direccion "
                                    "WHERE Dd_Tabla = ? AND Dd_Documento = ? AND Dd_Entidad = ?"),
                     {table, document, entity});
        if (!noAddress(id)) {
            database.run(QStringLiteral("INSERT INTO Documento_Direccion "
                                        "(Dd_Tabla, Dd_Documento, Dd_Entidad, Dd_Cve_Entidad, De_ID) "
                                        "VALUES (?, ?, ?, ?, ?)"),
                         {table, document, entity, entityKey, id});
        }
        success = true;
    } catch (const std::exception &e) {
        m_error = describe(e);
    }
}

} // namespace qmx44::business
