// Showing a saved note against the raw database work of its three statements: a note of
// 5,000 lines on its purchase of 5,000 lines in 5,000 groups is loaded through the note
// folio's Enter (the note statement, the header with its look-ups and the supplier, the
// purchase lines into the grid, the saved bonuses matched to their rows, the pending
// amounts, the totals), and compared with executing the note statement, the
// purchase-lines statement and the pending-amounts statement directly on Qt Sql and
// reading every column of every row. SQLite always; PostgreSQL too when QMX44_BENCH_PG
// (or QMX44_TEST_PG) holds the URL of a server's administrative database (a scratch
// database is made and dropped).
#include "bench/bench_db.h"
#include "bench/summary.h"
#include "document/install.h"
#include "document/load_note.h"
#include "intake/consulta_compra.h"
#include "intake/install.h"
#include "intake/pending_amounts.h"
#include "platform/controls/desktop.h"
#include "platform/core/message.h"
#include "platform/db/admin.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "platform/host/padre.h"
#include "platform/host/platform_context.h"
#include "platform/services/sistema.h"
#include "platform/services/utilerias.h"
#include "screen/frm_qmx44.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

using namespace qmx44;

namespace {

constexpr int Lines = 5000;
const QString Compra = QStringLiteral("L000000001");
const QString Nota = QStringLiteral("0000009000");

QString producto(int i)
{
    return QStringLiteral("PL%1").arg(i, 6, 10, QLatin1Char('0'));
}

using bench::BenchDb;
using bench::rawDatabase;

// The demo company plus the big purchase and its note (one note line per purchase line).
void fill(db::Conexion &c)
{
    db::loadDemo(c);
    db::ScopedTransaction t(c);
    const QString nota = QStringLiteral(
        "INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Nc_Fecha, Nc_Referencia, Nc_Comentario, "
        "Mn_Cve_Moneda, Cn_Cve_Causa_Nota_Credito_Proveedor, Nc_Tipo_Cambio, Co_Folio, Sc_Cve_Sucursal, "
        "Al_Cve_Almacen, Pv_Cve_Proveedor, Cm_Cve_Comprador, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, "
        "Cl_Cve_Color, Nc_Cantidad_1, Nc_Unidad_1, Nc_Unidad_Control_1, Nc_Unidad_Control_2, Nc_Impuesto_Factor, "
        "Nc_Precio_Descontado_Importe, Nc_Precio_Lista_Importe, Nc_Impuesto_Importe, Nc_Precio_Neto_Importe) "
        "VALUES (?, ?, '2024-07-10', 'REF', 'Volumen', 'MN', 'BC', 1, ?, '001', 'A01', 'P0001', 'CM01', 'AC', ?, "
        "'M', 'NEG', ?, 'PZA', 'PZA', 'KG', 0.16, ?, ?, ?, ?)");
    for (int i = 1; i <= Lines; ++i) {
        const double qty = 1 + i % 37, importe = qty * 12.75, bono = importe * 0.1;
        bench::addVolumeProduct(c, producto(i), i);
        bench::addVolumePurchaseLine(c, Compra, i, producto(i), qty);
        c.run(nota, {Nota, i, Compra, producto(i), qty, bono, bono, bono * 0.16, bono * 1.16});
    }
    t.commit();
}

// The raw work: the three statements on Qt Sql, every column of every row read, the way
// the connection reads results on that back-end (forward-only on SQLite, whole on
// PostgreSQL).
void BM_RawStatements(benchmark::State &state, BenchDb *b)
{
    const std::pair<QString, QVariantList> statements[] = {{document::noteSql(Nota), {}},
                                                           {intake::purchaseQuerySql(Compra), {}},
                                                           {intake::pendingAmountsSql(true), {Compra, Compra, Nota}}};
    QSqlDatabase d = QSqlDatabase::database(b->rawName, false);
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const auto &[sql, values] : statements) {
            QSqlQuery q(d);
            q.setForwardOnly(b->spec.backend == db::Backend::Sqlite);
            bool ran = false;
            if (values.isEmpty()) {
                ran = q.exec(sql);
            } else {
                ran = q.prepare(sql);
                for (const QVariant &v : values)
                    q.addBindValue(v);
                ran = ran && q.exec();
            }
            if (!ran) {
                state.SkipWithError(q.lastError().text().toStdString().c_str());
                return;
            }
            const int columns = q.record().count();
            while (q.next()) {
                for (int i = 0; i < columns; ++i)
                    benchmark::DoNotOptimize(q.value(i));
                ++rows;
            }
        }
    }
    state.counters["rows"] = double(rows);
}

