#include "platform/services/auxiliar.h"

#include "platform/core/error.h"

namespace qmx44::services {

Auxiliar::Auxiliar(std::shared_ptr<Sesion> sesion) : m_sesion(std::move(sesion))
{
    if (!m_sesion)
        throw RuntimeError(QStringLiteral("Auxiliar: no hay sesión"));
}

} // namespace qmx44::services
