#include "bench/bench_db.h"

#include "platform/core/error.h"
#include "platform/db/open.h"

#include <QSqlError>
#include <unistd.h>

namespace qmx44::bench {

BenchDb::~BenchDb()
{
    conexion.reset();
    if (!rawName.isEmpty()) {
        QSqlDatabase::database(rawName, false).close();
        QSqlDatabase::removeDatabase(rawName);
    }
    if (drop)
        drop();
}

QSqlDatabase rawDatabase(const db::ConnectionSpec &spec, const QString &name)
{
    QSqlDatabase d;
    if (spec.backend == db::Backend::Sqlite) {
        d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(spec.path);
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        d.setHostName(spec.host);
        if (spec.port > 0)
            d.setPort(spec.port);
        d.setUserName(spec.user);
        d.setPassword(spec.password);
        d.setDatabaseName(spec.database);
    }
    if (!d.open())
        throw RuntimeError(QStringLiteral("raw connection: ") + d.lastError().text());
    return d;
}

namespace {

std::unique_ptr<BenchDb> sqliteDb(const QTemporaryDir &dir, const QString &tag, const Fill &fill)
{
    auto b = std::make_unique<BenchDb>();
    b->label = "sqlite";
    const QString cs = QStringLiteral("sqlite:") + dir.filePath(tag + QStringLiteral(".sqlite"));
    b->spec = db::parseConnectionString(cs);
    b->conexion = db::open(cs);
    fill(*b->conexion);
    b->rawName = QStringLiteral("bench_%1_raw_sqlite").arg(tag);
    rawDatabase(b->spec, b->rawName);
    return b;
}

std::unique_ptr<BenchDb> postgresDb(const QString &adminUrl, const QString &tag, const Fill &fill)
{
    auto b = std::make_unique<BenchDb>();
    b->label = "postgres";
    const QString name = QStringLiteral("qmx44_bench_%1_%2").arg(tag).arg(::getpid());
    auto admin = std::shared_ptr<db::Conexion>(db::open(adminUrl, db::OpenMode::Raw));
    admin->run(QStringLiteral("DROP DATABASE IF EXISTS ") + name);
    admin->run(QStringLiteral("CREATE DATABASE ") + name);
    b->drop = [admin, name] {
        try {
            admin->run(QStringLiteral("DROP DATABASE IF EXISTS ") + name);
        } catch (...) {
        }
    };
    b->spec = db::parseConnectionString(adminUrl);
    b->spec.database = name;
    b->conexion = db::open(b->spec.toString());
    fill(*b->conexion);
    b->conexion->run(QStringLiteral("ANALYZE"));
    b->rawName = QStringLiteral("bench_%1_raw_postgres").arg(tag);
    rawDatabase(b->spec, b->rawName);
    return b;
}

} // namespace

std::vector<std::unique_ptr<BenchDb>> benchDatabases(const QTemporaryDir &dir, const QString &tag, const Fill &fill)
{
    std::vector<std::unique_ptr<BenchDb>> dbs;
    dbs.push_back(sqliteDb(dir, tag, fill));
    QString pg = qEnvironmentVariable("QMX44_BENCH_PG");
    if (pg.isEmpty())
        pg = qEnvironmentVariable("QMX44_TEST_PG");
    if (!pg.isEmpty())
        dbs.push_back(postgresDb(pg, tag, fill));
    return dbs;
}

} // namespace qmx44::bench
