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

std::unique_ptr<host::ComponentRegistry> screenRegistry(const QString &command)
{
    auto registered = std::make_unique<host::ComponentRegistry>();
    if (registered->find(component::ProgId))
        return registered;
    const QString plugin = builtComponent();
    if (!plugin.isEmpty()) {
        auto shipped = std::make_unique<host::ComponentRegistry>(QFileInfo(plugin).absolutePath());
        if (shipped->find(component::ProgId))
            return shipped;
    }
    printError(command,
               QStringLiteral("%1 is not registered in %2 and no component came with qmx44; "
                              "run qmx44 register PLUGIN")
                   .arg(component::ProgId, registered->folder()));
    return nullptr;
}

} // namespace qmx44::apps
