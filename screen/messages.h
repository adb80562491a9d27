#pragma once
// The coded message as the screen shows it: through Sistema.Mensaje, owned by one of the
// screen's forms and tagged with the screen's module unless a caller names another (an
// additional-field refusal is "CA001"). Every handler of the screen shows its messages
// through this; the host's answer is ignored.
#include "platform/core/message.h"
#include "screen/field_names.h"

#include <QString>

namespace qmx44::controls {
class Form;
}
namespace qmx44::services {
class Sistema;
}

namespace qmx44::screen {

class FrmQMX44;

void showMessage(services::Sistema &sistema, const controls::Form &owner, const QString &text, MessageStyle style,
                 const QString &title, const QString &id, const QString &module = ModuleTag);
// The same, owned by the main form.
void showMessage(FrmQMX44 &frm, const QString &text, MessageStyle style, const QString &title, const QString &id,
                 const QString &module = ModuleTag);

} // namespace qmx44::screen
