// A component plug-in as an older qmx44 left it in a user's component folder: it serves
// QMX44.Pantalla but was built for another version. Loading it would be the fault, so it
// has nothing to offer once loaded.
#include <QObject>

class StaleComponent : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qmx44.ComponentPlugin/1" FILE "stale_component.json")
};

#include "stale_component.moc"
