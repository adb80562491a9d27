#include "platform/services/sistema.h"

#include "platform/controls/desktop.h"
#include "platform/controls/form.h"
#include "platform/core/faults.h"
#include "platform/services/parameters.h"

#include <cstdio>

namespace qmx44::services {

Sistema::Sistema(std::shared_ptr<Session> session) : m_session(std::move(session))
{
    if (!m_session)
        throw RuntimeError(QStringLiteral("Sistema: no hay sesión"));
}

db::Conexion &Sistema::Conexion()
{
    m_session->check(faults::SistemaConexion);
    return m_session->connection();
}

QString Sistema::userColumn(const QString &column)
{
    const QString userName = m_session->user();
    if (userName.isEmpty())
        return QString();
    // The column name comes from this file only, never from a caller.
    auto rs = m_session->connection().query(
        QStringLiteral("SELECT %1 FROM Usuario WHERE Us_Cve_Usuario = ?").arg(column), {userName});
    if (rs->eof())
        throw RuntimeError(QStringLiteral("El usuario '%1' no está registrado").arg(userName));
    const QString value = rs->field(column).toString();
    rs->close();
    return value;
}

QString Sistema::Sucursal()
{
    m_session->check(faults::SistemaSucursal);
    if (m_session->branch())
        return *m_session->branch();
    return userColumn(QStringLiteral("Sc_Cve_Sucursal"));
}

QString Sistema::Almacen()
{
    m_session->check(faults::SistemaAlmacen);
    if (m_session->warehouse())
        return *m_session->warehouse();
    return userColumn(QStringLiteral("Al_Cve_Almacen"));
}

QVariant Sistema::Parametro(const QString &name, int scope, const QString &type, const QString &fallback)
{
    Q_UNUSED(scope);
    m_session->check(faults::SistemaParametro);
    const auto stored = readParameter(m_session->connection(), name);
    const QString effectiveType = !type.isEmpty() ? type : (stored ? stored->type : QString());
    if (!stored || stored->value.isNull()) {
        if (!fallback.isEmpty())
            return convertParameter(fallback, effectiveType);
        if (!stored)
            return QVariant();
        return convertParameter(QString(), effectiveType);
    }
    return convertParameter(stored->value.toString(), effectiveType);
}

bool Sistema::Permiso(const QString &module, const QString &key, const QString &unavailableMessage)
{
    Q_UNUSED(unavailableMessage);
    m_session->check(faults::SistemaPermiso);
    if (auto forced = m_session->permission(module, key))
        return *forced;
    const QString userName = m_session->user();
    if (userName.isEmpty())
        return false;
    auto rs =
        m_session->connection().query(QStringLiteral("SELECT Pe_Valor FROM Usuario_Permiso "
                                                     "WHERE Us_Cve_Usuario = ? AND Pe_Modulo = ? AND Pe_Clave = ?"),
                                      {userName, module, key});
    if (rs->eof())
        return false;
    const bool value = rs->field(QStringLiteral("Pe_Valor")).toInt() != 0;
    rs->close();
    return value;
}

int Sistema::Mensaje(const QString &text, int style, const QString &title, qint64 owner, const QString &module,
                     const QString &id)
{
    m_session->check(faults::SistemaMensaje);
    // The message is modal: a grid cell still being typed is left first (its event 50).
    if (controls::Form *active = controls::Desktop::activeForm())
        active->endOpenEdit();
    const qmx44::Message message{text, style, title, owner, module, id};
    if (MessageSink *sink = m_session->messageSink())
        return sink->show(message);
    // No host attached: a message must never vanish silently.
    std::fprintf(stderr, "[%s] %s (%s)\n", qPrintable(title), qPrintable(text), qPrintable(id));
    return 0;
}

} // namespace qmx44::services
