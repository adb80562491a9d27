#pragma once
// Auxiliar: the third service object of the component. It is created with the other two
// at start-up and offers nothing the screen calls; it keeps the session for later use.
#include "platform/services/session.h"

#include <memory>

namespace qmx44::services {

class Auxiliar {
public:
    explicit Auxiliar(std::shared_ptr<Session> session);
    Session &session() { return *m_session; }

private:
    std::shared_ptr<Session> m_session;
};

} // namespace qmx44::services
