// The purchase intake against the raw database work of its statement: a purchase of
// 10,000 lines in 10,000 groups is read by ConsultaCompra and filled into the detail
// grid by LlenarDetalle, and compared with executing the same statement directly on Qt
// Sql and reading every column of every row. Also reports the filled grid's memory per
// row. SQLite always; PostgreSQL too when QMX44_BENCH_PG (or QMX44_TEST_PG) holds the
// URL of a server's administrative database (a scratch database is made and dropped).
#include "bench/bench_db.h"
#include "bench/summary.h"
#include "intake/consulta_compra.h"
#include "intake/detail_format.h"
#include "intake/pending_amounts.h"
#include "platform/controls/form.h"
#include "platform/controls/grid.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

using namespace qmx44;

namespace {

constexpr int Lines = 10000;
const QString Folio = QStringLiteral("B000000001");

// One back-end's database holding the big purchase (plus two small ones beside it).
using bench::BenchDb;
using bench::rawDatabase;

void fill(db::Conexion &c)
{
    db::ScopedTransaction t(c);
    const QString producto = QStringLiteral("INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion, Pr_Tipo_Producto, "
                                            "Pr_Unidad_Costo) VALUES (?, ?, ?, ?)");
    const QString linea = QStringLiteral(
        "INSERT INTO COMPRA (Co_Folio, Co_Linea, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, "
        "Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, "
        "Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, "
        "Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Impuesto_Factor, Co_Precio_Lista_Importe, "
        "Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) "
        "VALUES (?, ?, '001', 'A01', 'P0001', 'CM01', 'MN', 1, 'AC', ?, ?, ?, ?, 'PZA', ?, 'PZA', ?, 'KG', 0.16, ?, ?, "
        "?, ?, ?)");
    for (int i = 1; i <= Lines; ++i) {
        const QString clave = QStringLiteral("PB%1").arg(i, 6, 10, QLatin1Char('0'));
        c.run(producto,
              {clave, QStringLiteral("Producto de prueba para el volumen %1").arg(i), QStringLiteral("PT"),
               QStringLiteral("PZA")});
    }
    auto addLines = [&](const QString &folio, int count) {
        for (int i = 1; i <= count; ++i) {
            const QString clave = QStringLiteral("PB%1").arg(i, 6, 10, QLatin1Char('0'));
            const double qty = 1 + i % 37, importe = qty * 12.75, global = importe * 0.05;
            c.run(linea,
                  {folio, i, clave, QStringLiteral("M"), QStringLiteral("NEG"), qty, qty, qty * 0.3, importe, importe,
                   global, (importe - global) * 0.16, (importe - global) * 1.16});
        }
    };
    addLines(Folio, Lines);
    addLines(QStringLiteral("B000000002"), 50);
    addLines(QStringLiteral("B000000003"), 50);
    t.commit();
}

// The raw work of one statement on Qt Sql (`values` bound in order), every column of every
// row read, the way the connection reads results on that back-end (forward-only on
// SQLite, whole on PostgreSQL).
void runRaw(benchmark::State &state, BenchDb *b, const QString &sql, const QVariantList &values)
{
    QSqlDatabase d = QSqlDatabase::database(b->rawName, false);
    std::int64_t rows = 0;
    for (auto _ : state) {
        QSqlQuery q(d);
        q.setForwardOnly(b->spec.backend == db::Backend::Sqlite);
        // A statement without values runs as text, as the screen's own statements do.
        bool ok = false;
        if (values.isEmpty()) {
            ok = q.exec(sql);
        } else {
            q.prepare(sql);
            for (const QVariant &v : values)
                q.addBindValue(v);
            ok = q.exec();
        }
        if (!ok) {
            state.SkipWithError(q.lastError().text().toStdString().c_str());
            return;
        }
        const int columns = q.record().count();
        rows = 0;
        while (q.next()) {
            for (int i = 0; i < columns; ++i)
                benchmark::DoNotOptimize(q.value(i));
            ++rows;
        }
    }
    state.counters["rows"] = double(rows);
}

// The intake's statement, raw.
void BM_RawStatement(benchmark::State &state, BenchDb *b)
{
    runRaw(state, b, intake::purchaseQuerySql(Folio), {});
}

// The pending column's one grouped statement, raw.
void BM_RawPending(benchmark::State &state, BenchDb *b)
{
    runRaw(state, b, intake::pendingAmountsSql(false), {Folio, Folio});
}

// The pending column filled on a grid holding the purchase (and every row's mark set).
void BM_Pending(benchmark::State &state, BenchDb *b)
{
    controls::Form form(QStringLiteral("frmBench"));
    controls::Grid &grid = form.add<controls::Grid>(QStringLiteral("ssDetalle"));
    intake::configureDetailGrid(grid);
    double importe = 0;
    auto rs = intake::ConsultaCompra(*b->conexion, Folio);
    intake::LlenarDetalle(rs, grid, importe);
    for (auto _ : state)
        intake::fillPending(*b->conexion, grid, Folio, QString());
    state.counters["rows"] = grid.rowCount();
}

// The intake: ConsultaCompra on the screen's connection, LlenarDetalle into the grid.
void BM_Intake(benchmark::State &state, BenchDb *b)
{
    controls::Form form(QStringLiteral("frmBench"));
    controls::Grid &grid = form.add<controls::Grid>(QStringLiteral("ssDetalle"));
    intake::configureDetailGrid(grid);
    double importe = 0;
    for (auto _ : state) {
        importe = 0;
        auto rs = intake::ConsultaCompra(*b->conexion, Folio);
        intake::LlenarDetalle(rs, grid, importe);
        benchmark::DoNotOptimize(importe);
    }
    state.counters["rows"] = grid.rowCount();

    // The filled grid's heap per row: an empty grid, then one fill, measured by the
    // allocator (cells, shared short texts and the long texts they hold).
    grid.removeAll();
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    {
        auto rs = intake::ConsultaCompra(*b->conexion, Folio);
        importe = 0;
        intake::LlenarDetalle(rs, grid, importe);
    }
    const std::size_t after = mallinfo2().uordblks;
    state.counters["grid_bytes_per_row"] = grid.rowCount() ? double(after - before) / grid.rowCount() : 0;
}

} // namespace

