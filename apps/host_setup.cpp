#include "apps/host_setup.h"

#include "apps/cli.h"
#include "apps/command.h"
#include "component/prog_id.h"
#include "platform/db/admin.h"
#include "platform/db/clerks.h"
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

std::optional<Credentials::LoginPassword> HeadlessCredentials::userPassword(const QString &, const QString &preset,
                                                                            const QString &problem)
{
    // Asked again means the first answer was wrong: there is no other.
    if (!problem.isEmpty() || preset.isEmpty() || !qEnvironmentVariableIsSet("QMX44_PASSWORD"))
        return std::nullopt;
    return LoginPassword{preset, qEnvironmentVariable("QMX44_PASSWORD")};
}

namespace {

// libpq's words when the server wants a password it was not given, or refused the one given.
bool passwordRefused(const QString &text)
{
    return text.contains(QLatin1String("no password supplied"))
        || text.contains(QLatin1String("password authentication failed"));
}

constexpr int kPasswordAttempts = 3;

StartFailure signInFailure(const QString &problem, const QString &advice)
{
    return StartFailure{kExitUnknownUser, problem, advice};
}

// The user the session's login is mapped to, checked against --user.
QString serverUser(db::Conexion &database, const db::ConnectionSpec &spec, const StartOptions &options)
{
    const std::optional<QString> mapped = db::mappedUser(database);
    const QString login = db::sessionLogin(database);
    if (!mapped) {
        if (!options.signIn && !options.user)
            return QString();
        throw signInFailure(
            QStringLiteral("The login %1 of %2 is not mapped to a qmx44 user.").arg(login, spec.display()),
            QStringLiteral("An administrator maps it with: qmx44 user add %1 USER --db %2").arg(login, spec.display()));
    }
    if (options.user && *options.user != *mapped)
        throw signInFailure(
            QStringLiteral("The login %1 signs in as %2, not as %3.").arg(login, *mapped, *options.user),
            QStringLiteral("On a server the user is the one mapped to the login: leave --user out, "
                           "or connect as the login of %1.")
                .arg(*options.user));
    return *mapped;
}

// An SQLite file that is not a demo: the user's password against its stored hash.
std::optional<QString> passwordUser(db::Conexion &database, const std::vector<db::UserRow> &users,
                                    const db::ConnectionSpec &spec, const StartOptions &options,
                                    Credentials &credentials)
{
    // A user of the file who cannot sign in yet is told so, before a password is asked.
    const auto refuseWithoutPassword = [&](const QString &user) {
        const bool known = std::any_of(users.begin(), users.end(), [&](const db::UserRow &u) { return u.key == user; });
        if (known && !db::hasPassword(database, user))
            throw signInFailure(QStringLiteral("The user %1 of %2 has no password yet.").arg(user, spec.display()),
                                QStringLiteral("An administrator sets it with: qmx44 user passwd %1 --db %2")
                                    .arg(user, spec.display()));
    };
    if (options.user)
        refuseWithoutPassword(*options.user);
    QString problem;
    QString user = options.user.value_or(QString()); // asked again, the user already typed
    for (int attempt = 0; attempt < kPasswordAttempts; ++attempt) {
        const auto given = credentials.userPassword(spec.display(), user, problem);
        if (!given) {
            if (credentials.interactive())
                return std::nullopt;
            if (!problem.isEmpty())
                break;
            throw signInFailure(QStringLiteral("The database %1 asks for a user and password.").arg(spec.display()),
                                QStringLiteral("Name the user with --user and give the password in QMX44_PASSWORD."));
        }
        user = given->login.trimmed();
        if (db::checkPassword(database, user, given->password))
            return user;
        refuseWithoutPassword(user);
        problem = QStringLiteral("Usuario o contraseña incorrectos.");
    }
    throw signInFailure(
        QStringLiteral("Wrong user or password for %1.").arg(spec.display()),
        QStringLiteral("Check them, or ask an administrator to set the password with qmx44 user passwd."));
}

} // namespace

