#pragma once
// Sistema: the system services the screen calls — the connection, the signed-in user's
// branch and warehouse, system parameters, user rights and the coded message.
#include "platform/db/connection.h"
#include "platform/services/session.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace qmx44::services {

class Sistema {
public:
    explicit Sistema(std::shared_ptr<Session> session);

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
    QVariant Parametro(const QString &name, int scope = 0, const QString &type = {}, const QString &fallback = {});

    // Whether the signed-in user holds right `clave` in module `modulo`. A host override
    // wins; otherwise Usuario_Permiso decides and a missing row means no. `noDisponible`
    // is the text the caller would show for a refused right; the service shows nothing.
    bool Permiso(const QString &module, const QString &key, const QString &unavailableMessage = {});

    // Hands the coded message to the host's message sink and returns its answer.
    int Mensaje(const QString &text, int style, const QString &title, qint64 owner, const QString &module,
                const QString &id);

    Session &session() { return *m_session; }

private:
    QString userColumn(const QString &column);

    std::shared_ptr<Session> m_session;
};

} // namespace qmx44::services
