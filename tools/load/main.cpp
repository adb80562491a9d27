// qmx44_load: many clerks at once on one database, then the checks of what they left.
//
//   qmx44_load (--db CONNECTION | --server ADMIN-URL) [--clerks N] [--rebate-clerks R] [--seconds T]
//              [--kill-clerks K | --restart-server COMMAND [--restarts R]]
//              [--qmx44 PATH] [--markdown FILE]
//
// --db names a new or empty database (an SQLite file, with ?busy_timeout=MS so that the
// clerks' processes wait for each other, or a PostgreSQL database); --server is a
// PostgreSQL server's administrative URL, on which a database of the run's own is
// created and dropped at the end. The database gets the schema, the demo company and
// the shared purchases (load_data.h); N clerks (clerk.h) and R rebate clerks
// (rebate_clerk.h, 2 by default) work on it for T seconds. Then
// the figures, the messages by kind and the invariant checks (invariants.h) are printed.
// With --kill-clerks the clerks work until K of them were killed (each replaced by a new
// one); with --restart-server until the server was crashed or stopped and started again
// R times (faults.h), in both modes without rebate clerks. A killed clerk, and a lost connection while the server
// restarts, are counted apart and are no error. Exit status: 0 when nothing was violated and every message was one the
// load provokes on purpose, 1 otherwise, 2 on a wrong command line.
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "tools/load/clerk.h"
#include "tools/load/faults.h"
#include "tools/load/invariants.h"
#include "tools/load/load_data.h"
#include "tools/load/rebate_clerk.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

using namespace qmx44;

