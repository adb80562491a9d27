#include "platform/host/component_interfaces.h"

namespace qmx44::host {

MainForm *mainFormOf(const QVariant &pantalla)
{
    return qobject_cast<MainForm *>(pantalla.value<QObject *>());
}

} // namespace qmx44::host
