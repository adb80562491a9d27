#include "platform/services/session.h"

namespace qmx44::services {

namespace {
QString permissionKey(const QString &module, const QString &key)
{
    // A separator that cannot appear in a module tag keeps "AB"+"C" apart from "A"+"BC".
    return module + QChar(0x1f) + key;
}
} // namespace

db::Conexion &Session::connection() const
{
    if (!m_connection)
        throw RuntimeError(QStringLiteral("No hay conexión con la base de datos"));
    return *m_connection;
}

std::optional<bool> Session::permission(const QString &module, const QString &key) const
{
    auto it = m_permissions.find(permissionKey(module, key));
    if (it == m_permissions.end())
        return std::nullopt;
    return it.value();
}

void Session::setPermission(const QString &module, const QString &key, bool allowed)
{
    m_permissions.insert(permissionKey(module, key), allowed);
}

QDate Session::workingDate() const
{
    return m_fixedDate.value_or(QDate::currentDate());
}

void Session::check(QLatin1String operation)
{
    if (auto text = m_faults.take(operation))
        throw RuntimeError(*text);
}

} // namespace qmx44::services
