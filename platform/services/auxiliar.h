#pragma once
// Auxiliar: the third service object of the component. It is created with the other two
// at start-up and offers nothing the screen calls; it keeps the session for later use.
#include "platform/services/sesion.h"

#include <memory>

namespace qmx44::services {

class Auxiliar {
public:
    explicit Auxiliar(std::shared_ptr<Sesion> sesion);
    Sesion &sesion() { return *m_sesion; }

private:
    std::shared_ptr<Sesion> m_sesion;
};

} // namespace qmx44::services