namespace {

void out(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

double percentile(std::vector<double> sorted, double p)
{
    if (sorted.empty())
        return 0;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = size_t(std::ceil(p / 100.0 * double(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

QString cpuModel()
{
    QFile f(QStringLiteral("/proc/cpuinfo"));
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray &line : f.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    return QSysInfo::currentCpuArchitecture();
}

QString serverVersion(db::Conexion &c)
{
    try {
        if (c.backend() == db::Backend::Postgres) {
            auto rs = c.query(QStringLiteral("SHOW server_version"));
            return QStringLiteral("PostgreSQL ")
                + rs->field(QStringLiteral("server_version")).toString().section(QLatin1Char(' '), 0, 0);
        }
        auto rs = c.query(QStringLiteral("SELECT sqlite_version() AS v"));
        return QStringLiteral("SQLite ") + rs->field(QStringLiteral("v")).toString();
    } catch (const RuntimeError &) {
        return QStringLiteral("unknown");
    }
}

// A database of the run's own on the server of `adminUrl`.
QString createServerDatabase(const QString &adminUrl, QString &name)
{
    db::ConnectionSpec spec = db::parseConnectionString(adminUrl);
    if (spec.backend != db::Backend::Postgres)
        throw RuntimeError(QStringLiteral("--server takes a postgresql:// URL"));
    name = QStringLiteral("qmx44_load_%1").arg(QCoreApplication::applicationPid());
    auto admin = db::open(adminUrl, db::OpenMode::Raw);
    if (!admin->query(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {name})->eof())
        admin->run(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name));
    admin->run(QStringLiteral("CREATE DATABASE %1").arg(name));
    spec.database = name;
    return spec.toString();
}

void dropServerDatabase(const QString &adminUrl, const QString &name)
{
    try {
        db::open(adminUrl, db::OpenMode::Raw)->run(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name));
    } catch (const RuntimeError &e) {
        out(QStringLiteral("could not drop database %1: %2").arg(name, e.description()));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Many clerks at once on one database, then the checks."));
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("a new or empty database"),
                                      QStringLiteral("CONNECTION"));
    const QCommandLineOption serverOption(
        QStringLiteral("server"), QStringLiteral("a PostgreSQL server's administrative URL"), QStringLiteral("URL"));
    const QCommandLineOption clerksOption(QStringLiteral("clerks"), QStringLiteral("clerks at once"),
                                          QStringLiteral("N"), QStringLiteral("16"));
    const QCommandLineOption rebateClerksOption(QStringLiteral("rebate-clerks"),
                                                QStringLiteral("clerks granting volume rebates at once"),
                                                QStringLiteral("R"), QStringLiteral("2"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("how long they work"),
                                           QStringLiteral("T"), QStringLiteral("60"));
    const QCommandLineOption programOption(QStringLiteral("qmx44"), QStringLiteral("the qmx44 executable"),
                                           QStringLiteral("PATH"), QStringLiteral(QMX44_EXECUTABLE));
    const QCommandLineOption markdownOption(
        QStringLiteral("markdown"), QStringLiteral("writes the figures as a markdown table"), QStringLiteral("FILE"));
    const QCommandLineOption killOption(QStringLiteral("kill-clerks"),
                                        QStringLiteral("kills K clerks at random moments, then ends"),
                                        QStringLiteral("K"));
    const QCommandLineOption restartOption(
        QStringLiteral("restart-server"),
        QStringLiteral("restarts the server under the clerks with COMMAND kill|stop|start, then ends"),
        QStringLiteral("COMMAND"));
    const QCommandLineOption restartsOption(QStringLiteral("restarts"), QStringLiteral("server restarts"),
                                            QStringLiteral("R"), QStringLiteral("4"));
    parser.addOptions({dbOption, serverOption, clerksOption, rebateClerksOption, secondsOption, killOption,
                       restartOption, restartsOption, programOption, markdownOption});
    parser.process(app);
    bool clerksOk = false, rebateClerksOk = false, secondsOk = false, killsOk = true, restartsOk = false;
    const int clerks = parser.value(clerksOption).toInt(&clerksOk);
    int rebateClerks = parser.value(rebateClerksOption).toInt(&rebateClerksOk);
    const int seconds = parser.value(secondsOption).toInt(&secondsOk);
    const int kills = parser.isSet(killOption) ? parser.value(killOption).toInt(&killsOk) : 0;
    const int restarts = parser.value(restartsOption).toInt(&restartsOk);
    const bool restarting = parser.isSet(restartOption);
    if (parser.isSet(dbOption) == parser.isSet(serverOption) || !clerksOk || clerks < 1 || !rebateClerksOk
        || rebateClerks < 0 || !secondsOk || seconds < 1 || !killsOk || kills < 0 || !restartsOk || restarts < 1
        || (kills > 0 && restarting)) {
        std::fputs("qmx44_load: give --db or --server, positive --clerks, --seconds, --kill-clerks and --restarts, "
                   "--rebate-clerks of 0 or more, and at most one of --kill-clerks and --restart-server\n",
                   stderr);
        return 2;
    }

    QString connection = parser.value(dbOption), serverDatabase, clerkConnection;
    load::SharedPurchases purchases;
    QString backend;
    try {
        if (parser.isSet(serverOption))
            connection = createServerDatabase(parser.value(serverOption), serverDatabase);
        purchases = load::prepareDatabase(connection);
        clerkConnection = load::clerkConnection(connection);
        backend = serverVersion(*db::open(connection, db::OpenMode::Existing));
    } catch (const RuntimeError &e) {
        std::fprintf(stderr, "qmx44_load: %s\n", qPrintable(e.description()));
        return 1;
    }
    // The faults strike the screen's clerks only: rebate clerks work in the timed run.
    if (kills > 0 || restarting)
        rebateClerks = 0;
    const QString howLong = kills > 0 ? QStringLiteral("until %1 were killed").arg(kills)
        : restarting                  ? QStringLiteral("until the server restarted %1 times").arg(restarts)
                                      : QStringLiteral("for %1 s").arg(seconds);
    out(QStringLiteral("%1 clerks and %2 rebate clerks %3 on %4 (%5)")
            .arg(clerks)
            .arg(rebateClerks)
            .arg(howLong, backend, db::parseConnectionString(connection).display()));

    // The clerks run the screen component built with the executable, on the offscreen
    // platform, each printing into a runtime folder of the run's own.
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    if (!environment.contains(QStringLiteral("QMX44_COMPONENT_PATH")))
        environment.insert(QStringLiteral("QMX44_COMPONENT_PATH"), QStringLiteral(QMX44_COMPONENT_DIR));
    // Under faults a clerk that waits 30 s for an answer is stuck.
    const load::Clerk::Setup setup{parser.value(programOption),
                                   clerkConnection,
                                   purchases.folios,
                                   purchases.rowsEach,
                                   environment,
                                   restarting,
                                   kills > 0 || restarting ? 30000 : 120000};

    const load::RebateClerk::Setup rebateSetup{parser.value(programOption), clerkConnection,
                                               purchases.suppliers,         purchases.date.addDays(-6),
                                               purchases.date.addDays(1),   environment};

    load::Tally tally;
    std::vector<std::unique_ptr<load::Clerk>> team;
    std::vector<std::unique_ptr<load::RebateClerk>> rebaters;
    int running = 0, replaced = 0;
    bool over = false;
    QElapsedTimer clock;
    double elapsed = 0;
    const auto stopAll = [&] {
        if (over)
            return;
        over = true;
        elapsed = double(clock.elapsed()) / 1000.0;
        for (auto &clerk : team)
            clerk->stop();
        for (auto &clerk : rebaters)
            clerk->stop();
        if (running == 0)
            app.quit();
    };
    load::ClerkKiller killer(kills, [&team](QRandomGenerator &random) -> load::Clerk * {
        // Those that opened the screen, when there are any.
        std::vector<load::Clerk *> live, working;
        for (auto &clerk : team)
            if (!clerk->done())
                (clerk->working() ? working : live).push_back(clerk.get());
        if (!working.empty())
            live.swap(working);
        return live.empty() ? nullptr : live[random.bounded(quint32(live.size()))];
    });
    QObject::connect(&killer, &load::ClerkKiller::finished, &app, stopAll);
    load::ServerRestarter restarter(parser.value(restartOption), restarts);
    QObject::connect(&restarter, &load::ServerRestarter::finished, &app, stopAll);

    // A clerk killed (or cut off by the server's restart) is replaced by a new one.
    std::function<void()> hire = [&] {
        if (over) {
            if (running == 0)
                app.quit();
            return;
        }
        team.push_back(std::make_unique<load::Clerk>(int(team.size()) + 1, setup, tally));
        load::Clerk *clerk = team.back().get();
        ++running;
        QObject::connect(clerk, &load::Clerk::killed, &killer, &load::ClerkKiller::clerkKilled);
        QObject::connect(clerk, &load::Clerk::finished, &app, [&, clerk] {
            --running;
            if (clerk->replaceable() && !over) {
                ++replaced;
                // While the server is down a new clerk could not connect: give it time.
                QTimer::singleShot(restarting ? 300 : 0, &app, hire);
            } else if (running == 0 && over) {
                app.quit();
            }
        });
        clerk->start();
    };
    clock.start();
    for (int i = 1; i <= clerks; ++i)
        hire();
    for (int i = 1; i <= rebateClerks; ++i) {
        rebaters.push_back(std::make_unique<load::RebateClerk>(i, rebateSetup, tally));
        ++running;
        QObject::connect(rebaters.back().get(), &load::RebateClerk::finished, &app, [&] {
            if (--running == 0 && over)
                app.quit();
        });
        rebaters.back()->start();
    }
    if (kills > 0)
        killer.start();
    else if (restarting)
        restarter.start();
    else
        QTimer::singleShot(seconds * 1000, &app, stopAll);
    app.exec();
    const double wall = double(clock.elapsed()) / 1000.0;
    team.clear();
    rebaters.clear();

    // The figures.
    const double rate = elapsed > 0 ? tally.notesSaved / elapsed : 0;
    const double p50 = percentile(tally.saveMilliseconds, 50), p95 = percentile(tally.saveMilliseconds, 95),
                 p99 = percentile(tally.saveMilliseconds, 99);
    out(QStringLiteral("notes saved: %1 (%2/s); save latency p50 %3 ms, p95 %4 ms, p99 %5 ms (%6 saves); "
                       "all clerks done after %7 s")
            .arg(tally.notesSaved)
            .arg(rate, 0, 'f', 2)
            .arg(p50, 0, 'f', 0)
            .arg(p95, 0, 'f', 0)
            .arg(p99, 0, 'f', 0)
            .arg(tally.saveMilliseconds.size())
            .arg(wall, 0, 'f', 1));
    if (rebateClerks > 0)
        out(QStringLiteral("rebates: %1 notes granted; a `qmx44 rebate` process p50 %2 ms, p95 %3 ms (%4 runs)")
                .arg(tally.rebateNotes)
                .arg(percentile(tally.rebateMilliseconds, 50), 0, 'f', 0)
                .arg(percentile(tally.rebateMilliseconds, 95), 0, 'f', 0)
                .arg(tally.rebateMilliseconds.size()));
    out(QStringLiteral("operations:"));
    for (const auto &[name, count] : tally.operations)
        out(QStringLiteral("  %1: %2").arg(name).arg(count));
    out(QStringLiteral("expected refusals:"));
    for (const auto &[name, count] : tally.expected)
        out(QStringLiteral("  %1: %2").arg(name).arg(count));
    if (kills > 0) {
        out(QStringLiteral("clerks killed: %1 (replaced: %2), by the step in flight:")
                .arg(killer.kills())
                .arg(replaced));
        for (const auto &[step, count] : tally.kills)
            out(QStringLiteral("  %1: %2").arg(step).arg(count));
    }
    if (restarting) {
        out(QStringLiteral("server restarts: %1 of %2 (clerks replaced: %3); lost connections:")
                .arg(restarter.restarts())
                .arg(restarts)
                .arg(replaced));
        for (const auto &[kind, count] : tally.connection)
            out(QStringLiteral("  %1: %2").arg(kind).arg(count));
        for (const QString &failure : restarter.failures())
            tally.unexpected(QStringLiteral("server command failed"), failure);
    }
    int unexplained = 0;
    out(QStringLiteral("unexplained errors:%1").arg(tally.unexplained.empty() ? QStringLiteral(" none") : QString()));
    for (const auto &[name, count] : tally.unexplained) {
        unexplained += count;
        out(QStringLiteral("  %1: %2 (first: %3)").arg(name).arg(count).arg(tally.samples[name]));
    }

    // The checks.
    std::vector<load::Violation> violations;
    try {
        violations = load::checkInvariants(*db::open(connection, db::OpenMode::Existing));
    } catch (const RuntimeError &e) {
        violations.push_back(
            {load::ViolationKind::IncompleteNote, QStringLiteral("checks failed: ") + e.description()});
    }
    out(QStringLiteral("invariant violations:%1").arg(violations.empty() ? QStringLiteral(" none") : QString()));
    for (const auto &v : violations)
        out(QStringLiteral("  %1: %2").arg(load::kindName(v.kind), v.rows));

    if (parser.isSet(markdownOption)) {
        QFile md(parser.value(markdownOption));
        if (!md.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "qmx44_load: cannot write %s\n", qPrintable(md.fileName()));
            return 1;
        }
        QStringList refusals, errors;
        for (const auto &[name, count] : tally.expected)
            refusals << QStringLiteral("%1 %2").arg(count).arg(name);
        for (const auto &[name, count] : tally.unexplained)
            errors << QStringLiteral("%1 %2").arg(count).arg(name);
        const QString machine =
            QStringLiteral("%1 × %2, %3, %4")
                .arg(QThread::idealThreadCount())
                .arg(cpuModel(), QSysInfo::prettyProductName(), QDate::currentDate().toString(Qt::ISODate));
        const QString row =
            QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 |")
                .arg(machine, backend)
                .arg(clerks)
                .arg(seconds)
                .arg(tally.notesSaved)
                .arg(rate, 0, 'f', 1)
                .arg(QStringLiteral("%1 / %2 / %3").arg(p50, 0, 'f', 0).arg(p95, 0, 'f', 0).arg(p99, 0, 'f', 0))
                .arg(refusals.isEmpty() ? QStringLiteral("none") : refusals.join(QStringLiteral("; ")))
                .arg(QStringLiteral("%1 | %2")
                         .arg(errors.isEmpty() ? QStringLiteral("none") : errors.join(QStringLiteral("; ")))
                         .arg(violations.size()));
        md.write(QStringLiteral("| machine (nproc × CPU, system, date) | back-end | clerks | seconds | notes saved | "
                                "notes/s | save latency p50 / p95 / p99 (ms) | expected refusals | unexplained "
                                "errors | violations |\n|---|---|--:|--:|--:|--:|--:|---|---|--:|\n%1\n")
                     .arg(row)
                     .toUtf8());
    }

    if (!serverDatabase.isEmpty())
        dropServerDatabase(parser.value(serverOption), serverDatabase);
    return violations.empty() && unexplained == 0 ? 0 : 1;
}
