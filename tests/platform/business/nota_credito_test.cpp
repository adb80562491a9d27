// NotaCredito on the demo company, on every back-end: numbering, what the stored rows
// carry, application and cancellation with the supplier's balance, and the refusals.
// Replacing a note and the planned failures are tested through the screen's save
// (tests/document/save_test.cpp).
#include "platform/business/folio_counter.h"
#include "platform/business/nota_credito.h"
#include "tests/platform/business/nota_fixture.h"
#include "tests/platform/services/services_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace qmx44;
using business::EncabezadoNota;
using business::NotaCredito;
using test::NoteLine;
using test::Resultado;

namespace {

const QString kCompra = QStringLiteral("C000000002");
const QString kP0002 = QStringLiteral("P0002");

NoteLine bt001(double bon)
{
    return {"BT-001", "27", "NEG", "PAR", 1, bon};
}
NoteLine cj001(double cantidad, double bon)
{
    return {"CJ-001", "", "", "PZA", cantidad, bon};
}

class NotaCreditoTest : public ::testing::TestWithParam<std::string> {
protected:
    NotaCreditoTest() { demo.session->setFixedDate(QDate(2024, 8, 15)); }

    db::Conexion &db() { return demo.db(); }

    QVariant scalar(const QString &sql, const QVariantList &valores = {})
    {
        auto rs = db().query(sql, valores);
        return rs->eof() ? QVariant() : rs->field(rs->columns().value(0));
    }
    double saldo(const QString &proveedor)
    {
        return scalar(QStringLiteral("SELECT Pv_Saldo FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {proveedor})
            .toDouble();
    }
    // Everything a refused or rolled-back operation must leave as it was.
    QString instantanea()
    {
        QStringList v;
        for (const char *sql : {"SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR", "SELECT SUM(Pv_Saldo) FROM Proveedor",
                                "SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Es_Cve_Estado = 'CA'",
                                "SELECT COUNT(*) FROM Nota_Credito_Aplicacion WHERE Ap_Cancelada = 0",
                                "SELECT Fc_Ultimo FROM Folio_Contador WHERE Fc_Documento = 'NOTA_CREDITO_PROVEEDOR'"})
            v << scalar(QString::fromLatin1(sql)).toString();
        return v.join(u'|');
    }
    test::SavedNote guardar(const std::vector<NoteLine> &lineas, bool aplicar = false,
                            const EncabezadoNota &e = test::noteHeader())
    {
        NotaCredito nota(demo.session);
        return test::saveNote(db(), nota, e, lineas, aplicar);
    }

    test::DemoSession demo{GetParam(), QStringLiteral("CXP01")};
};

// Guards against folios reused or skipped after a rollback, a counter's prefix being
// ignored, and drawing a folio that a stored note already carries.
TEST_P(NotaCreditoTest, FoliosAreConsecutiveTakeThePrefixAndPassOverFoliosInUse)
{
    const auto primera = guardar({bt001(100)});
    ASSERT_EQ(primera.resultado, Resultado::Guardada) << primera.mensaje.toStdString();
    EXPECT_EQ(primera.folio, QStringLiteral("0000000004"));

    {
        db::ScopedTransaction tx(db());
        NotaCredito nota(demo.session);
        nota.Nuevo();
        nota.Encabezado(test::noteHeader());
        nota.Detalle(test::noteDetail(kCompra, bt001(10)));
        bool ok = false;
        nota.AgregarDetalle(ok);
        ASSERT_TRUE(ok) << nota.MensajeError().toStdString();
        EXPECT_EQ(nota.Detalle().folio, QStringLiteral("0000000005"));
    } // rolled back

    const auto segunda = guardar({cj001(10, 5)});
    ASSERT_EQ(segunda.resultado, Resultado::Guardada) << segunda.mensaje.toStdString();
    EXPECT_EQ(segunda.folio, QStringLiteral("0000000005"));

    db().run(QStringLiteral("UPDATE Folio_Contador SET Fc_Prefijo = 'NC', Fc_Ultimo = 6 WHERE Fc_Documento = ?"),
             {QStringLiteral("NOTA_CREDITO_PROVEEDOR")});
    db().run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio) VALUES (?, 1, ?)"),
             {QStringLiteral("NC00000007"), kCompra});
    const auto g = guardar({bt001(100)});
    ASSERT_EQ(g.resultado, Resultado::Guardada) << g.mensaje.toStdString();
    EXPECT_EQ(g.folio, QStringLiteral("NC00000008"));

