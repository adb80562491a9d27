#include "platform/services/sistema.h"

#include "platform/core/faults.h"
#include "platform/services/parametros.h"

#include <cstdio>

namespace qmx44::services {

Sistema::Sistema(std::shared_ptr<Sesion> sesion) : m_sesion(std::move(sesion))
{
    if (!m_sesion)
        throw RuntimeError(QStringLiteral("Sistema: no hay sesión"));
}

db::Conexion &Sistema::Conexion()
{
    m_sesion->check(faults::SistemaConexion);
    return m_sesion->conexion();
}

QString Sistema::columnaUsuario(const QString &columna)
{
    const QString usuario = m_sesion->usuario();
    if (usuario.isEmpty())
        return QString();
    // The column name comes from this file only, never from a caller.
    auto rs = m_sesion->conexion().query(
        QStringLiteral("SELECT %1 FROM Usuario WHERE Us_Cve_Usuario = ?").arg(columna), {usuario});
    if (rs->eof())
        throw RuntimeError(QStringLiteral("El usuario '%1' no está registrado").arg(usuario));
    const QString valor = rs->field(columna).toString();
    rs->close();
    return valor;
}

QString Sistema::Sucursal()
{
    m_sesion->check(faults::SistemaSucursal);
    if (m_sesion->sucursal())
        return *m_sesion->sucursal();
    return columnaUsuario(QStringLiteral("Sc_Cve_Sucursal"));
}

QString Sistema::Almacen()
{
    m_sesion->check(faults::SistemaAlmacen);
    if (m_sesion->almacen())
        return *m_sesion->almacen();
    return columnaUsuario(QStringLiteral("Al_Cve_Almacen"));
}

QVariant Sistema::Parametro(const QString &nombre, int ambito, const QString &tipo, const QString &omision)
{
    Q_UNUSED(ambito);
    m_sesion->check(faults::SistemaParametro);
    const auto guardado = leerParametro(m_sesion->conexion(), nombre);
    const QString tipoEfectivo = !tipo.isEmpty() ? tipo : (guardado ? guardado->tipo : QString());
    if (!guardado || guardado->valor.isNull()) {
        if (!omision.isEmpty())
            return convertirParametro(omision, tipoEfectivo);
        if (!guardado)
            return QVariant();
        return convertirParametro(QString(), tipoEfectivo);
    }
    return convertirParametro(guardado->valor.toString(), tipoEfectivo);
}

bool Sistema::Permiso(const QString &modulo, const QString &clave, const QString &noDisponible)
{
    Q_UNUSED(noDisponible);
    m_sesion->check(faults::SistemaPermiso);
    if (auto forzado = m_sesion->permiso(modulo, clave))
        return *forzado;
    const QString usuario = m_sesion->usuario();
    if (usuario.isEmpty())
        return false;
    auto rs = m_sesion->conexion().query(
        QStringLiteral("SELECT Pe_Valor FROM Usuario_Permiso "
                       "WHERE Us_Cve_Usuario = ? AND Pe_Modulo = ? AND Pe_Clave = ?"),
        {usuario, modulo, clave});
    if (rs->eof())
        return false;
    const bool valor = rs->field(QStringLiteral("Pe_Valor")).toInt() != 0;
    rs->close();
    return valor;
}

int Sistema::Mensaje(const QString &texto, int estilo, const QString &titulo, qint64 propietario,
                     const QString &modulo, const QString &id)
{
    m_sesion->check(faults::SistemaMensaje);
    const qmx44::Message mensaje{texto, estilo, titulo, propietario, modulo, id};
    if (MessageSink *sink = m_sesion->mensajes())
        return sink->show(mensaje);
    // No host attached: a message must never vanish silently.
    std::fprintf(stderr, "[%s] %s (%s)\n", qPrintable(titulo), qPrintable(texto), qPrintable(id));
    return 0;
}

} // namespace qmx44::services