std::optional<Started> startOn(const QString &connection, const StartOptions &options, Credentials &credentials)
{
    db::ConnectionSpec spec;
    try {
        spec = db::parseConnectionString(connection);
    } catch (const RuntimeError &e) {
        throw startFailure(db::OpenError(db::OpenFailure::Unreachable, e.description()), connection);
    }
    const bool sqliteFile = spec.backend == db::Backend::Sqlite && !spec.inMemory();
    const bool defaultDemo =
        sqliteFile && QFileInfo(spec.path).absoluteFilePath() == QFileInfo(defaultDatabase()).absoluteFilePath();
    // The default demo database's folder is ours to make; any other missing folder is
    // a mistake in the connection string and is refused.
    if (defaultDemo)
        QDir().mkpath(QFileInfo(spec.path).absolutePath());
    const bool newFile = sqliteFile && !QFileInfo::exists(spec.path);

    Started started;
    started.newFile = newFile;
    // A server that wants a password the connection did not carry: asked for, and tried
    // again, a few times.
    for (int attempt = 0;; ++attempt) {
        try {
            started.database = db::open(spec.toString(), db::OpenMode::Start);
            break;
        } catch (const db::OpenError &e) {
            if (spec.backend != db::Backend::Postgres || !passwordRefused(e.description()))
                throw startFailure(e, connection);
            const auto given = attempt < kPasswordAttempts
                ? credentials.serverLogin(spec.display(), spec.user, e.description())
                : std::nullopt;
            if (given) {
                spec.user = given->login;
                spec.password = given->password;
                continue;
            }
            if (credentials.interactive() && attempt < kPasswordAttempts)
                return std::nullopt;
            throw signInFailure(
                QStringLiteral("The server of %1 refused the login %2: %3")
                    .arg(spec.display(), spec.user, e.description()),
                QStringLiteral("Give the login's password in the connection string, PGPASSWORD or ~/.pgpass."));
        }
    }
    db::Conexion &database = *started.database;
    try {
        // Only a new SQLite file gets the demo company; a server's database is made with init-db.
        if (newFile)
            db::loadDemo(database);

        const std::vector<db::UserRow> users = db::databaseUsers(database);
        if (options.usersNeeded && users.empty())
            throw signInFailure(
                QStringLiteral("The database %1 has no users, so nobody can sign in.").arg(spec.display()),
                QStringLiteral("Add the clerks to its Usuario table."));
        const auto known = [&](const QString &key) {
            return std::any_of(users.begin(), users.end(), [&](const db::UserRow &u) { return u.key == key; });
        };

        if (spec.backend == db::Backend::Postgres) {
            started.user = serverUser(database, spec, options);
        } else if (spec.backend == db::Backend::Odbc || defaultDemo || newFile || db::isDemoDatabase(database)) {
            if (options.user && !known(*options.user))
                throw signInFailure(
                    QStringLiteral("The database %1 has no user %2.").arg(spec.display(), *options.user),
                    QStringLiteral("Name one of its users, or leave --user out to choose one."));
            if (options.user) {
                started.user = *options.user;
            } else if (options.signIn) {
                const auto picked = credentials.pickUser(database);
                if (!picked) {
                    if (credentials.interactive())
                        return std::nullopt;
                    throw signInFailure(QStringLiteral("Nobody signs in to %1.").arg(spec.display()),
                                        QStringLiteral("Name the user with --user."));
                }
                started.user = *picked;
            }
        } else if (options.signIn || options.user) {
            const auto user = passwordUser(database, users, spec, options, credentials);
            if (!user)
                return std::nullopt;
            started.user = *user;
        }
    } catch (const StartFailure &) {
        // What this start made goes again.
        started.database.reset();
        if (newFile)
            db::removeSqliteFiles(spec.path);
        throw;
    }
    return started;
}

bool componentFound(const QString &command, host::ScreenSession &screen)
{
    if (screen.registry())
        return true;
    printError(command, screen.missingComponent() + QStringLiteral("; run qmx44 register PLUGIN"));
    return false;
}

} // namespace qmx44::apps