    // A document without a counter row starts one at 1; outside a transaction nothing is drawn.
    db::ScopedTransaction tx(db());
    EXPECT_EQ(business::drawFolio(db(), QStringLiteral("OTRO_DOCUMENTO"), {}), QStringLiteral("0000000001"));
    EXPECT_EQ(business::drawFolio(db(), QStringLiteral("OTRO_DOCUMENTO"), {}), QStringLiteral("0000000002"));
    tx.commit();
    EXPECT_THROW(business::drawFolio(db(), QStringLiteral("OTRO_DOCUMENTO"), {}), RuntimeError);
}

// Guards against the lines of a note disagreeing on the header when the header was
// written again between lines, and against a note spanning two purchases.
TEST_P(NotaCreditoTest, HeaderWrittenAgainReachesEveryRowAndThePurchaseCannotChange)
{
    db::ScopedTransaction tx(db());
    NotaCredito nota(demo.session);
    EncabezadoNota e = test::noteHeader();
    bool ok = false;
    nota.Nuevo();
    nota.Encabezado(e);
    nota.Detalle(test::noteDetail(kCompra, bt001(10)));
    nota.AgregarDetalle(ok);
    ASSERT_TRUE(ok);
    e.referencia = QStringLiteral("OTRA-REF");
    nota.Encabezado(e);
    nota.Detalle(test::noteDetail(kCompra, cj001(1, 1)));
    nota.AgregarDetalle(ok);
    ASSERT_TRUE(ok);
    const QString folio = nota.Encabezado().folio;
    nota.Guardar(folio, ok);
    ASSERT_TRUE(ok) << nota.MensajeError().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ? "
                                    "AND Nc_Referencia = 'OTRA-REF'"),
                     {folio})
                  .toInt(),
              2);

    e.compra = QStringLiteral("C000000001");
    nota.Encabezado(e);
    nota.Detalle(test::noteDetail(e.compra, {"PL-001", "M", "BCO", "PZA", 1, 5}));
    nota.AgregarDetalle(ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(nota.MensajeError().contains(kCompra));
}

// Guards against applying an amount in the wrong currency to the supplier's balance, and
// against refusing a conversion for which the note's date has a rate.
TEST_P(NotaCreditoTest, AplicarConvertsAtTheNotesRatesAndRefusesOnlyWithoutARate)
{
    EncabezadoNota usd = test::noteHeader();
    usd.moneda = QStringLiteral("USD");
    usd.tipoCambio = 17.5;
    const double antes = saldo(kP0002);
    const auto g = guardar({bt001(10)}, true, usd);
    ASSERT_EQ(g.resultado, Resultado::Guardada) << g.mensaje.toStdString();
    EXPECT_DOUBLE_EQ(saldo(kP0002), antes - 11.6 * 17.5);

    // A note in pesos on a supplier kept in dollars: the dollar's rate of 2024-07-01
    // is the latest on the note's date, 2024-08-15.
    EncabezadoNota aDolares = test::noteHeader(kCompra, QStringLiteral("P0005"));
    const double antesUsd = saldo(QStringLiteral("P0005"));
    const auto convertida = guardar({bt001(10)}, true, aDolares);
    ASSERT_EQ(convertida.resultado, Resultado::Guardada) << convertida.mensaje.toStdString();
    EXPECT_NEAR(saldo(QStringLiteral("P0005")), antesUsd - 11.6 / 18.2545, 1e-9);

    aDolares.fecha = QDate(2023, 12, 29); // before the first dollar rate
    const QString foto = instantanea();
    const auto refusada = guardar({bt001(10)}, true, aDolares);
    EXPECT_EQ(refusada.resultado, Resultado::Fallo);
    EXPECT_TRUE(refusada.mensaje.contains(QStringLiteral("no hay tipo de cambio de USD al 29/12/2023")));
    EXPECT_EQ(instantanea(), foto);
}

