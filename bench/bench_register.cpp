// Opening the notes register over 100,000 notes of three lines each: the model's refresh
// (the totals of every note and the first page of 200, newest first, as the window opens)
// against the raw work of the same two statements on Qt Sql; and the same after a click on
// the Total header, which sorts every note by its summed total. SQLite always; PostgreSQL
// too when QMX44_BENCH_PG (or QMX44_TEST_PG) holds the URL of a server's administrative
// database (a scratch database is made and dropped).
#include "bench/bench_db.h"
#include "bench/summary.h"
#include "platform/business/note_register_model.h"
#include "platform/services/session.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace qmx44;

namespace {

constexpr int Notes = 100000;

using bench::BenchDb;

// 1,000 suppliers and 100,000 notes of three lines over four branches (every 20th
// cancelled and replaced by the next, every 10th in dollars), made by the database.
void fill(db::Conexion &c)
{
    db::ScopedTransaction t(c);
    c.run(QStringLiteral("INSERT INTO Usuario (Us_Cve_Usuario, Us_Nombre) VALUES ('BENCH', 'Medición')"));
    const QString numbers =
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ");
    c.run(numbers.arg(1000)
          + QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion) "
                           "SELECT 'V' || substr(CAST(10000 + i AS TEXT), 2), 'Proveedor de volumen ' || i FROM n"));
    c.run(numbers.arg(Notes)
          + QStringLiteral(
              "INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Nc_Fecha, Mn_Cve_Moneda, Nc_Tipo_Cambio, "
              "Co_Folio, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Es_Cve_Estado, Nc_Folio_Sustituye, "
              "Nc_Usuario, Nc_Precio_Descontado_Importe, Nc_Impuesto_Importe, Nc_Precio_Neto_Importe) "
              "SELECT substr(CAST(10000000000 + i AS TEXT), 2), l.linea, "
              "'2024-01-01', CASE WHEN i % 10 = 0 THEN 'USD' ELSE 'MN' END, "
              "CASE WHEN i % 10 = 0 THEN 17 ELSE 1 END, 'C' || substr(CAST(1000000000 + i / 2 AS TEXT), 2), "
              "'00' || CAST(1 + i % 4 AS TEXT), 'A0' || CAST(1 + i % 3 AS TEXT), "
              "'V' || substr(CAST(10000 + 1 + i % 1000 AS TEXT), 2), CASE WHEN i % 20 = 0 THEN 'CA' ELSE 'AC' END, "
              "CASE WHEN i % 20 = 1 AND i > 1 THEN substr(CAST(10000000000 + i - 1 AS TEXT), 2) ELSE '' END, "
              "'BENCH', 10.0 * l.linea + i % 7, 1.6 * l.linea, 11.6 * l.linea + i % 7 "
              "FROM n CROSS JOIN (SELECT 1 AS linea UNION ALL SELECT 2 UNION ALL SELECT 3) l"));
    t.commit();
}

// The notes' dates over a year, in each back-end's date arithmetic.
void spreadDates(db::Conexion &c)
{
    c.run(c.backend() == db::Backend::Sqlite
              ? QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Fecha = date('2024-01-01', '+' || "
                               "(CAST(Nc_Folio AS INTEGER) % 365) || ' days')")
              : QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Fecha = DATE '2024-01-01' + "
                               "(CAST(Nc_Folio AS INTEGER) % 365)"));
}

// The register's two statements as the window's opening runs them (the totals, then the
// first page), written out for Qt Sql.
const char *const RawTotals =
    "SELECT COUNT(DISTINCT n.Nc_Folio), SUM(n.Nc_Precio_Descontado_Importe), SUM(n.Nc_Impuesto_Importe), "
    "SUM(n.Nc_Precio_Neto_Importe), SUM(n.Nc_Precio_Descontado_Importe * n.Nc_Tipo_Cambio), "
    "SUM(n.Nc_Impuesto_Importe * n.Nc_Tipo_Cambio), SUM(n.Nc_Precio_Neto_Importe * n.Nc_Tipo_Cambio), "
    "MIN(n.Mn_Cve_Moneda), MAX(n.Mn_Cve_Moneda) FROM NOTA_CREDITO_PROVEEDOR n WHERE 1 = 1";
