#pragma once
// The component-wide state of QMX44: the host's context, the three service objects made
// by the start-up routine, and the one main form served by Pantalla.
#include "platform/host/platform_context.h"
#include "platform/services/auxiliar.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/frm_qmx44.h"

#include <QPointer>
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
    // closed, a new one whose load has run. A form whose load fails is discarded and the
    // failure reaches the caller.
    //
    // A closed form is destroyed once none of its handlers is running, when control next
    // returns to the event loop (QObject::deleteLater), or when the component stops. Its
    // views are told first (the control models' Aspect::Gone); hosts hold it through a
    // QPointer and find it null once it is gone.
    screen::FrmQMX44 &pantalla();

private:
    std::shared_ptr<host::PlatformContext> m_context;
    std::unique_ptr<services::Sistema> m_sistema;
    std::unique_ptr<services::Utilerias> m_utilerias;
    std::unique_ptr<services::Auxiliar> m_auxiliar;
    // The form's release once it closed.
    void release(screen::FrmQMX44 *form);

    std::unique_ptr<screen::FrmQMX44> m_pantalla;
    // Closed forms not destroyed yet: their handlers are running, or their deleteLater is
    // pending. Those left when the component stops are destroyed with it.
    std::vector<QPointer<screen::FrmQMX44>> m_closedForms;
};

} // namespace qmx44::component