int main(int argc, char **argv)
{
    return bench::runOnDatabases(argc, argv, "bench_intake", QStringLiteral("intake"), fill, [](bench::Databases &dbs) {
        for (auto &b : dbs) {
            const std::string raw = "raw_statement/" + b->label, intake = "intake/" + b->label;
            benchmark::RegisterBenchmark(raw.c_str(), BM_RawStatement, b.get())->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(intake.c_str(), BM_Intake, b.get())->Unit(benchmark::kMillisecond);
            const std::string rawPending = "raw_pending/" + b->label, pending = "pending/" + b->label;
            benchmark::RegisterBenchmark(rawPending.c_str(), BM_RawPending, b.get())->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(pending.c_str(), BM_Pending, b.get())->Unit(benchmark::kMillisecond);
            bench::declare({.operation = "fill the pending column (one grouped statement)",
                            .size = "10,000 lines",
                            .backend = bench::backendName(b->label),
                            .measured = pending,
                            .baseline = rawPending,
                            .baselineLabel = "raw statement",
                            // Beyond the statement: a hash lookup, a cell and a mark per row.
                            .maxRatio = 3.0});
            // Wall time: what a user waits for, the database server's share included.
            bench::declare({.operation = "take a purchase in (ConsultaCompra + LlenarDetalle)",
                            .size = "10,000 lines",
                            .backend = bench::backendName(b->label),
                            .measured = intake,
                            .baseline = raw,
                            .baselineLabel = "raw statement",
                            .maxRatio = 1.2});
            if (&b == &dbs.front())
                bench::declare({.operation = "detail grid heap per row after the intake",
                                .size = "10,000 lines",
                                .backend = "-",
                                .measured = intake,
                                .figure = bench::Figure::Counter,
                                .counter = "grid_bytes_per_row",
                                .unit = "B/row",
                                .maxValue = 768});
        }
    });
}
