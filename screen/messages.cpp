#include "screen/messages.h"

#include "screen/frm_qmx44.h"

namespace qmx44::screen {

void showMessage(services::Sistema &sistema, const controls::Form &owner, const QString &text, MessageStyle style,
                 const QString &title, const QString &id, const QString &module)
{
    sistema.Mensaje(text, static_cast<int>(style), title, owner.handle(), module, id);
}

void showMessage(FrmQMX44 &frm, const QString &text, MessageStyle style, const QString &title, const QString &id,
                 const QString &module)
{
    showMessage(frm.Sistema(), frm.form(), text, style, title, id, module);
}

} // namespace qmx44::screen
