// The event boundary shared by every control event.
#include "platform/controls/event.h"

#include "platform/core/error.h"

namespace qmx44::controls::detail {

bool runGuarded(const EventOwner *owner, const QString &title, const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const std::exception &e) {
        owner->reportFailure(title, describe(e));
    } catch (...) {
        owner->reportFailure(title, QStringLiteral("Error desconocido"));
    }
    return false;
}

} // namespace qmx44::controls::detail
