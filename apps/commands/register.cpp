// `qmx44 register [PLUGIN]` and `qmx44 unregister [PROGID]`: install the screen component
// in the component folder, or remove it.
#include "apps/cli.h"
#include "apps/command.h"
#include "component/prog_id.h"
#include "platform/host/component_registry.h"

namespace qmx44::apps {

namespace {

int registerComponent(const QStringList &arguments)
{
    QStringList args = arguments;
    rejectUnknownOptions(args);
    if (args.size() > 1)
        throw UsageError{QStringLiteral("too many arguments")};
    QString plugin = args.value(0);
    if (plugin.isEmpty()) {
        plugin = builtComponent();
        if (plugin.isEmpty()) {
            printError(QStringLiteral("register"),
                       QStringLiteral("the component built with qmx44 was not found; name the plug-in file"));
            return kExitFailure;
        }
    }
    host::ComponentRegistry registry;
    const auto entry = registry.registerComponent(plugin);
    printOut(QStringLiteral("registered %1: %2").arg(entry.progIds.join(QStringLiteral(", ")), entry.file));
    return kExitOk;
}

int unregisterComponent(const QStringList &arguments)
{
    QStringList args = arguments;
    rejectUnknownOptions(args);
    if (args.size() > 1)
        throw UsageError{QStringLiteral("too many arguments")};
    const QString progId = args.value(0, component::ProgId);
    host::ComponentRegistry registry;
    if (registry.unregisterComponent(progId))
        printOut(QStringLiteral("unregistered %1 from %2").arg(progId, registry.folder()));
    else
        printOut(QStringLiteral("%1 was not registered in %2").arg(progId, registry.folder()));
    return kExitOk;
}

} // namespace

QMX44_COMMAND("register", "[PLUGIN]",
              "installs the screen component (default: the one that came with qmx44) in the component folder",
              "PLUGIN\tthe component's plug-in file; it must be built for this version of qmx44", registerComponent);
QMX44_COMMAND("unregister", "[PROGID]",
              "removes the component serving PROGID (default QMX44.Pantalla) from the component folder",
              "PROGID\tthe programmatic identifier the component serves", unregisterComponent);

} // namespace qmx44::apps
