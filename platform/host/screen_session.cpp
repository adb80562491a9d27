#include "platform/host/screen_session.h"

#include "platform/core/error.h"

#include <QFileInfo>

namespace qmx44::host {

std::shared_ptr<PlatformContext> makePlatformContext(std::shared_ptr<db::Conexion> database, const QString &user)
{
    auto context = std::make_shared<PlatformContext>();
    context->session = std::make_shared<services::Session>(std::move(database), user);
    return context;
}

ScreenSession::ScreenSession(std::shared_ptr<PlatformContext> context, QString progId, QString builtComponent)
    : m_context(std::move(context)), m_progId(std::move(progId)), m_builtComponent(std::move(builtComponent))
{
}

ScreenSession::~ScreenSession()
{
    m_formObject = nullptr;
    m_screens.clear();
    m_registry.reset();
}

ComponentRegistry *ScreenSession::registry()
{
    if (m_looked)
        return m_registry.get();
    m_looked = true;
    auto registered = std::make_unique<ComponentRegistry>();
    m_userFolder = registered->folder();
    if (registered->find(m_progId)) {
        m_registry = std::move(registered);
        return m_registry.get();
    }
    if (!m_builtComponent.isEmpty() && QFileInfo(m_builtComponent).isFile()) {
        auto shipped = std::make_unique<ComponentRegistry>(QFileInfo(m_builtComponent).absolutePath());
        if (shipped->find(m_progId))
            m_registry = std::move(shipped);
    }
    return m_registry.get();
}

QString ScreenSession::missingComponent() const
{
    return QStringLiteral("%1 is not registered in %2 and no component came with qmx44")
        .arg(m_progId, m_userFolder.isEmpty() ? ComponentRegistry::defaultFolder() : m_userFolder);
}

MainForm *ScreenSession::open()
{
    ComponentRegistry *components = registry();
    if (!components)
        throw RuntimeError(missingComponent());
    std::unique_ptr<QObject> object = components->createObject(m_progId, m_context);
    auto *screenObject = qobject_cast<PantallaInterface *>(object.get());
    if (!screenObject)
        throw RuntimeError(QStringLiteral("%1 of the component is not a Pantalla").arg(m_progId));
    const QVariant value = screenObject->GetPantalla();
    m_screens.push_back(std::move(object));
    MainForm *form = mainFormOf(value);
    m_formObject = form ? value.value<QObject *>() : nullptr;
    if (!form)
        return nullptr;
    // A new parent for this showing; the old one no longer speaks for the form.
    m_padre = std::make_shared<Padre>();
    m_padre->setMember(QStringLiteral("Transaccion"), QStringLiteral("QMX44"));
    m_padre->setMember(QStringLiteral("Modulo"), QStringLiteral("COMPRAS"));
    form->setPadre(m_padre);
    if (onOpened)
        onOpened(*form);
    return form;
}

PantallaInterface *ScreenSession::screen() const
{
    return m_screens.empty() ? nullptr : qobject_cast<PantallaInterface *>(m_screens.back().get());
}

} // namespace qmx44::host
