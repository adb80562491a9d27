#pragma once
// The signed-in session the platform services answer for: who is working, on which
// connection, with which host overrides, planned failures and message sink.
#include "platform/core/faults.h"
#include "platform/core/message.h"
#include "platform/db/connection.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>

namespace qmx44::services {

class Sesion {
public:
    Sesion() = default;
    Sesion(std::shared_ptr<db::Conexion> conexion, const QString &usuario)
        : m_conexion(std::move(conexion)), m_usuario(usuario) {}

    // The connection; throws RuntimeError when the host gave none.
    db::Conexion &conexion() const;
    bool tieneConexion() const { return m_conexion != nullptr; }
    void setConexion(std::shared_ptr<db::Conexion> conexion) { m_conexion = std::move(conexion); }

    // The signed-in user's key (Usuario.Us_Cve_Usuario); empty when nobody signed in.
    const QString &usuario() const { return m_usuario; }
    void setUsuario(const QString &usuario) { m_usuario = usuario; }

    // Host overrides: when set they win over what the database says about the user.
    const std::optional<QString> &sucursal() const { return m_sucursal; }
    void setSucursal(std::optional<QString> sucursal) { m_sucursal = std::move(sucursal); }
    const std::optional<QString> &almacen() const { return m_almacen; }
    void setAlmacen(std::optional<QString> almacen) { m_almacen = std::move(almacen); }
    std::optional<bool> permiso(const QString &modulo, const QString &clave) const;
    void setPermiso(const QString &modulo, const QString &clave, bool valor);
    void clearPermisos() { m_permisos.clear(); }

    // The working date: today unless the host fixed one.
    QDate fechaTrabajo() const;
    const std::optional<QDate> &fechaFija() const { return m_fecha; }
    void setFechaFija(std::optional<QDate> fecha) { m_fecha = std::move(fecha); }

    // Planned failures, asked at the entry of every platform operation under its own
    // name (faults::Operations).
    FaultPlan &faults() { return m_faults; }
    // Throws RuntimeError with the planned text when `operation` is planned to fail.
    void check(QLatin1String operation);

    // Where coded messages go; null means "print them on stderr" (no host attached).
    MessageSink *mensajes() const { return m_mensajes.get(); }
    void setMensajes(std::shared_ptr<MessageSink> sink) { m_mensajes = std::move(sink); }

private:
    std::shared_ptr<db::Conexion> m_conexion;
    QString m_usuario;
    std::optional<QString> m_sucursal;
    std::optional<QString> m_almacen;
    QHash<QString, bool> m_permisos;
    std::optional<QDate> m_fecha;
    FaultPlan m_faults;
    std::shared_ptr<MessageSink> m_mensajes;
};

} // namespace qmx44::services
