#include "platform/services/sesion.h"

namespace qmx44::services {

namespace {
QString permisoKey(const QString &modulo, const QString &clave)
{
    // A separator that cannot appear in a module tag keeps "AB"+"C" apart from "A"+"BC".
    return modulo + QChar(0x1f) + clave;
}
} // namespace

db::Conexion &Sesion::conexion() const
{
    if (!m_conexion)
        throw RuntimeError(QStringLiteral("No hay conexión con la base de datos"));
    return *m_conexion;
}

std::optional<bool> Sesion::permiso(const QString &modulo, const QString &clave) const
{
    auto it = m_permisos.find(permisoKey(modulo, clave));
    if (it == m_permisos.end())
        return std::nullopt;
    return it.value();
}

void Sesion::setPermiso(const QString &modulo, const QString &clave, bool valor)
{
    m_permisos.insert(permisoKey(modulo, clave), valor);
}

QDate Sesion::fechaTrabajo() const
{
    return m_fecha.value_or(QDate::currentDate());
}

void Sesion::check(QLatin1String operation)
{
    if (auto text = m_faults.take(operation))
        throw RuntimeError(*text);
}

} // namespace qmx44::services
