#include "platform/host/component_interfaces.h"

namespace qmx44::host {

MainForm *mainFormOf(const QVariant &screenObject)
{
    return qobject_cast<MainForm *>(screenObject.value<QObject *>());
}

} // namespace qmx44::host
