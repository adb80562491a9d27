// A volume rebate over 200 purchases of 50 lines each of one supplier (10,000 lines, 200
// notes): the read of the eligible lines with what is pending on each, against the same
// statements run raw on Qt Sql; and the save of the spread rebate (the run,
// 200 notes through the credit-note document, their applications, in one transaction),
// held to 3 s. Every save starts from the same database: what the previous one wrote is
// removed, untimed. SQLite always; PostgreSQL too when QMX44_BENCH_PG (or QMX44_TEST_PG)
// holds the URL of a server's administrative database (a scratch database is made and
// dropped).
#include "bench/bench_db.h"
#include "bench/summary.h"
#include "intake/pending_amounts.h"
#include "platform/db/admin.h"
#include "platform/services/session.h"
#include "rebate/volume_rebate.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace qmx44;

namespace {

constexpr int Purchases = 200;
constexpr int LinesEach = 50;
const QString Supplier = QStringLiteral("PVOL1");

using bench::BenchDb;

// The demo company, then supplier PVOL1's 200 purchases of June 2024, each of 50
// products, made by the database in one transaction.
void fill(db::Conexion &c)
{
    db::loadDemo(c);
    db::ScopedTransaction t(c);
    c.run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion, Pv_Saldo, Mn_Cve_Moneda) "
                         "VALUES (?, 'Proveedor de volumen', 5000000, 'MN')"),
          {Supplier});
    const QString numbers =
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ");
    c.run(numbers.arg(LinesEach)
          + QStringLiteral("INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion, Pr_Tipo_Producto, Pr_Unidad_Costo) "
                           "SELECT 'PV' || substr(CAST(100000 + i AS TEXT), 2), 'Producto de volumen ' || i, 'PT', "
                           "'PZA' FROM n"));
    // Line l of purchase p: 2 + l % 9 pieces at 10 + p % 13 + l / 4 each, 16 % tax.
    c.run(numbers.arg(Purchases * LinesEach)
          + QStringLiteral(
                "INSERT INTO COMPRA (Co_Folio, Co_Linea, Co_Fecha, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, "
                "Cm_Cve_Comprador, Mn_Cve_Moneda, Co_Tipo_Cambio, Co_Referencia, Es_Cve_Estado, Pr_Cve_Producto, "
                "Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, "
                "Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Precio_Lista, Co_Descuento_1, Co_Impuesto_Factor, "
                "Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Descuento_Global_Importe, "
                "Co_Impuesto_Importe, Co_Precio_Neto_Importe) "
                "SELECT 'V' || substr(CAST(1000000000 + p AS TEXT), 2), l, '2024-06-15', '001', 'A01', 'PVOL1', "
                "'CM01', 'MN', 1, 'FAC-' || p, 'AC', 'PV' || substr(CAST(100000 + l AS TEXT), 2), 'M', 'NEG', q, "
                "'PZA', q, 'PZA', q * 0.3, 'KG', price, 0, 0.16, q * price, q * price, 0, q * price * 0.16, "
                "q * price * 1.16 FROM (SELECT (i - 1) / %1 + 1 AS p, (i - 1) % %1 + 1 AS l, 2 + i % 9 AS q, "
                "10.0 + ((i - 1) / %1) % 13 + ((i - 1) % %1) / 4 AS price FROM n) x")
                .arg(LinesEach));
    t.commit();
}

rebate::RebateParameters parameters()
{
    rebate::RebateParameters p;
    p.supplier = Supplier;
    p.from = QDate(2024, 6, 1);
    p.to = QDate(2024, 6, 30);
    p.cause = QStringLiteral("BC");
    p.reference = QStringLiteral("VOL-2024-06");
    p.value = 25000; // about 2 % of what was bought
    return p;
}

std::shared_ptr<services::Session> session(BenchDb *b)
{
    auto s = std::make_shared<services::Session>(b->conexion, QStringLiteral("ADMIN"));
    s->setFixedDate(QDate(2024, 7, 15));
    return s;
}

// Back to the database before any rebate: untimed, between runs.
void removeRebates(BenchDb *b)
{
    db::Conexion &c = *b->conexion;
    db::ScopedTransaction t(c);
    const QString notes = QStringLiteral("(SELECT Nc_Folio FROM Bonificacion_Volumen_Nota)");
    c.run(QStringLiteral("DELETE FROM Nota_Credito_Aplicacion WHERE Nc_Folio IN ") + notes);
    c.run(QStringLiteral("DELETE FROM Campo_Adicional_Valor WHERE Cv_Clave IN ") + notes);
    c.run(QStringLiteral("DELETE FROM Documento_Direccion WHERE Dd_Documento IN ") + notes);
    c.run(QStringLiteral("DELETE FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio IN ") + notes);
    c.run(QStringLiteral("DELETE FROM Bonificacion_Volumen_Nota"));
    c.run(QStringLiteral("DELETE FROM Bonificacion_Volumen"));
    t.commit();
    if (b->spec.backend == db::Backend::Postgres)
        c.run(QStringLiteral("VACUUM ANALYZE NOTA_CREDITO_PROVEEDOR"));
}

void BM_Eligible(benchmark::State &state, BenchDb *b)
{
    rebate::VolumeRebate rebates(session(b));
    const rebate::RebateParameters p = parameters();
    for (auto _ : state) {
        const auto lines = rebates.eligible(p);
        if (lines.size() != size_t(Purchases * LinesEach)) {
            state.SkipWithError("the eligible lines are not the purchases' lines");
            return;
        }
        benchmark::DoNotOptimize(lines.data());
    }
}

