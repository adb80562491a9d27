// `qmx44 user ACTION ...`: who may sign in. On a PostgreSQL server, clerks' logins and the
// qmx44 user each is mapped to; on an SQLite file, its users' passwords.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/host_setup.h"
#include "platform/db/clerks.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace qmx44::apps {

namespace {

// A line of the terminal, not echoed.
std::optional<QString> readHidden(const QString &prompt)
{
    std::fputs(qPrintable(prompt), stderr);
    std::fflush(stderr);
    termios before{};
    const bool terminal = tcgetattr(STDIN_FILENO, &before) == 0;
    if (terminal) {
        termios quiet = before;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
        std::fputs("\n", stderr);
    }
    if (!read)
        return std::nullopt;
    return QString::fromStdString(line);
}

// The new password: the first line of standard input with --password-stdin, else typed
// twice on the terminal.
QString newPassword(bool fromStdin)
{
    if (fromStdin) {
        std::string line;
        if (!std::getline(std::cin, line) || line.empty())
            throw UsageError{QStringLiteral("--password-stdin: standard input gave no password")};
        return QString::fromStdString(line);
    }
    if (!isatty(STDIN_FILENO))
        throw UsageError{QStringLiteral("standard input is not a terminal: give the password with --password-stdin")};
    const auto first = readHidden(QStringLiteral("New password: "));
    const auto again = readHidden(QStringLiteral("The same again: "));
    if (!first || first->isEmpty())
        throw UsageError{QStringLiteral("no password given")};
    if (first != again)
        throw UsageError{QStringLiteral("the two passwords differ; nothing changed")};
    return *first;
}

int user(const QStringList &arguments)
{
    QStringList args = arguments;
    const auto dbOption = takeOption(args, QStringLiteral("db"));
    const bool passwordStdin = takeFlag(args, QStringLiteral("password-stdin"));
    const bool noPassword = takeFlag(args, QStringLiteral("no-password"));
    const bool keepLogin = takeFlag(args, QStringLiteral("keep-login"));
    rejectUnknownOptions(args);
    if (args.isEmpty())
        throw UsageError{QStringLiteral("ACTION is missing (add, disable, enable, remove, list, passwd)")};
    const QString action = args.takeFirst();
    const auto expect = [&](int count, const char *what) {
        if (args.size() != count)
            throw UsageError{QStringLiteral("%1 takes %2").arg(action, QLatin1String(what))};
    };
    const QString connection = resolveConnection(dbOption);
    std::unique_ptr<db::Conexion> database;
    try {
        database = db::open(connection, db::OpenMode::Existing);
    } catch (const db::OpenError &e) {
        throw startFailure(e, connection);
    }
    const QString name = displayedConnection(connection);

    if (action == u"add") {
        expect(2, "LOGIN USER");
        std::optional<QString> password;
        if (!noPassword)
            password = newPassword(passwordStdin);
        db::addClerk(*database, args[0], args[1], password);
        printOut(QStringLiteral("%1: the login %2 signs in as %3").arg(name, args[0], args[1]));
    } else if (action == u"disable" || action == u"enable") {
        expect(1, "LOGIN");
        db::setClerkEnabled(*database, args[0], action == u"enable");
        printOut(QStringLiteral("%1: the login %2 is %3")
                     .arg(name, args[0], action == u"enable" ? QStringLiteral("enabled") : QStringLiteral("disabled")));
    } else if (action == u"remove") {
        expect(1, "LOGIN");
        db::removeClerk(*database, args[0], !keepLogin);
        printOut(QStringLiteral("%1: the login %2 no longer signs in to qmx44").arg(name, args[0]));
    } else if (action == u"list") {
        expect(0, "no arguments");
        for (const db::ClerkLogin &c : db::clerkLogins(*database))
            printOut(QStringLiteral("%1\t%2\t%3")
                         .arg(c.login, c.user, c.canLogIn ? QStringLiteral("enabled") : QStringLiteral("disabled")));
    } else if (action == u"passwd") {
        expect(1, database->backend() == db::Backend::Postgres ? "LOGIN" : "USER");
        const QString password = newPassword(passwordStdin);
        if (database->backend() == db::Backend::Postgres)
            db::setLoginPassword(*database, args[0], password);
        else
            db::setPassword(*database, args[0], password);
        printOut(QStringLiteral("%1: the password of %2 is set").arg(name, args[0]));
    } else {
        throw UsageError{
            QStringLiteral("unknown action '%1' (add, disable, enable, remove, list, passwd)").arg(action)};
    }
    return kExitOk;
}

} // namespace

QMX44_COMMAND("user", "ACTION [ARGS] [--db CONNECTION] [--password-stdin]",
              "who may sign in: clerks' logins of a PostgreSQL server, passwords of an SQLite file's users",
              "add LOGIN USER\tPostgreSQL: creates the login (or takes an existing one), makes it a clerk and maps "
              "it to USER of the Usuario table; asks its password unless --no-password\n"
              "disable LOGIN\tthe login can no longer sign in (its open sessions end); its notes keep its name\n"
              "enable LOGIN\tthe login signs in again\n"
              "remove LOGIN\tthe mapping goes and the login is dropped (--keep-login: only taken out of the clerks)\n"
              "list\tthe mapped logins, their users and whether they can sign in\n"
              "passwd USER\tSQLite: sets USER's password (stored as an Argon2id hash); PostgreSQL: the login's "
              "password\n"
              "--db CONNECTION\tthe database (default: $QMX44_DB, the configuration file, then the demo database); "
              "on a server, an administrator's connection\n"
              "--password-stdin\ttakes the password from the first line of standard input instead of the terminal\n"
              "--no-password\tadd: the login has no password (it signs in by peer or GSS authentication)\n"
              "--keep-login\tremove: keeps the login on the server",
              user);

} // namespace qmx44::apps
