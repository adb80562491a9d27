// qmx44_load: many clerks at once on one database, then the checks of what they left.
//
//   qmx44_load (--db CONNECTION | --server ADMIN-URL) [--clerks N] [--seconds T]
//              [--qmx44 PATH] [--markdown FILE]
//
// --db names a new or empty database (an SQLite file, with ?busy_timeout=MS so that the
// clerks' processes wait for each other, or a PostgreSQL database); --server is a
// PostgreSQL server's administrative URL, on which a database of the run's own is
// created and dropped at the end. The database gets the schema, the demo company and
// the shared purchases (load_data.h); N clerks (clerk.h) work on it for T seconds. Then
// the figures, the messages by kind and the invariant checks (invariants.h) are printed.
// Exit status: 0 when nothing was violated and every message was one the load provokes
// on purpose, 1 otherwise, 2 on a wrong command line.
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "tools/load/clerk.h"
#include "tools/load/invariants.h"
#include "tools/load/load_data.h"

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
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("how long they work"),
                                           QStringLiteral("T"), QStringLiteral("60"));
    const QCommandLineOption programOption(QStringLiteral("qmx44"), QStringLiteral("the qmx44 executable"),
                                           QStringLiteral("PATH"), QStringLiteral(QMX44_EXECUTABLE));
    const QCommandLineOption markdownOption(
        QStringLiteral("markdown"), QStringLiteral("writes the figures as a markdown table"), QStringLiteral("FILE"));
    parser.addOptions({dbOption, serverOption, clerksOption, secondsOption, programOption, markdownOption});
    parser.process(app);
    bool clerksOk = false, secondsOk = false;
    const int clerks = parser.value(clerksOption).toInt(&clerksOk);
    const int seconds = parser.value(secondsOption).toInt(&secondsOk);
    if (parser.isSet(dbOption) == parser.isSet(serverOption) || !clerksOk || clerks < 1 || !secondsOk || seconds < 1) {
        std::fputs("qmx44_load: give --db or --server, and positive --clerks and --seconds\n", stderr);
        return 2;
    }

    QString connection = parser.value(dbOption), serverDatabase;
    load::SharedPurchases purchases;
    QString backend;
    try {
        if (parser.isSet(serverOption))
            connection = createServerDatabase(parser.value(serverOption), serverDatabase);
        purchases = load::prepareDatabase(connection);
        backend = serverVersion(*db::open(connection, db::OpenMode::Existing));
    } catch (const RuntimeError &e) {
        std::fprintf(stderr, "qmx44_load: %s\n", qPrintable(e.description()));
        return 1;
    }
    out(QStringLiteral("%1 clerks for %2 s on %3 (%4)")
            .arg(clerks)
            .arg(seconds)
            .arg(backend, db::parseConnectionString(connection).display()));

    // The clerks run the screen component built with the executable, on the offscreen
    // platform, each printing into a runtime folder of the run's own.
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    if (!environment.contains(QStringLiteral("QMX44_COMPONENT_PATH")))
        environment.insert(QStringLiteral("QMX44_COMPONENT_PATH"), QStringLiteral(QMX44_COMPONENT_DIR));
    const load::Clerk::Setup setup{parser.value(programOption), connection, purchases.folios, purchases.rowsEach,
                                   environment};

    load::Tally tally;
    std::vector<std::unique_ptr<load::Clerk>> team;
    int running = clerks;
    for (int i = 1; i <= clerks; ++i) {
        team.push_back(std::make_unique<load::Clerk>(i, setup, tally));
        QObject::connect(team.back().get(), &load::Clerk::finished, &app, [&running, &app] {
            if (--running == 0)
                app.quit();
        });
    }
    QElapsedTimer clock;
    clock.start();
    for (auto &clerk : team)
        clerk->start();
    double elapsed = 0;
    QTimer::singleShot(seconds * 1000, &app, [&] {
        elapsed = double(clock.elapsed()) / 1000.0;
        for (auto &clerk : team)
            clerk->stop();
    });
    app.exec();
    const double wall = double(clock.elapsed()) / 1000.0;
    team.clear();

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
    out(QStringLiteral("operations:"));
    for (const auto &[name, count] : tally.operations)
        out(QStringLiteral("  %1: %2").arg(name).arg(count));
    out(QStringLiteral("expected refusals:"));
    for (const auto &[name, count] : tally.expected)
        out(QStringLiteral("  %1: %2").arg(name).arg(count));
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