// Guards against refusals that write anyway, report success, or refuse for another
// reason than their own.
TEST_P(NotaCreditoTest, RefusalsExplainThemselvesAndWriteNothing)
{
    struct RefusalCase {
        bool enTransaccion;
        std::function<void(NotaCredito &, bool &)> hacer;
        const char *motivo; // words of the reason
    };
    auto conLinea = [](const EncabezadoNota &e, const NoteLine &l) {
        return [=](NotaCredito &n, bool &ok) {
            n.Nuevo();
            n.Encabezado(e);
            n.Detalle(test::noteDetail(e.compra, l));
            n.AgregarDetalle(ok);
        };
    };
    EncabezadoNota sinCompra = test::noteHeader();
    sinCompra.compra.clear();
    const std::vector<RefusalCase> cases = {
        {false, conLinea(test::noteHeader(), bt001(1)), "transacción abierta"},
        {true, conLinea(sinCompra, bt001(1)), "no indica la compra"},
        {true, conLinea(test::noteHeader(), bt001(0)), "debe ser mayor que cero"},
        {true, conLinea(test::noteHeader(), {"BT-001", "27", "NEG", "PZA", 1, 5}), "unidad 'PZA') no está"},
        {true,
         [](NotaCredito &n, bool &ok) {
             n.Nuevo();
             n.Encabezado(test::noteHeader());
             n.Guardar(QString(), ok);
         },
         "no tiene partidas"},
        {true, [](NotaCredito &n, bool &ok) { n.Cancelar(QStringLiteral("0000000099"), ok); }, "No existe"},
        {true, [](NotaCredito &n, bool &ok) { n.Cancelar(QStringLiteral("0000000002"), ok); }, "ya está cancelada"},
        {true, [](NotaCredito &n, bool &ok) { n.Aplicar(QStringLiteral("0000000001"), true, ok); }, "ya está aplicada"},
    };
    const QString foto = instantanea();
    for (const RefusalCase &one : cases) {
        SCOPED_TRACE(one.motivo);
        NotaCredito nota(demo.session);
        bool ok = true;
        std::optional<db::ScopedTransaction> tx;
        if (one.enTransaccion)
            tx.emplace(db());
        one.hacer(nota, ok);
        EXPECT_EQ(instantanea(), foto); // nothing written, even before the rollback
        EXPECT_FALSE(ok);
        EXPECT_TRUE(nota.MensajeError().contains(QString::fromUtf8(one.motivo))) << nota.MensajeError().toStdString();
    }

    // Saving under a folio other than the one drawn.
    db::ScopedTransaction tx(db());
    NotaCredito nota(demo.session);
    bool ok = false;
    conLinea(test::noteHeader(), bt001(1))(nota, ok);
    nota.Guardar(QStringLiteral("0000000099"), ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(nota.MensajeError().contains(QStringLiteral("no es el de la nota")))
        << nota.MensajeError().toStdString();
}

// Guards against lines lost, repeated or shifted where the batches meet, and texts split
// or cut on their way in: a note of more lines than one statement binds is stored line
// for line, its texts as they were.
TEST_P(NotaCreditoTest, ANoteOfSeveralBatchesIsStoredLineForLine)
{
    const QString compra = QStringLiteral("C000000900");
    const int lineas = 1 + 2 * business::linesPerStatement(db().backend()) + 2;
    std::vector<NoteLine> nota;
    QStringList esperado;
    db::ScopedTransaction tx(db());
    for (int i = 1; i <= lineas; ++i) {
        const QString producto = QStringLiteral("PM-%1").arg(i);
        db().run(
            QStringLiteral("INSERT INTO COMPRA (Co_Folio, Co_Linea, Pv_Cve_Proveedor, Pr_Cve_Producto, "
                           "Co_Unidad_1, Co_Cantidad_1, Co_Precio_Neto_Importe) VALUES (?, ?, ?, ?, 'PZA', 1, 1000)"),
            {compra, i, kP0002, producto});
        nota.push_back({producto, QString(), QString(), QStringLiteral("PZA"), 1, double(i)});
        esperado << QStringLiteral("%1 %2 %3").arg(i).arg(producto).arg(i);
    }
    tx.commit();

    // A text that an array or a list of values could split or end.
    business::EncabezadoNota header = test::noteHeader(compra);
    header.comentario = QStringLiteral("\"a\", \\b {c,d} NULL ñ\n'e'");
    const auto g = guardar(nota, false, header);
    ASSERT_EQ(g.resultado, Resultado::Guardada) << g.mensaje.toStdString();
    auto comments = db().query(
        QStringLiteral("SELECT DISTINCT Nc_Comentario FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"), {g.folio});
    EXPECT_EQ(comments->fieldAt(0).toString(), header.comentario);
    comments->moveNext();
    EXPECT_TRUE(comments->eof());
    comments->close();
    QStringList guardado;
    auto rs = db().query(QStringLiteral("SELECT Nc_Linea, Pr_Cve_Producto, Nc_Precio_Lista_Importe FROM "
                                        "NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ? ORDER BY Nc_Linea"),
                         {g.folio});
    for (; !rs->eof(); rs->moveNext())
        guardado << QStringLiteral("%1 %2 %3")
                        .arg(rs->field(QStringLiteral("Nc_Linea")).toInt())
                        .arg(rs->field(QStringLiteral("Pr_Cve_Producto")).toString())
                        .arg(rs->field(QStringLiteral("Nc_Precio_Lista_Importe")).toDouble());
    EXPECT_TRUE(guardado == esperado) << guardado.size() << " of " << esperado.size() << " lines";
}

// Guards against folios that do not fit the width the folio field and its
// normalisation use.
TEST(NotaCreditoFolioTest, FoliosAreComposedToTheCounterWidth)
{
    EXPECT_EQ(business::composeFolio(QString(), 4, 0), QStringLiteral("0000000004"));
    EXPECT_EQ(business::composeFolio(QString(), 9999999999, 10), QStringLiteral("9999999999"));
    EXPECT_EQ(business::composeFolio(QString(), 10000000000, 10), QString());
    EXPECT_EQ(business::composeFolio(QStringLiteral("NC"), 100000000, 10), QString());
}

INSTANTIATE_TEST_SUITE_P(Backends, NotaCreditoTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
