#pragma once
// The component-wide state of QMX44: the host's context, the three service objects made
// by the start-up routine, and the one main form served by Pantalla.
#include "platform/host/platform_context.h"
#include "platform/services/auxiliar.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/frm_qmx44.h"

#include <memory>
#include <vector>

namespace qmx44::component {

class Publico {
public:
    // The start-up routine: creates Sistema, Utilerias and Auxiliar, in this order, for
    // the component's lifetime. A failure passes to the host that is loading the component.
    explicit Publico(std::shared_ptr<host::PlatformContext> context);
    ~Publico();

    host::PlatformContext &context() { return *m_context; }
    services::Sistema &Sistema() { return *m_sistema; }
    services::Utilerias &Utilerias() { return *m_utilerias; }
    services::Auxiliar &Auxiliar() { return *m_auxiliar; }

    // The main form: the existing one, or, when there is none yet or the last one was
    // closed, a new one whose load has run. A closed form is kept (not destroyed) until
    // the component stops: a host may still hold it, and a handler of it may still be
    // running. A form whose load fails is discarded and the failure reaches the caller.
    screen::FrmQMX44 &pantalla();

private:
    std::shared_ptr<host::PlatformContext> m_context;
    std::unique_ptr<services::Sistema> m_sistema;
    std::unique_ptr<services::Utilerias> m_utilerias;
    std::unique_ptr<services::Auxiliar> m_auxiliar;
    std::unique_ptr<screen::FrmQMX44> m_pantalla;
    // The forms closed before the current one, destroyed with the component.
    std::vector<std::unique_ptr<screen::FrmQMX44>> m_closedForms;
};

} // namespace qmx44::component
