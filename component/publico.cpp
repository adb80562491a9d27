#include "component/publico.h"

#include "bonus/install.h"
#include "document/install.h"
#include "intake/install.h"
#include "platform/core/error.h"
#include "platform/core/faults.h"

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
    m_closedForms.clear();
}

screen::FrmQMX44 &Publico::pantalla()
{
    if (m_pantalla && !m_pantalla->isUnloaded())
        return *m_pantalla;
    // A closed form is replaced but stays alive: whoever still holds it was told it
    // closed, and may still touch it.
    if (m_pantalla)
        m_closedForms.push_back(std::move(m_pantalla));
    auto form =
        std::make_unique<screen::FrmQMX44>(screen::FormEnvironment{m_context, m_sistema.get(), m_utilerias.get()});
    // Every layer's handlers are in place before the form loads.
    intake::install(*form);
    bonus::install(*form);
    document::install(*form);
    form->load();
    m_pantalla = std::move(form);
    return *m_pantalla;
}

} // namespace qmx44::component
