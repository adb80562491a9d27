#include "apps/host_setup.h"

#include "apps/cli.h"
#include "component/prog_id.h"
#include "platform/db/admin.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"

#include <QDir>
#include <QFileInfo>

namespace qmx44::apps {

std::unique_ptr<db::Conexion> prepareDatabase(const QString &connection)
{
    const db::ConnectionSpec spec = db::parseConnectionString(connection);
    // The default demo database's folder is ours to make; any other missing folder is
    // a mistake in the connection string and is refused.
    if (spec.backend == db::Backend::Sqlite && !spec.inMemory()
        && QFileInfo(spec.path).absoluteFilePath() == QFileInfo(defaultDatabase()).absoluteFilePath())
        QDir().mkpath(QFileInfo(spec.path).absolutePath());
    int versionFound = 0;
    auto database = db::open(connection, db::OpenMode::Upgrade, versionFound);
    // An ODBC source is a site's own server: it is never seeded.
    if (versionFound == 0 && spec.backend != db::Backend::Odbc)
        db::loadDemo(*database);
    return database;
}

std::optional<host::ComponentRegistry::Entry> screenComponent(host::ComponentRegistry &registry, const QString &command)
{
    if (auto entry = registry.find(component::ProgId))
        return entry;
    const QString plugin = builtComponent();
    if (plugin.isEmpty()) {
        printError(command,
                   QStringLiteral("%1 is not registered in %2 and no built "
                                  "component was found; run qmx44 register PLUGIN")
                       .arg(component::ProgId, registry.folder()));
        return std::nullopt;
    }
    return registry.registerComponent(plugin);
}

} // namespace qmx44::apps
