#pragma once
// Sistema: the system services the screen calls — the connection, the signed-in user's
// branch and warehouse, system parameters, user rights and the coded message.
#include "platform/db/connection.h"
#include "platform/services/sesion.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace qmx44::services {

class Sistema {
public:
    explicit Sistema(std::shared_ptr<Sesion> sesion);

    // The open connection of the session.
    db::Conexion &Conexion();

    // The signed-in user's branch / warehouse key; empty when the user is not restricted
    // (or nobody is signed in). A host override wins over the user's Usuario row. A user
    // key with no Usuario row is refused rather than taken as unrestricted.
    QString Sucursal();
    QString Almacen();

    // The value of parameter `nombre`. `ambito` is accepted for compatibility and does not
    // change the answer (parameters are company-wide). `tipo` converts the stored text
    // ("B" flag, "N" number, "E"/"I" whole number, "F" date, else text); when it is empty
    // the stored Pa_Tipo decides. A parameter that is not defined, or defined without a
    // value, gives `omision` (converted the same way) when one is passed; otherwise an
    // undefined parameter gives a null QVariant and a valueless one an empty text.
    QVariant Parametro(const QString &nombre, int ambito = 0, const QString &tipo = {},
                       const QString &omision = {});

    // Whether the signed-in user holds right `clave` in module `modulo`. A host override
    // wins; otherwise Usuario_Permiso decides and a missing row means no. `noDisponible`
    // is the text the caller would show for a refused right; the service shows nothing.
    bool Permiso(const QString &modulo, const QString &clave, const QString &noDisponible = {});

    // Hands the coded message to the host's message sink and returns its answer.
    int Mensaje(const QString &texto, int estilo, const QString &titulo, qint64 propietario,
                const QString &modulo, const QString &id);

    Sesion &sesion() { return *m_sesion; }

private:
    QString columnaUsuario(const QString &columna);

    std::shared_ptr<Sesion> m_sesion;
};

} // namespace qmx44::services
