#include "component/publico.h"

#include "bonus/install.h"
#include "document/install.h"
#include "intake/install.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"
#include "preview/install.h"

namespace qmx44::component {

Publico::Publico(std::shared_ptr<host::PlatformContext> context) : m_context(std::move(context))
{
    if (!m_context || !m_context->session)
        throw RuntimeError(QStringLiteral("QMX44: el anfitrión no dio una sesión"));
    m_context->session->check(faults::Publico);
    m_sistema = std::make_unique<services::Sistema>(m_context->session);
    m_utilerias = std::make_unique<services::Utilerias>(m_context->session);
    m_auxiliar = std::make_unique<services::Auxiliar>(m_context->session);
}

Publico::~Publico()
{
    // The form goes before the services it uses.
    if (m_pantalla && !m_pantalla->isUnloaded()) {
        try {
            m_pantalla->unload();
        } catch (...) {
        }
    }
    m_pantalla.reset();
    for (const QPointer<screen::FrmQMX44> &closed : std::exchange(m_closedForms, {}))
        delete closed.data();
}

screen::FrmQMX44 &Publico::pantalla()
{
    if (m_pantalla && !m_pantalla->isUnloaded())
        return *m_pantalla;
    if (m_pantalla)
        release(m_pantalla.get());
    auto form =
        std::make_unique<screen::FrmQMX44>(screen::FormEnvironment{m_context, m_sistema.get(), m_utilerias.get()});
    // Every layer's handlers are in place before the form loads.
    intake::install(*form);
    bonus::install(*form);
    preview::install(*form);
    document::install(*form);
    form->load();
    QObject::connect(form.get(), &screen::FrmQMX44::closed, form.get(), [this, f = form.get()] { release(f); });
    m_pantalla = std::move(form);
    return *m_pantalla;
}

void Publico::release(screen::FrmQMX44 *form)
{
    if (m_pantalla.get() != form)
        return; // released already
    m_closedForms.emplace_back(m_pantalla.release());
    std::erase_if(m_closedForms, [](const QPointer<screen::FrmQMX44> &f) { return f.isNull(); });
    // Destroyed only where nothing of it is on the stack: after its running handlers
    // return, and then once control is back in the event loop that closed it.
    QPointer<screen::FrmQMX44> closed = form;
    form->form().whenNoHandlerRuns([closed] {
        if (closed)
            closed->deleteLater();
    });
}

} // namespace qmx44::component