// The eligible read's statements written out for Qt Sql: the purchase lines grouped as
// the grid groups them, then what is pending, one statement a purchase (the screen's own).
const char *const GroupColumns = "c.Co_Folio, e.Co_Fecha, c.Sc_Cve_Sucursal, c.Al_Cve_Almacen, c.Cm_Cve_Comprador, "
                                 "c.Mn_Cve_Moneda, p.Pr_Cve_Producto, p.Pr_Descripcion, c.Tl_Cve_Talla, "
                                 "c.Cl_Cve_Color, c.Co_Unidad_1, c.Co_Unidad_Control_1, c.Co_Unidad_Control_2, "
                                 "c.Co_Impuesto_Factor";

void BM_RawEligible(benchmark::State &state, BenchDb *b)
{
    QSqlDatabase d = QSqlDatabase::database(b->rawName, false);
    const QString lines = QStringLiteral("SELECT %1, SUM(c.Co_Cantidad_1), "
                                         "SUM(c.Co_Precio_Descontado_Importe - c.Co_Descuento_Global_Importe), "
                                         "SUM(c.Co_Cantidad_Control_1) FROM Compra_Encabezado e "
                                         "INNER JOIN COMPRA c ON c.Co_Folio = e.Co_Folio "
                                         "INNER JOIN Producto p ON p.Pr_Cve_Producto = c.Pr_Cve_Producto "
                                         "WHERE e.Pv_Cve_Proveedor = ? AND e.Co_Fecha >= ? AND e.Co_Fecha < ? "
                                         "AND e.Es_Cve_Estado <> 'CA' AND c.Mn_Cve_Moneda = ? "
                                         "GROUP BY %1 ORDER BY %1")
                              .arg(QLatin1String(GroupColumns));
    const QString pending = intake::pendingAmountsSql(false);
    for (auto _ : state) {
        QSqlQuery q(d);
        q.setForwardOnly(true);
        q.prepare(lines);
        for (const QVariant &v : {QVariant(Supplier), QVariant(QStringLiteral("2024-06-01")),
                                  QVariant(QStringLiteral("2024-07-01")), QVariant(QStringLiteral("MN"))})
            q.addBindValue(v);
        if (!q.exec()) {
            state.SkipWithError(q.lastError().text().toStdString().c_str());
            return;
        }
        QStringList purchases;
        int rows = 0;
        for (; q.next(); ++rows) {
            for (int i = 0; i < 17; ++i)
                benchmark::DoNotOptimize(q.value(i));
            if (purchases.isEmpty() || purchases.back() != q.value(0).toString())
                purchases << q.value(0).toString();
        }
        if (rows != Purchases * LinesEach) {
            state.SkipWithError("the raw read missed lines");
            return;
        }
        for (const QString &purchase : purchases) {
            QSqlQuery r(d);
            r.setForwardOnly(true);
            r.prepare(pending);
            r.addBindValue(purchase);
            r.addBindValue(purchase);
            if (!r.exec()) {
                state.SkipWithError(r.lastError().text().toStdString().c_str());
                return;
            }
            while (r.next())
                for (int i = 0; i < 6; ++i)
                    benchmark::DoNotOptimize(r.value(i));
        }
    }
}

void BM_Save(benchmark::State &state, BenchDb *b)
{
    rebate::VolumeRebate rebates(session(b));
    const rebate::RebateParameters p = parameters();
    for (auto _ : state) {
        state.PauseTiming();
        auto lines = rebates.eligible(p);
        const rebate::SpreadOutcome spread = rebate::VolumeRebate::spreadOver(p, lines);
        if (spread.unplaced != 0) {
            state.SkipWithError("part of the rebate was not placed");
            return;
        }
        state.ResumeTiming();
        const rebate::Outcome outcome =
            rebates.save(p, lines, {{QStringLiteral("NC_FOLIO_PROVEEDOR"), QStringLiteral("PRV-VOL")}});
        state.PauseTiming();
        if (!outcome.ok) {
            state.SkipWithError(outcome.error.toStdString().c_str());
            return;
        }
        const auto run = rebates.run(outcome.folio);
        if (run.notes.size() != size_t(Purchases)) {
            state.SkipWithError("the run has not one note per purchase");
            return;
        }
        removeRebates(b);
        state.ResumeTiming();
    }
    state.counters["notes"] = Purchases;
}

} // namespace

int main(int argc, char **argv)
{
    return bench::runOnDatabases(argc, argv, "bench_rebate", QStringLiteral("rebate"), fill, [](bench::Databases &dbs) {
        for (auto &b : dbs) {
            const std::string raw = "raw_rebate_eligible/" + b->label, eligible = "rebate_eligible/" + b->label,
                              save = "rebate_save/" + b->label;
            benchmark::RegisterBenchmark(raw.c_str(), BM_RawEligible, b.get())->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(eligible.c_str(), BM_Eligible, b.get())->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(save.c_str(), BM_Save, b.get())->Unit(benchmark::kMillisecond)->Iterations(3);
            bench::declare({.operation = "volume rebate: read the eligible lines, pending included",
                            .size = "200 purchases × 50 lines",
                            .backend = bench::backendName(b->label),
                            .measured = eligible,
                            .baseline = raw,
                            .baselineLabel = "raw statements",
                            .maxRatio = 1.5});
            bench::declare({.operation = "volume rebate: save the run (200 notes, one transaction)",
                            .size = "200 purchases × 50 lines",
                            .backend = bench::backendName(b->label),
                            .measured = save,
                            .maxValue = 3000.0});
        }
    });
}
