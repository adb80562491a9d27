#include "apps/host_setup.h"

#include "apps/cli.h"
#include "apps/command.h"
#include "apps/gui/sign_in.h"
#include "component/prog_id.h"
#include "platform/db/admin.h"
#include "platform/db/connection_string.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace qmx44::apps {

namespace {

QString whereConfigured()
{
    return QStringLiteral("the connection given by --db, $QMX44_DB or the configuration file %1")
        .arg(configurationFile());
}

} // namespace

StartFailure startFailure(const db::OpenError &error, const QString &connection)
{
    const QString name = displayedConnection(connection);
    switch (error.failure()) {
    case db::OpenFailure::Unreachable:
        return {kExitUnreachable, error.description(),
                QStringLiteral("qmx44 cannot reach the database %1. Check %2, and %3.")
                    .arg(name,
                         name.startsWith(QLatin1String("sqlite:"))
                             ? QStringLiteral("that the file is a qmx44 database and its folder exists")
                             : QStringLiteral("that its server is running and can be reached"),
                         whereConfigured())};
    case db::OpenFailure::NoSchema:
        return {kExitSchema, error.description(),
                QStringLiteral("The database %1 has no qmx44 tables yet. Create them with: qmx44 init-db %1 "
                               "(with --demo for the demo company).")
                    .arg(name)};
    case db::OpenFailure::NotOurs:
        return {kExitSchema, error.description(),
                QStringLiteral("The database %1 is not a qmx44 database. Check %2.").arg(name, whereConfigured())};
    case db::OpenFailure::Newer:
        return {kExitSchema, error.description(),
                QStringLiteral("The database %1 was made by a newer qmx44 than this one (%2). Install the newer "
                               "qmx44.")
                    .arg(name, QStringLiteral(QMX44_VERSION))};
    }
    return {kExitFailure, error.description(), QString()};
}

std::unique_ptr<db::Conexion> prepareDatabase(const QString &connection, const std::optional<QString> &user,
                                              bool usersNeeded)
{
    db::ConnectionSpec spec;
    try {
        spec = db::parseConnectionString(connection);
    } catch (const RuntimeError &e) {
        throw startFailure(db::OpenError(db::OpenFailure::Unreachable, e.description()), connection);
    }
    const bool sqliteFile = spec.backend == db::Backend::Sqlite && !spec.inMemory();
    // The default demo database's folder is ours to make; any other missing folder is
    // a mistake in the connection string and is refused.
    if (sqliteFile && QFileInfo(spec.path).absoluteFilePath() == QFileInfo(defaultDatabase()).absoluteFilePath())
        QDir().mkpath(QFileInfo(spec.path).absolutePath());
    const bool newFile = sqliteFile && !QFileInfo::exists(spec.path);

    std::unique_ptr<db::Conexion> database;
    try {
        database = db::open(connection, db::OpenMode::Start);
    } catch (const db::OpenError &e) {
        throw startFailure(e, connection);
    }
    // Only a new SQLite file gets the demo company; a server's database is made with init-db.
    if (newFile)
        db::loadDemo(*database);

    const std::vector<gui::UserRow> users = gui::databaseUsers(*database);
    const auto known = [&](const QString &key) {
        return std::any_of(users.begin(), users.end(), [&](const gui::UserRow &u) { return u.key == key; });
    };
    std::optional<StartFailure> refused;
    if (user && !known(*user))
        refused =
            StartFailure{kExitUnknownUser, QStringLiteral("The database %1 has no user %2.").arg(spec.display(), *user),
                         QStringLiteral("Name one of its users, or leave --user out to choose one.")};
    else if (usersNeeded && users.empty())
        refused =
            StartFailure{kExitUnknownUser,
                         QStringLiteral("The database %1 has no users, so nobody can sign in.").arg(spec.display()),
                         QStringLiteral("Add the clerks to its Usuario table.")};
    if (refused) {
        // What this start made goes again.
        database.reset();
        if (newFile)
            db::removeSqliteFiles(spec.path);
        throw *refused;
    }
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
