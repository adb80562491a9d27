#pragma once
// The QMX44 component plug-in's root object: the start-up routine on load and the
// factory of the public class Pantalla.
#include "platform/host/component_interfaces.h"

#include <QObject>
#include <memory>

namespace qmx44::component {

class Publico;

class ComponentPluginImpl : public QObject, public host::ComponentPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qmx44.ComponentPlugin/1" FILE "qmx44_component.json")
    Q_INTERFACES(qmx44::host::ComponentPlugin)
public:
    ComponentPluginImpl();
    ~ComponentPluginImpl() override;

    void start(std::shared_ptr<host::PlatformContext> context) override;
    bool started() const override { return m_publico != nullptr; }
    QObject *create(const QString &progId) override;
    void stop() override;

private:
    std::shared_ptr<Publico> m_publico;
};

} // namespace qmx44::component
