// `qmx44 run [--db CONNECTION] [--user USER]`: the product's main job on a database. For
// now it prepares the database (the demo company in a new SQLite file), finds the screen
// component (registered, or the one that came with qmx44), loads it by its identifier,
// opens the screen and prints a short summary of both.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/host_setup.h"
#include "component/prog_id.h"
#include "platform/controls/form.h"
#include "platform/db/admin.h"
#include "platform/db/connection_string.h"
#include "platform/services/sistema.h"

namespace qmx44::apps {

namespace {

// Coded messages of a headless run go to the console.
class ConsoleMessageSink : public MessageSink {
public:
    int show(const Message &m) override
    {
        printError(QStringLiteral("run"), QStringLiteral("[%1] %2 (%3)").arg(m.title, m.text, m.id));
        return 1;
    }
};

qint64 countRows(db::Conexion &c, const QString &table)
{
    auto rs = c.query(QStringLiteral("SELECT COUNT(*) AS n FROM %1").arg(table));
    return rs->eof() ? 0 : rs->field(QStringLiteral("n")).toLongLong();
}

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    const auto dbOption = takeOption(args, QStringLiteral("db"));
    const auto user = takeOption(args, QStringLiteral("user"));
    rejectUnknownOptions(args);
    if (!args.isEmpty())
        throw UsageError{QStringLiteral("unexpected argument %1").arg(args.first())};
    const QString connection = resolveConnection(dbOption);

    // 1. The database first: bad input stops here, before the component folder is touched.
    HeadlessCredentials credentials;
    auto started = startOn(connection, {user, /*signIn=*/false, /*usersNeeded=*/false}, credentials);
    if (!started)
        return kExitFailure;
    std::shared_ptr<db::Conexion> database(std::move(started->database));
    const QString signedIn = started->user;
    const db::DatabaseSummary summary = db::summarize(*database);

    auto context = host::makePlatformContext(database, signedIn);
    context->session->setMessageSink(std::make_shared<ConsoleMessageSink>());
    QString userLine;
    if (!signedIn.isEmpty()) {
        services::Sistema system(context->session);
        const QString branch = system.Sucursal(), warehouse = system.Almacen();
        userLine = QStringLiteral("  user %1: branch %2, warehouse %3")
                       .arg(signedIn, branch.isEmpty() ? QStringLiteral("any") : branch,
                            warehouse.isEmpty() ? QStringLiteral("any") : warehouse);
    }

    // 2. The component: the registered one, else the one that came with qmx44.
    host::ScreenSession screen(context, component::ProgId, builtComponent());
    if (!componentFound(QStringLiteral("run"), screen))
        return kExitFailure;
    const auto entry = screen.registry()->find(component::ProgId);

    // 3. The screen, as a host gets it.
    host::MainForm *form = screen.open();
    if (!form) {
        printError(QStringLiteral("run"), QStringLiteral("the component %1 gave no screen").arg(entry->file));
        return kExitFailure;
    }

    QString text;
    text += QStringLiteral("Database %1\n").arg(db::parseConnectionString(connection).display());
    text += QStringLiteral("  schema version %1\n").arg(summary.schemaVersion);
    text += QStringLiteral("  branches %1, suppliers %2, products %3\n")
                .arg(countRows(*database, QStringLiteral("Sucursal")))
                .arg(summary.suppliers)
                .arg(summary.products);
    text += QStringLiteral("  purchases %1 (%2 lines), credit notes %3 (%4 cancelled)\n")
                .arg(summary.purchases)
                .arg(summary.purchaseLines)
                .arg(summary.notes)
                .arg(summary.cancelledNotes);
    if (!userLine.isEmpty())
        text += userLine + u'\n';
    text += QStringLiteral("Component %1\n").arg(component::ProgId);
    text += QStringLiteral("  file %1\n").arg(entry->file);
    text += QStringLiteral("  module %1\n").arg(screen.screen()->Modulo().toString());
    text +=
        QStringLiteral("  screen \"%1\" (%2)")
            .arg(form->form().caption(), form->isLoaded() ? QStringLiteral("loaded") : QStringLiteral("not loaded"));
    printOut(text);
    form->unload();
    return kExitOk;
}

} // namespace

QMX44_COMMAND("run", "[--db CONNECTION] [--user USER]",
              "opens the screen on the database (the demo one, created when missing) and prints a summary",
              "--db CONNECTION\tthe database (default: $QMX44_DB, the configuration file, then the demo "
              "database)\n"
              "--user USER\talso shows USER's branch and warehouse (a user the database does not know is "
              "refused)",
              run);

} // namespace qmx44::apps
