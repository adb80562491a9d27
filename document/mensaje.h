#pragma once
// The coded message as the document handlers show it: owned by the main form, under the
// module tag "QMX44" unless a caller names another.
#include "screen/frm_qmx44.h"

#include <QString>

namespace qmx44::document {

inline constexpr int EstiloError = 16;
inline constexpr int EstiloAviso = 48;

inline const QString &moduloPantalla()
{
    static const QString modulo = QStringLiteral("QMX44");
    return modulo;
}

// Sistema.Mensaje with the main form's window handle; the answer is ignored.
inline void mensaje(screen::FrmQMX44 &frm, const QString &texto, int estilo, const QString &titulo,
                    const QString &id, const QString &modulo = moduloPantalla())
{
    frm.Sistema().Mensaje(texto, estilo, titulo, frm.form().handle(), modulo, id);
}

} // namespace qmx44::document
