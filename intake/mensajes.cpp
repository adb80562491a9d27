// The coded message with the main form as owner.
#include "intake/mensajes.h"

#include "screen/frm_qmx44.h"

namespace qmx44::intake {

void mensaje(screen::FrmQMX44 &frm, const QString &texto, int estilo, const QString &titulo,
             const QString &id)
{
    frm.Sistema().Mensaje(texto, estilo, titulo, frm.form().handle(), QStringLiteral("QMX44"), id);
}

} // namespace qmx44::intake
