// `qmx44 script [--db CONNECTION] [--demo] [--today YYYY-MM-DD] [FILE]`: the headless
// host. Runs a scenario script (FILE, or standard input when FILE is absent or "-")
// against the screen loaded by its programmatic identifier; the language is in
// docs/scenario-runner.md.
#include "apps/cli.h"
#include "apps/command.h"
#include "apps/host_setup.h"
#include "apps/script/script_runner.h"
#include "platform/db/open.h"

#include <QDate>
#include <QFile>
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

    try {
        script::ScriptHost host(options);
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

QMX44_COMMAND("script", "[--db CONNECTION] [--demo] [--today YYYY-MM-DD] [FILE]",
              "runs a scenario script against the screen, headless (FILE or standard input; see "
              "docs/scenario-runner.md)",
              "--db CONNECTION\tthe database (a new or older one gets the schema); without it a fresh "
              "in-memory SQLite database, gone at the end of the run\n"
              "--demo\tloads the demo company into the database, which must be empty\n"
              "--today YYYY-MM-DD\tfixes the working date (default: today)\n"
              "FILE\tthe script; standard input when it is absent or -",
              runScript);

} // namespace qmx44::apps
