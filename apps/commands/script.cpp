// `qmx44 script [--db CONNECTION] [--demo] [--user USER] [--today YYYY-MM-DD] [FILE]`: the headless
// host. Runs a scenario script (FILE, or standard input when FILE is absent or "-")
// against the screen loaded by its programmatic identifier; the language is in
// docs/scenario-runner.md.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/gui/widget_driver.h"
#include "apps/host_setup.h"
#include "apps/script/script_runner.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <fstream>
#include <iostream>

namespace qmx44::apps {

namespace {

int runScript(const QStringList &arguments)
{
    QStringList args = arguments;
    script::HostOptions options;
    options.connection = takeOption(args, QStringLiteral("db"));
    options.demo = takeFlag(args, QStringLiteral("demo"));
    const auto user = takeOption(args, QStringLiteral("user"));
    const bool widgets = takeFlag(args, QStringLiteral("widgets"));
    const auto shots = takeOption(args, QStringLiteral("shots"));
    if (shots && !widgets)
        throw UsageError{QStringLiteral("--shots takes the pictures of the widget driver: give --widgets too")};
    options.builtComponent = builtComponent();
    if (const auto today = takeOption(args, QStringLiteral("today"))) {
        static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        const QDate d = QDate::fromString(*today, Qt::ISODate);
        if (!shape.match(*today).hasMatch() || !d.isValid())
            throw UsageError{QStringLiteral("--today takes a date YYYY-MM-DD, not '%1'").arg(*today)};
        options.today = d;
    }
    // "-" is standard input, not an option.
    const bool stdinDash = args.size() == 1 && args.first() == u"-";
    if (!stdinDash)
        rejectUnknownOptions(args);
    if (args.size() > 1)
        throw UsageError{QStringLiteral("unexpected argument %1").arg(args.at(1))};
    const QString file = args.isEmpty() || stdinDash ? QString() : args.first();

    std::ifstream stream;
    if (!file.isEmpty()) {
        stream.open(QFile::encodeName(file).toStdString(), std::ios::binary);
        if (!stream) {
            printError(QStringLiteral("script"), QStringLiteral("cannot read %1").arg(file));
            return kExitFailure;
        }
    }
    std::istream &in = file.isEmpty() ? std::cin : stream;

    // A site's database (not in memory, not a file made now, not an empty one the demo
    // goes into): someone signs in, as the desktop application would have them.
    if (options.connection && !options.demo) {
        db::ConnectionSpec spec;
        try {
            spec = db::parseConnectionString(*options.connection);
        } catch (const RuntimeError &) {
        }
        const bool madeNow = spec.backend == db::Backend::Sqlite && (spec.inMemory() || !QFileInfo::exists(spec.path));
        if (!madeNow) {
            HeadlessCredentials credentials;
            auto started = startOn(*options.connection, {user, /*signIn=*/true, /*usersNeeded=*/true}, credentials);
            if (!started)
                return kExitFailure;
            options.database = std::move(started->database);
            options.user = started->user;
        }
    }
    if (user && !options.database)
        throw UsageError{QStringLiteral("--user names who signs in to a site's database; a new demo or in-memory "
                                        "database takes its user from the script's user line")};
    try {
        script::ScriptHost host(options);
        if (widgets) {
            gui::WidgetDriver driver(host, shots.value_or(QString()));
            script::ScriptRunner runner(host, driver);
            const int status = runner.run(in);
            for (const QString &picture : driver.shots())
                printError(QStringLiteral("script"), QStringLiteral("wrote %1").arg(picture));
            return status;
        }
        script::ScriptRunner runner(host);
        return runner.run(in);
    } catch (const db::OpenError &e) {
        throw startFailure(e, options.connection.value_or(QStringLiteral(":memory:")));
    } catch (const script::HostError &e) {
        printError(QStringLiteral("script"), e.text);
        return kExitFailure;
    }
}

} // namespace

QMX44_COMMAND("script",
              "[--db CONNECTION] [--demo] [--user USER] [--today YYYY-MM-DD] [--widgets [--shots FOLDER]] [FILE]",
              "runs a scenario script against the screen, headless (FILE or standard input; see "
              "docs/scenario-runner.md)",
              "--db CONNECTION\tthe database (a new or older one gets the schema); without it a fresh "
              "in-memory SQLite database, gone at the end of the run\n"
              "--demo\tloads the demo company into the database, which must be empty\n"
              "--user USER\ton a site's database, who signs in (on a server, the login's own user; an SQLite "
              "file's password from $QMX44_PASSWORD)\n"
              "--today YYYY-MM-DD\tfixes the working date (default: today)\n"
              "--widgets\tworks the desktop application's windows with key and mouse events instead of the "
              "screen's models (offscreen without a display)\n"
              "--shots FOLDER\twhere the widget driver writes the pictures of shot lines\n"
              "FILE\tthe script; standard input when it is absent or -",
              runScript);

} // namespace qmx44::apps
