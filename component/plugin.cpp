#include "component/plugin.h"

#include "component/pantalla.h"
#include "component/prog_id.h"
#include "component/publico.h"
#include "platform/core/error.h"

namespace qmx44::component {

ComponentPluginImpl::ComponentPluginImpl() = default;
ComponentPluginImpl::~ComponentPluginImpl() = default;

void ComponentPluginImpl::start(std::shared_ptr<host::PlatformContext> context)
{
    if (m_publico)
        return;
    m_publico = std::make_shared<Publico>(std::move(context));
}

QObject *ComponentPluginImpl::create(const QString &progId)
{
    if (progId.compare(ProgId, Qt::CaseInsensitive) != 0)
        throw RuntimeError(QStringLiteral("QMX44 does not serve '%1'").arg(progId));
    if (!m_publico)
        throw RuntimeError(QStringLiteral("QMX44 was not started"));
    return new Pantalla(m_publico);
}

void ComponentPluginImpl::stop()
{
    m_publico.reset();
}

} // namespace qmx44::component