// The screen as the component builds it, on the benchmark's database.
struct Pantalla {
    explicit Pantalla(std::shared_ptr<db::Conexion> conexion)
    {
        context->session = std::make_shared<services::Session>(std::move(conexion), QStringLiteral("ADMIN"));
        context->session->setMessageSink(sink);
        context->session->setFixedDate(QDate(2024, 7, 15));
        sistema = std::make_unique<services::Sistema>(context->session);
        utilerias = std::make_unique<services::Utilerias>(context->session);
        frm = std::make_unique<screen::FrmQMX44>(screen::FormEnvironment{context, sistema.get(), utilerias.get()});
        intake::install(*frm);
        document::install(*frm);
        auto padre = std::make_shared<host::Padre>();
        padre->setMember(QStringLiteral("Modulo"), QStringLiteral("COMPRAS"));
        frm->setPadre(padre);
        frm->load();
        frm->show();
    }
    ~Pantalla() { controls::Desktop::reset(); }

    std::shared_ptr<RecordingMessageSink> sink = std::make_shared<RecordingMessageSink>();
    std::shared_ptr<host::PlatformContext> context = std::make_shared<host::PlatformContext>();
    std::unique_ptr<services::Sistema> sistema;
    std::unique_ptr<services::Utilerias> utilerias;
    std::unique_ptr<screen::FrmQMX44> frm;
};

// The load: the folio typed (its Change clears the screen, untimed), then its Enter.
void BM_Load(benchmark::State &state, BenchDb *b)
{
    Pantalla p(b->conexion);
    controls::TextField &folio = p.frm->txtFolio();
    for (auto _ : state) {
        state.PauseTiming();
        folio.setText(QString());
        folio.setText(Nota);
        state.ResumeTiming();
        document::txtFolio_Enter(*p.frm);
    }
    const auto &mensajes = p.sink->messages();
    if (!mensajes.empty())
        state.SkipWithError(mensajes.back().text.toStdString().c_str());
    else if (p.frm->ssDetalle().rowCount() != Lines
             || p.frm->textField(QStringLiteral("txt_SubTotal")).value().toDouble() <= 0)
        state.SkipWithError("the note was not shown in full");
    state.counters["rows"] = p.frm->ssDetalle().rowCount();
}

} // namespace

int main(int argc, char **argv)
{
    return bench::runOnDatabases(argc, argv, "bench_load", QStringLiteral("load"), fill, [](bench::Databases &dbs) {
        for (auto &b : dbs) {
            const std::string raw = "raw_statements/" + b->label, load = "load/" + b->label;
            benchmark::RegisterBenchmark(raw.c_str(), BM_RawStatements, b.get())->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(load.c_str(), BM_Load, b.get())->Unit(benchmark::kMillisecond);
            bench::declare({.operation = "show a saved note (the note folio's Enter)",
                            .size = "5,000 lines",
                            .backend = bench::backendName(b->label),
                            .measured = load,
                            .baseline = raw,
                            .baselineLabel = "raw statements",
                            // Beyond the two statements the load also runs the pending amounts'
                            // grouped statement (intake/pending_amounts.cpp), about a third of
                            // their time.
                            .maxRatio = 1.2});
        }
    });
}
