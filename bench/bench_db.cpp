#include "bench/bench_db.h"

#include "platform/core/error.h"
#include "platform/db/open.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>

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

void addVolumeProduct(db::Conexion &c, const QString &code, int n)
{
    c.run(QStringLiteral("INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion, Pr_Tipo_Producto, Pr_Unidad_Costo) "
                         "VALUES (?, ?, 'PT', 'PZA')"),
          {code, QStringLiteral("Producto de volumen %1").arg(n)});
}

void addVolumePurchaseLine(db::Conexion &c, const QString &folio, int line, const QString &product, double qty)
{
    const double amount = qty * 12.75;
    c.run(QStringLiteral(
              "INSERT INTO COMPRA (Co_Folio, Co_Linea, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, "
              "Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, "
              "Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, "
              "Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Impuesto_Factor, Co_Precio_Lista_Importe, "
              "Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) "
              "VALUES (?, ?, '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'AC', ?, 'M', 'NEG', ?, 'PZA', ?, 'PZA', ?, 'KG', "
              "0.16, ?, ?, 0, ?, ?)"),
          {folio, line, product, qty, qty, qty * 0.3, amount, amount, amount * 0.16, amount * 1.16});
}

int runOnDatabases(int argc, char **argv, const char *program, const QString &tag, const Fill &fill,
                   const std::function<void(Databases &)> &registerAll)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    Databases dbs;
    try {
        dbs = benchDatabases(dir, tag, fill);
    } catch (const RuntimeError &e) {
        std::fprintf(stderr, "%s: %s\n", program, qPrintable(e.description()));
        return 1;
    }
    registerAll(dbs);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace qmx44::bench
