#include "platform/business/direccion_entrega.h"

#include "platform/core/error.h"
#include "platform/core/faults.h"

namespace qmx44::business {

namespace {
// "0000" is how callers say that no address was chosen.
bool sinDireccion(const QString &id)
{
    return id.isEmpty() || id == u"0000";
}
} // namespace

DireccionEntrega::DireccionEntrega(std::shared_ptr<services::Sesion> sesion) : m_sesion(std::move(sesion))
{
    if (!m_sesion)
        throw RuntimeError(QStringLiteral("DireccionEntrega: falta la sesión"));
}

QString DireccionEntrega::IdDocumento(const QString &tabla, const QString &documento,
                                      const QString &entidad, const QString &cveEntidad)
{
    m_sesion->check(faults::DireccionEntregaIdDocumento);
    auto rs = m_sesion->conexion().query(
        QStringLiteral("SELECT De_ID FROM Documento_Direccion "
                       "WHERE Dd_Tabla = ? AND Dd_Documento = ? AND Dd_Entidad = ? AND Dd_Cve_Entidad = ?"),
        {tabla, documento, entidad, cveEntidad});
    const QString id = rs->eof() ? QString() : rs->field(QStringLiteral("De_ID")).toString();
    rs->close();
    return id;
}

QString DireccionEntrega::IdOmision(const QString &entidad, const QString &cveEntidad, const QString &actual)
{
    Q_UNUSED(actual);
    m_sesion->check(faults::DireccionEntregaIdOmision);
    // Owners are stored under their table's name in capitals ('PROVEEDOR'); the key
    // comparison stays exact so the index serves it.
    auto rs = m_sesion->conexion().query(
        QStringLiteral("SELECT De_ID FROM Direccion_Entrega "
                       "WHERE De_Tabla = ? AND De_Documento = ? AND De_Omision = 1 ORDER BY De_ID"),
        {entidad.toUpper(), cveEntidad});
    const QString id = rs->eof() ? QString() : rs->field(QStringLiteral("De_ID")).toString();
    rs->close();
    return id;
}

void DireccionEntrega::Asignar(const QString &tabla, const QString &documento, const QString &entidad,
                               const QString &cveEntidad, const QString &id, bool &exito)
{
    exito = false;
    m_error.clear();
    if (auto planeado = m_sesion->faults().take(faults::DireccionEntregaAsignar)) {
        m_error = *planeado;
        return;
    }
    if (tabla.isEmpty() || documento.isEmpty() || entidad.isEmpty()) {
        m_error = QStringLiteral("No se indicó el documento al que pertenece la dirección de entrega");
        return;
    }
    try {
        db::Conexion &conexion = m_sesion->conexion();
        if (!sinDireccion(id)) {
            // Only an address the entity really has may be recorded: the note prints it.
            auto rs = conexion.query(QStringLiteral("SELECT COUNT(*) AS Hay FROM Direccion_Entrega "
                                                    "WHERE De_Tabla = ? AND De_Documento = ? AND De_ID = ?"),
                                     {entidad.toUpper(), cveEntidad, id});
            const bool existe = !rs->eof() && rs->field(QStringLiteral("Hay")).toLongLong() > 0;
            rs->close();
            if (!existe) {
                m_error = QStringLiteral("La dirección de entrega %1 no es del %2 %3").arg(id, entidad.toLower(), cveEntidad);
                return;
            }
        }
        conexion.run(QStringLiteral("DELETE FROM Documento_Direccion "
                                    "WHERE Dd_Tabla = ? AND Dd_Documento = ? AND Dd_Entidad = ?"),
                     {tabla, documento, entidad});
        if (!sinDireccion(id)) {
            conexion.run(QStringLiteral("INSERT INTO Documento_Direccion "
                                        "(Dd_Tabla, Dd_Documento, Dd_Entidad, Dd_Cve_Entidad, De_ID) "
                                        "VALUES (?, ?, ?, ?, ?)"),
                         {tabla, documento, entidad, cveEntidad, id});
        }
        exito = true;
    } catch (const std::exception &e) {
        m_error = describe(e);
    }
}

} // namespace qmx44::business
