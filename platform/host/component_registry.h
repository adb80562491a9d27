#pragma once
// The component registry: the folder of installed component plug-ins, and creation of
// a component's public object by its programmatic identifier ("Module.Class").
//
// A component is a Qt plug-in implementing ComponentPlugin whose metadata lists the
// identifiers it serves: Q_PLUGIN_METADATA(IID QMX44_COMPONENT_PLUGIN_IID FILE "x.json")
// with {"progIds": ["Module.Class"]}. Looking an identifier up reads the metadata of
// the folder's plug-ins without loading their code; only the one that serves it is loaded.
//
// The metadata also names the qmx44 version and build id the plug-in was compiled for
// ("version", "build"). A plug-in for another version or build shares the platform's
// libraries with a different idea of their types, so it is never loaded: lookups pass
// over it with a warning on standard error, and registering it is refused.
#include "platform/host/component_interfaces.h"
#include "platform/host/platform_context.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QPluginLoader;

namespace qmx44::host {

class ComponentRegistry {
public:
    struct Entry {
        QStringList progIds;
        QString file;    // absolute path of the plug-in
        QString version; // what the plug-in was built for; empty when its metadata has none
        QString build;
    };

    // The version and build id of this host; a component must carry the same.
    static QString hostVersion();
    static QString hostBuild();
    static bool compatible(const Entry &entry);
    // "built for qmx44 V (build B), this is qmx44 V' (build B')".
    static QString mismatch(const Entry &entry);

    // $QMX44_COMPONENT_PATH when set, else ~/.local/share/qmx44/components.
    static QString defaultFolder();

    explicit ComponentRegistry(const QString &folder = defaultFolder());
    // Stops the components this registry started (their libraries stay loaded).
    ~ComponentRegistry();
    ComponentRegistry(const ComponentRegistry &) = delete;
    ComponentRegistry &operator=(const ComponentRegistry &) = delete;

    const QString &folder() const { return m_folder; }

    // The identifiers a plug-in file serves. Throws RuntimeError when the file is not a
    // component plug-in (not a library, another kind of plug-in, no identifiers).
    static Entry describe(const QString &pluginFile);

    // The components installed in the folder (a missing folder holds none), whatever
    // version they were built for.
    QList<Entry> entries() const;
    // The compatible component serving `progId`. An incompatible one that serves it is
    // passed over, with one warning per file on standard error.
    std::optional<Entry> find(const QString &progId) const;

    // Installs the plug-in file in the folder (created when needed), replacing any
    // installed plug-in that serves one of the same identifiers. The copy is written
    // whole or not at all. Returns the installed entry. Throws RuntimeError for a plug-in
    // built for another version or build.
    Entry registerComponent(const QString &pluginFile);
    // Removes the plug-in serving `progId`; false when none is installed.
    bool unregisterComponent(const QString &progId);

    // A new object of the class named `progId`. On first use of a plug-in this loads it
    // and runs its start-up routine with `context`; later objects of the same load share
    // that start-up. Throws RuntimeError when nothing installed serves the identifier or
    // the plug-in cannot be loaded.
    std::unique_ptr<QObject> createObject(const QString &progId, std::shared_ptr<PlatformContext> context);

    // The loaded and started plug-in serving `progId`, or null before createObject.
    ComponentPlugin *loadedPlugin(const QString &progId) const;

private:
    struct Loaded {
        QPluginLoader *loader = nullptr;
        ComponentPlugin *plugin = nullptr;
        bool startedHere = false;
    };

    QString m_folder;
    QHash<QString, Loaded> m_loaded; // by absolute file path
    mutable QSet<QString> m_warned;  // incompatible files already reported
};

} // namespace qmx44::host
