#pragma once
// Scratch databases for the benchmarks: one filled database per back-end, with both the
// product's connection and a raw Qt Sql connection on it, removed at the end.
#include "platform/db/connection.h"
#include "platform/db/connection_string.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qmx44::bench {

struct BenchDb {
    std::string label;
    std::shared_ptr<db::Conexion> conexion;
    db::ConnectionSpec spec;
    QString rawName;            // the raw Qt Sql connection on the same database
    std::function<void()> drop; // removes the database at the end

    ~BenchDb();
};

using Fill = std::function<void(db::Conexion &)>;

// A volume product of the demo company: `code`, described as "Producto de volumen N".
void addVolumeProduct(db::Conexion &c, const QString &code, int n);
// Line `line` of purchase `folio` from supplier P0001 (branch 001, warehouse A01, 16 % tax):
// `qty` pieces of `product` at 12.75 each.
void addVolumePurchaseLine(db::Conexion &c, const QString &folio, int line, const QString &product, double qty);

// A raw Qt Sql connection named `name` on the database of `spec`.
QSqlDatabase rawDatabase(const db::ConnectionSpec &spec, const QString &name);

// SQLite always; PostgreSQL too when QMX44_BENCH_PG (or QMX44_TEST_PG) holds the URL of
// a server's administrative database. `tag` names the files, databases and connections.
std::vector<std::unique_ptr<BenchDb>> benchDatabases(const QTemporaryDir &dir, const QString &tag, const Fill &fill);

using Databases = std::vector<std::unique_ptr<BenchDb>>;

// The main of a benchmark program over scratch databases: Qt and the benchmark library
// started, the databases made and filled as benchDatabases does (a failure printed under
// the program's name `program`, and 1 returned), `registerAll` called to register and
// declare the benchmarks, then they run. Returns the program's exit status.
int runOnDatabases(int argc, char **argv, const char *program, const QString &tag, const Fill &fill,
                   const std::function<void(Databases &)> &registerAll);

} // namespace qmx44::bench
