#include "platform/services/auxiliar.h"

#include "platform/core/error.h"

namespace qmx44::services {

Auxiliar::Auxiliar(std::shared_ptr<Session> session) : m_session(std::move(session))
{
    if (!m_session)
        throw RuntimeError(QStringLiteral("Auxiliar: no hay sesión"));
}

} // namespace qmx44::services