const char *const RawPage =
    "SELECT n.Nc_Folio AS folio, MAX(n.Nc_Fecha) AS fecha, MAX(n.Pv_Cve_Proveedor) AS proveedor, "
    "COALESCE(MAX(p.Pv_Descripcion), MAX(n.Pv_Cve_Proveedor)) AS nombre, MAX(n.Co_Folio) AS compra, "
    "SUM(n.Nc_Precio_Descontado_Importe) AS subtotal, SUM(n.Nc_Impuesto_Importe) AS impuesto, "
    "SUM(n.Nc_Precio_Neto_Importe) AS total, MAX(n.Mn_Cve_Moneda) AS moneda, "
    "MAX(CASE WHEN n.Es_Cve_Estado = 'CA' THEN 1 ELSE 0 END) AS cancelada, "
    "COALESCE((SELECT MIN(r.Nc_Folio) FROM NOTA_CREDITO_PROVEEDOR r WHERE r.Nc_Folio_Sustituye = n.Nc_Folio), '') "
    "AS sustituida_por, MAX(n.Nc_Folio_Sustituye) AS sustituye "
    "FROM NOTA_CREDITO_PROVEEDOR n LEFT JOIN Proveedor p ON p.Pv_Cve_Proveedor = n.Pv_Cve_Proveedor WHERE 1 = 1 "
    "GROUP BY n.Nc_Folio ORDER BY %1 LIMIT 200 OFFSET 0";

struct Opening {
    const char *name;
    business::NoteColumn column;
    const char *rawOrder;
};

const Opening Openings[] = {
    {"open", business::NoteColumn::Folio, "n.Nc_Folio DESC"},
    {"sort_total", business::NoteColumn::Total, "total DESC, n.Nc_Folio DESC"},
};

void BM_Register(benchmark::State &state, BenchDb *b, const Opening *o)
{
    auto session = std::make_shared<services::Session>(b->conexion, QStringLiteral("BENCH"));
    for (auto _ : state) {
        business::NoteRegisterModel model(session);
        model.noteRegister().setSort(o->column, true);
        if (!model.refresh() || model.rowCount() != business::NoteRegisterModel::PageSize) {
            state.SkipWithError("the register did not open");
            return;
        }
        benchmark::DoNotOptimize(model.data(model.index(0, 0)));
    }
}

void BM_Raw(benchmark::State &state, BenchDb *b, const Opening *o)
{
    QSqlDatabase d = QSqlDatabase::database(b->rawName, false);
    const QString page = QString::fromLatin1(RawPage).arg(QLatin1String(o->rawOrder));
    for (auto _ : state) {
        for (const QString &sql : {QString::fromLatin1(RawTotals), page}) {
            QSqlQuery q(d);
            q.setForwardOnly(true);
            if (!q.exec(sql)) {
                state.SkipWithError(q.lastError().text().toStdString().c_str());
                return;
            }
            while (q.next())
                for (int i = 0; i < 9; ++i)
                    benchmark::DoNotOptimize(q.value(i));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    return bench::runOnDatabases(
        argc, argv, "bench_register", QStringLiteral("register"),
        [](db::Conexion &c) {
            fill(c);
            spreadDates(c);
        },
        [](bench::Databases &dbs) {
            for (auto &b : dbs) {
                for (const Opening &o : Openings) {
                    const std::string measured = std::string("register_") + o.name + "/" + b->label;
                    const std::string raw = std::string("raw_") + o.name + "/" + b->label;
                    benchmark::RegisterBenchmark(raw.c_str(), BM_Raw, b.get(), &o)->Unit(benchmark::kMillisecond);
                    benchmark::RegisterBenchmark(measured.c_str(), BM_Register, b.get(), &o)
                        ->Unit(benchmark::kMillisecond);
                    bench::declare({.operation = o.column == business::NoteColumn::Folio
                                        ? "open the notes register (totals and first page)"
                                        : "notes register sorted by total (totals and first page)",
                                    .size = "100,000 notes",
                                    .backend = bench::backendName(b->label),
                                    .measured = measured,
                                    .baseline = raw,
                                    .baselineLabel = "raw statements",
                                    // The window opens within a second; a sort by a summed
                                    // column groups every note and is held to its ratio.
                                    .maxRatio = o.column == business::NoteColumn::Folio ? 0.0 : 1.5,
                                    .maxValue = o.column == business::NoteColumn::Folio ? 1000.0 : 0.0});
                }
            }
        });
}
