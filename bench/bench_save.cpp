// Saving a credit note of 5,000 bonused lines through the document object against the
// raw database work of the same note. The save: Nuevo, Encabezado, and per line Detalle +
// the pending check as the save runs it on that back-end (on SQLite the two statements of
// the check by line, built and run on the connection as the screen does; on PostgreSQL one
// read of the purchase's pending amounts before the lines) + AgregarDetalle; then Guardar
// and commit. Two raw runs, directly on Qt Sql in one transaction: the two statements of
// the check and one insert a line; and on PostgreSQL the fewest round trips, the pending
// amounts read once and the rows sent together at the end by COPY (libpq through the
// driver's handle). On PostgreSQL the save is also set against the same save on SQLite.
// Every run starts from the same database (the notes of the previous run are removed,
// untimed). SQLite always; PostgreSQL too when QMX44_BENCH_PG (or QMX44_TEST_PG) holds
// the URL of a server's administrative database (a scratch database is made and dropped).
#include "bench/bench_db.h"
#include "bench/summary.h"
#include "document/excede_pendiente.h"
#include "intake/pending_amounts.h"
#include "platform/business/nota_credito.h"
#include "platform/db/connection_string.h"
#include "platform/db/open.h"
#include "platform/services/session.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <functional>
#include <libpq-fe.h>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

using namespace qmx44;

namespace {

constexpr int Lines = 5000;
const QString Compra = QStringLiteral("S000000001");

QString producto(int i)
{
    return QStringLiteral("PS%1").arg(i, 6, 10, QLatin1Char('0'));
}

using bench::BenchDb;
using bench::rawDatabase;

void fill(db::Conexion &c)
{
    db::ScopedTransaction t(c);
    c.run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion) VALUES ('P0001', 'Proveedor')"));
    const QString linea = QStringLiteral(
        "INSERT INTO COMPRA (Co_Folio, Co_Linea, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, Mn_Cve_Moneda, "
        "Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, "
        "Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Impuesto_Factor, Co_Precio_Lista_Importe, "
        "Co_Precio_Descontado_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) "
        "VALUES (?, ?, '001', 'A01', 'P0001', 'MN', 'AC', ?, 'M', 'NEG', 10, 'PZA', 10, 'PZA', 0.16, 1000, 1000, 160, "
        "1160)");
    for (int i = 1; i <= Lines; ++i)
        c.run(linea, {Compra, i, producto(i)});
    t.commit();
}

// The statements of the check by line, as the save builds them, for line i.
document::PendingLine lineaPendiente(int i)
{
    return {Compra, producto(i), QStringLiteral("M"), QStringLiteral("NEG"), QStringLiteral("PZA")};
}
QString sentenciaNotas(int i)
{
    return document::pendingNotesSql(lineaPendiente(i));
}
QString sentenciaCompra(int i)
{
    return document::pendingPurchaseSql(lineaPendiente(i));
}
// What the raw run executes: the same texts as the connection sends them.
QString nativo(const QString &sentencia, db::Backend backend)
{
    QString s = sentencia;
    if (backend != db::Backend::Odbc)
        s.replace(QLatin1String("ISNULL("), QLatin1String("COALESCE("));
    return s;
}

// Back to the state before any note: untimed, between runs.
void limpiar(BenchDb *b)
{
    b->conexion->run(QStringLiteral("DELETE FROM NOTA_CREDITO_PROVEEDOR"));
    b->conexion->run(QStringLiteral("UPDATE Folio_Contador SET Fc_Ultimo = 0"));
    if (b->spec.backend == db::Backend::Postgres)
        b->conexion->run(QStringLiteral("VACUUM ANALYZE NOTA_CREDITO_PROVEEDOR"));
}

bool leerPendiente(QSqlQuery &q, double &valor)
{
    if (!q.next())
        return false;
    valor = q.value(1).toDouble();
    return true;
}

// The values of line i, in the order of the insert's columns.
QVariantList valoresLinea(int i)
{
    return {QStringLiteral("0000000001"),
            i,
            QDate(2024, 8, 15),
            QStringLiteral("REF"),
            QString(),
            QStringLiteral("MN"),
            QStringLiteral("DP"),
            1.0,
            Compra,
            QStringLiteral("001"),
            QStringLiteral("A01"),
            QStringLiteral("P0001"),
            QStringLiteral("CM01"),
            QStringLiteral("AC"),
            producto(i),
            QStringLiteral("M"),
            QStringLiteral("NEG"),
            QStringLiteral("Nota"),
            1.0,
            QStringLiteral("PZA"),
            1.0,
            QStringLiteral("PZA"),
            0.0,
            QStringLiteral("KG"),
            1.0,
            1.0,
            0.0,
            0.0,
            0.16,
            0.16,
            1.16,
            1.0,
            1.0,
            1.16,
            QString(),
            QStringLiteral("ADMIN"),
            QStringLiteral("2024-08-15 10:00:00"),
            QString()};
}

