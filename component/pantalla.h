#pragma once
// Pantalla, the component's public class (programmatic identifier ProgId, prog_id.h):
// the host's way to the screen. It keeps no state of its own.
#include "platform/host/component_interfaces.h"

#include <QObject>
#include <QVariant>
#include <memory>

namespace qmx44::component {

class Publico;

class Pantalla : public QObject, public host::PantallaInterface {
    Q_OBJECT
    Q_INTERFACES(qmx44::host::PantallaInterface)
    Q_PROPERTY(QVariant GetPantalla READ GetPantalla)
    Q_PROPERTY(QVariant Modulo READ Modulo)
public:
    explicit Pantalla(std::weak_ptr<Publico> publicObject, QObject *parent = nullptr);

    // The one main form (a QObject implementing host::MainForm); an invalid QVariant on
    // any failure (the component was stopped, the form could not be made or its load
    // failed), with nothing shown to the user and a warning in the log saying why.
    QVariant GetPantalla() override;
    // "COMPRAS", whether or not the form exists.
    QVariant Modulo() const override;

private:
    std::weak_ptr<Publico> m_component;
};

} // namespace qmx44::component
