// `qmx44 init-db [--demo] CONNECTION`: creates or upgrades a database's schema and, with
// --demo, loads the demo company into it.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/host_setup.h"
#include "platform/db/admin.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"

namespace qmx44::apps {

namespace {

int initDb(const QStringList &arguments)
{
    QStringList args = arguments;
    const bool demo = takeFlag(args, QStringLiteral("demo"));
    rejectUnknownOptions(args);
    if (args.size() != 1 || args[0].isEmpty())
        throw UsageError{args.isEmpty() ? QStringLiteral("CONNECTION is missing")
                                        : QStringLiteral("too many arguments")};
    db::InitReport report;
    try {
        report = db::initDatabase(args[0], demo);
    } catch (const db::OpenError &e) {
        throw startFailure(e, args[0]);
    }
    // Named without its password.
    const QString name = db::parseConnectionString(args[0]).display();
    QString text = report.versionBefore == 0
        ? QStringLiteral("%1: schema version %2 created").arg(name).arg(report.versionAfter)
        : report.versionBefore == report.versionAfter
        ? QStringLiteral("%1: schema version %2, up to date").arg(name).arg(report.versionAfter)
        : QStringLiteral("%1: schema upgraded from version %2 to %3")
              .arg(name)
              .arg(report.versionBefore)
              .arg(report.versionAfter);
    if (report.demoLoaded)
        text += QStringLiteral("; demo company loaded");
    printOut(text);
    return kExitOk;
}

} // namespace

QMX44_COMMAND("init-db", "[--demo] CONNECTION",
              "creates or upgrades the database's schema; --demo also loads the demo company",
              "CONNECTION\tthe database: an SQLite file (created when missing), a PostgreSQL URL or odbc:DSN\n"
              "--demo\tloads the demo company; the database must hold no documents and no catalogue rows",
              initDb);

} // namespace qmx44::apps