// The two aggregate statements of line i's pending check, raw; false when one failed.
bool pendienteCrudo(QSqlDatabase &d, db::Backend backend, int i)
{
    const bool sqlite = backend == db::Backend::Sqlite;
    double notado = 0, comprado = 0;
    QSqlQuery a(d), c(d);
    a.setForwardOnly(sqlite);
    c.setForwardOnly(sqlite);
    if (!a.exec(nativo(sentenciaNotas(i), backend)) || !leerPendiente(a, notado)
        || !c.exec(nativo(sentenciaCompra(i), backend)) || !leerPendiente(c, comprado))
        return false;
    benchmark::DoNotOptimize(std::trunc(1.16) > std::trunc(comprado - notado));
    return true;
}

// How the raw runs go: the check by line and one prepared insert a line, or
// (PostgreSQL) the pending amounts read once and every row at the end by COPY.
enum class Filas { UnaPorLinea, Copia };

// The columns of the insert, as COPY names them.
QByteArray columnas()
{
    const QString sql = business::insertNoteLinesSql(1);
    const qsizetype desde = sql.indexOf(u'(');
    return sql.mid(desde, sql.indexOf(QLatin1String(") VALUES")) - desde + 1).toUtf8();
}

// One value in COPY's text format.
void copiar(QByteArray &out, const QVariant &v)
{
    if (v.typeId() == QMetaType::Double) {
        out += QByteArray::number(v.toDouble(), 'g', 17);
        return;
    }
    const QString text = v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString();
    for (const char ch : text.toUtf8()) {
        if (ch == '\\' || ch == '\t' || ch == '\n' || ch == '\r')
            out += '\\';
        out += ch;
    }
}

// Every line's row by COPY ... FROM STDIN on the raw session's libpq connection.
QString copiarFilas(QSqlDatabase &d)
{
    const QVariant handle = d.driver()->handle();
    PGconn *pg = *static_cast<PGconn *const *>(handle.constData());
    PGresult *r = PQexec(pg, ("COPY NOTA_CREDITO_PROVEEDOR " + columnas() + " FROM STDIN").constData());
    const bool started = PQresultStatus(r) == PGRES_COPY_IN;
    PQclear(r);
    if (!started)
        return QString::fromUtf8(PQerrorMessage(pg));
    QByteArray datos;
    for (int i = 1; i <= Lines; ++i) {
        const QVariantList valores = valoresLinea(i);
        for (int k = 0; k < valores.size(); ++k) {
            if (k > 0)
                datos += '\t';
            copiar(datos, valores[k]);
        }
        datos += '\n';
    }
    if (PQputCopyData(pg, datos.constData(), int(datos.size())) != 1 || PQputCopyEnd(pg, nullptr) != 1)
        return QString::fromUtf8(PQerrorMessage(pg));
    QString error;
    while ((r = PQgetResult(pg)) != nullptr) {
        if (PQresultStatus(r) != PGRES_COMMAND_OK)
            error = QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
    }
    return error;
}

// The raw work: per line the two aggregate statements, and the rows as `filas` says,
// all in one transaction, on Qt Sql directly.
void BM_Raw(benchmark::State &state, BenchDb *b, Filas filas)
{
    QSqlDatabase d = QSqlDatabase::database(b->rawName, false);
    const db::Backend backend = b->spec.backend;
    const bool sqlite = backend == db::Backend::Sqlite;
    for (auto _ : state) {
        if (sqlite ? !QSqlQuery(d).exec(QStringLiteral("BEGIN IMMEDIATE")) : !d.transaction()) {
            state.SkipWithError("begin failed");
            return;
        }
        QSqlQuery insert(d);
        insert.prepare(business::insertNoteLinesSql(1));
        if (filas == Filas::Copia) {
            QSqlQuery pendiente(d);
            pendiente.prepare(intake::pendingAmountsSql(false));
            pendiente.addBindValue(Compra);
            pendiente.addBindValue(Compra);
            if (!pendiente.exec()) {
                state.SkipWithError("pending amounts failed");
                return;
            }
            while (pendiente.next())
                benchmark::DoNotOptimize(pendiente.value(4).toDouble() - pendiente.value(5).toDouble());
        }
        for (int i = 1; i <= Lines; ++i) {
            if (filas == Filas::UnaPorLinea && !pendienteCrudo(d, backend, i)) {
                state.SkipWithError("aggregate failed");
                return;
            }
            if (filas == Filas::Copia)
                continue;
            const QVariantList valores = valoresLinea(i);
            for (int k = 0; k < valores.size(); ++k)
                insert.bindValue(k, valores[k]);
            if (!insert.exec()) {
                state.SkipWithError(insert.lastError().text().toStdString().c_str());
                return;
            }
        }
        insert.finish();
        if (filas == Filas::Copia) {
            const QString error = copiarFilas(d);
            if (!error.isEmpty()) {
                state.SkipWithError(error.toStdString().c_str());
                return;
            }
        }
        if (sqlite ? !QSqlQuery(d).exec(QStringLiteral("COMMIT")) : !d.commit()) {
            state.SkipWithError("commit failed");
            return;
        }
        state.PauseTiming();
        limpiar(b);
        state.ResumeTiming();
    }
    state.counters["lines"] = Lines;
}

// The save through the document object, with the save's pending check on the same
// connection.
void BM_NotaCredito(benchmark::State &state, BenchDb *b)
{
    auto session = std::make_shared<services::Session>(b->conexion, QStringLiteral("ADMIN"));
    session->setFixedDate(QDate(2024, 8, 15));
    db::Conexion &c = *b->conexion;
    for (auto _ : state) {
        db::ScopedTransaction tx(c);
        business::NotaCredito nota(session);
        nota.Nuevo();
        business::EncabezadoNota e;
        e.fecha = QDate(2024, 8, 15);
        e.referencia = QStringLiteral("REF");
        e.moneda = QStringLiteral("MN");
        e.causa = QStringLiteral("DP");
        e.tipoCambio = 1;
        e.compra = Compra;
        e.sucursal = QStringLiteral("001");
        e.almacen = QStringLiteral("A01");
        e.proveedor = QStringLiteral("P0001");
        e.comprador = QStringLiteral("CM01");
        nota.Encabezado(e);
        QString sql;
        std::optional<document::PurchasePending> pendiente;
        if (document::checksLinesTogether(c.backend(), Lines))
            pendiente.emplace(c, sql, Compra);
        business::DetalleNota d;
        for (int i = 1; i <= Lines; ++i) {
            d.producto = producto(i);
            d.comentario = QStringLiteral("Nota");
            d.talla = QStringLiteral("M");
            d.color = QStringLiteral("NEG");
            d.cantidad1 = 1;
            d.unidad1 = QStringLiteral("PZA");
            d.unidadControl2 = QStringLiteral("KG");
            d.precioLista = d.precioDescontado = 1;
            d.impuestoFactor = 0.16;
            d.impuestoImporte = 0.16;
            d.precioNeto = d.precioNetoImporte = 1.16;
            d.importe = 1;
            nota.Detalle(d);
            if (pendiente ? pendiente->exceeds(nota) : document::ExcedePendiente(c, sql, nota)) {
                state.SkipWithError("pending check refused a line");
                return;
            }
            bool ok = false;
            nota.AgregarDetalle(ok);
            if (!ok) {
                state.SkipWithError(nota.MensajeError().toStdString().c_str());
                return;
            }
        }
        bool ok = false;
        nota.Guardar(nota.Encabezado().folio, ok);
        if (!ok) {
            state.SkipWithError(nota.MensajeError().toStdString().c_str());
            return;
        }
        tx.commit();
        state.PauseTiming();
        limpiar(b);
        state.ResumeTiming();
    }
    state.counters["lines"] = Lines;
}

} // namespace

int main(int argc, char **argv)
{
    return bench::runOnDatabases(argc, argv, "bench_save", QStringLiteral("save"), fill, [](bench::Databases &dbs) {
        for (auto &b : dbs) {
            const bool pg = b->label == "postgres";
            const std::string raw = "raw_save/" + b->label, copy = "raw_save_copy/" + b->label,
                              save = "nota_credito_save/" + b->label;
            benchmark::RegisterBenchmark(raw.c_str(), BM_Raw, b.get(), Filas::UnaPorLinea)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(5);
            if (pg)
                benchmark::RegisterBenchmark(copy.c_str(), BM_Raw, b.get(), Filas::Copia)
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(5);
            benchmark::RegisterBenchmark(save.c_str(), BM_NotaCredito, b.get())
                ->Unit(benchmark::kMillisecond)
                ->Iterations(5);
            bench::declare({.operation = "save a note through NotaCredito",
                            .size = "5,000 lines",
                            .backend = bench::backendName(b->label),
                            .measured = save,
                            .baseline = raw,
                            .baselineLabel = "raw statements",
                            .maxRatio = 3.0});
            if (!pg)
                continue;
            bench::declare({.operation = "save a note through NotaCredito",
                            .size = "5,000 lines",
                            .backend = "PostgreSQL",
                            .measured = save,
                            .baseline = copy,
                            .baselineLabel = "raw, pending read once, rows by COPY",
                            .maxRatio = 3.0});
            if (dbs.front()->label == "sqlite")
                bench::declare({.operation = "save a note, PostgreSQL against SQLite",
                                .size = "5,000 lines",
                                .backend = "PostgreSQL",
                                .measured = save,
                                .baseline = "nota_credito_save/sqlite",
                                .baselineLabel = "the save on SQLite",
                                .maxRatio = 2.0});
        }
    });
}
