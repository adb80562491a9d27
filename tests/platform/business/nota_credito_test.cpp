// NotaCredito on the demo company, on every back-end: numbering, what the stored rows
// carry, replacement, application and cancellation with the supplier's balance, the
// refusals and the planned failures.
#include "platform/business/folio_contador.h"
#include "platform/business/nota_credito.h"
#include "tests/platform/business/nota_fixture.h"
#include "tests/platform/services/services_fixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qmx44;
using business::EncabezadoNota;
using business::NotaCredito;
using test::LineaNota;
using test::Resultado;

namespace {

const QString kCompra = QStringLiteral("C000000002");
const QString kP0002 = QStringLiteral("P0002");

LineaNota bt001(double bon) { return {"BT-001", "27", "NEG", "PAR", 1, bon}; }
LineaNota cj001(double cantidad, double bon) { return {"CJ-001", "", "", "PZA", cantidad, bon}; }

QDate fechaDe(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
        return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

class NotaCreditoTest : public ::testing::TestWithParam<std::string> {
protected:
    NotaCreditoTest() { demo.sesion->setFechaFija(QDate(2024, 8, 15)); }

    db::Conexion &db() { return demo.db(); }

    QVariant valor(const QString &sql, const QVariantList &valores = {})
    {
        auto rs = db().query(sql, valores);
        return rs->eof() ? QVariant() : rs->field(rs->columns().value(0));
    }
    double saldo(const QString &proveedor)
    {
        return valor(QStringLiteral("SELECT Pv_Saldo FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {proveedor})
            .toDouble();
    }
    qint64 filasNota(const QString &folio)
    {
        return valor(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"), {folio})
            .toLongLong();
    }
    QString estado(const QString &folio)
    {
        return valor(QStringLiteral("SELECT MIN(Es_Cve_Estado) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"),
                     {folio})
            .toString();
    }
    // Everything a refused or rolled-back operation must leave as it was.
    QString instantanea()
    {
        return valor(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR")).toString() + u'|' +
               valor(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Es_Cve_Estado = 'CA'"))
                   .toString() +
               u'|' + valor(QStringLiteral("SELECT SUM(Pv_Saldo) FROM Proveedor")).toString() + u'|' +
               valor(QStringLiteral("SELECT COUNT(*) FROM Nota_Credito_Aplicacion WHERE Ap_Cancelada = 0"))
                   .toString() +
               u'|' + valor(QStringLiteral("SELECT Fc_Ultimo FROM Folio_Contador WHERE Fc_Documento = ?"),
                            {QStringLiteral("NOTA_CREDITO_PROVEEDOR")})
                          .toString();
    }
    test::Guardado guardar(const std::vector<LineaNota> &lineas, bool aplicar = false, const QString &cancelar = {},
                           const EncabezadoNota &e = test::encabezadoNota())
    {
        NotaCredito nota(demo.sesion);
        return test::guardarNota(db(), nota, e, lineas, aplicar, cancelar);
    }

    test::SesionDemo demo{GetParam(), QStringLiteral("CXP01")};
};

// Guards against folios reused, skipped after a rollback, or given before a line exists.
TEST_P(NotaCreditoTest, FoliosAreConsecutiveAndARolledBackFolioIsDrawnAgain)
{
    const auto primera = guardar({bt001(100)});
    ASSERT_EQ(primera.resultado, Resultado::Guardada) << primera.mensaje.toStdString();
    EXPECT_EQ(primera.folio, QStringLiteral("0000000004"));

    {
        db::ScopedTransaction tx(db());
        NotaCredito nota(demo.sesion);
        nota.Nuevo();
        nota.Encabezado(test::encabezadoNota());
        EXPECT_EQ(nota.Encabezado().folio, QString());
        nota.Detalle(test::detalleNota(kCompra, bt001(10)));
        bool ok = false;
        nota.AgregarDetalle(ok);
        ASSERT_TRUE(ok) << nota.MensajeError().toStdString();
        EXPECT_EQ(nota.Encabezado().folio, QStringLiteral("0000000005"));
        EXPECT_EQ(nota.Detalle().folio, QStringLiteral("0000000005"));
    } // rolled back

    const auto segunda = guardar({cj001(10, 5)});
    ASSERT_EQ(segunda.resultado, Resultado::Guardada) << segunda.mensaje.toStdString();
    EXPECT_EQ(segunda.folio, QStringLiteral("0000000005"));
    EXPECT_EQ(filasNota(segunda.folio), 1);
}

// Guards against a counter's prefix being ignored and against drawing a folio that a
// stored note already carries.
TEST_P(NotaCreditoTest, FolioTakesThePrefixAndPassesOverFoliosInUse)
{
    db().run(QStringLiteral("UPDATE Folio_Contador SET Fc_Prefijo = 'NC', Fc_Ultimo = 6 WHERE Fc_Documento = ?"),
             {QStringLiteral("NOTA_CREDITO_PROVEEDOR")});
    db().run(QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio) VALUES (?, 1, ?)"),
             {QStringLiteral("NC00000007"), kCompra});
    const auto g = guardar({bt001(100)});
    ASSERT_EQ(g.resultado, Resultado::Guardada) << g.mensaje.toStdString();
    EXPECT_EQ(g.folio, QStringLiteral("NC00000008"));

    // A document without a counter row starts one at 1; outside a transaction nothing is drawn.
    db::ScopedTransaction tx(db());
    EXPECT_EQ(business::tomarFolio(db(), QStringLiteral("OTRO_DOCUMENTO"), {}), QStringLiteral("0000000001"));
    EXPECT_EQ(business::tomarFolio(db(), QStringLiteral("OTRO_DOCUMENTO"), {}), QStringLiteral("0000000002"));
    tx.commit();
    EXPECT_THROW(business::tomarFolio(db(), QStringLiteral("OTRO_DOCUMENTO"), {}), RuntimeError);
}

// Guards against stored rows that the pending check or the note load cannot read back:
// a missing header value, a wrong unit, a bonus that is not the typed amount.
TEST_P(NotaCreditoTest, StoredRowsCarryWhatThePendingCheckAndTheLoadReadBack)
{
    const double tercio = 0.1 + 0.2; // not representable exactly: must come back bit for bit
    const EncabezadoNota e = test::encabezadoNota();
    const auto g = guardar({bt001(123.45), cj001(150, 10.1), {"BT-002", "27", "CAF", "PAR", 5, tercio, 0.16, "KG", 8.5}});
    ASSERT_EQ(g.resultado, Resultado::Guardada) << g.mensaje.toStdString();

    auto rs = db().query(QStringLiteral("SELECT * FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ? ORDER BY Nc_Linea"),
                         {g.folio});
    struct Esperado {
        const char *producto, *talla, *color, *unidad1, *control1;
        double cantidadControl1, bon;
    };
    const Esperado esperados[] = {{"BT-001", "27", "NEG", "PAR", "PAR", 1, 123.45},
                                  {"CJ-001", "", "", "PZA", "PZA", 150, 10.1},
                                  {"BT-002", "27", "CAF", "PAR", "PAR", 5, tercio}};
    int linea = 0;
    for (const Esperado &x : esperados) {
        ASSERT_FALSE(rs->eof());
        SCOPED_TRACE(x.producto);
        auto f = [&](const char *c) { return rs->field(QString::fromLatin1(c)); };
        EXPECT_EQ(f("Nc_Linea").toInt(), ++linea);
        EXPECT_EQ(fechaDe(f("Nc_Fecha")), e.fecha);
        EXPECT_EQ(f("Nc_Referencia").toString(), e.referencia);
        EXPECT_EQ(f("Nc_Comentario").toString(), e.comentario);
        EXPECT_EQ(f("Mn_Cve_Moneda").toString(), e.moneda);
        EXPECT_EQ(f("Cn_Cve_Causa_Nota_Credito_Proveedor").toString(), e.causa);
        EXPECT_EQ(f("Nc_Tipo_Cambio").toDouble(), e.tipoCambio);
        EXPECT_EQ(f("Co_Folio").toString(), kCompra);
        EXPECT_EQ(f("Sc_Cve_Sucursal").toString(), e.sucursal);
        EXPECT_EQ(f("Al_Cve_Almacen").toString(), e.almacen);
        EXPECT_EQ(f("Pv_Cve_Proveedor").toString(), e.proveedor);
        EXPECT_EQ(f("Cm_Cve_Comprador").toString(), e.comprador);
        EXPECT_EQ(f("Es_Cve_Estado").toString(), QStringLiteral("AC"));
        EXPECT_EQ(f("Pr_Cve_Producto").toString(), QString::fromLatin1(x.producto));
        EXPECT_EQ(f("Tl_Cve_Talla").toString(), QString::fromLatin1(x.talla));
        EXPECT_EQ(f("Cl_Cve_Color").toString(), QString::fromLatin1(x.color));
        EXPECT_EQ(f("Nc_Unidad_1").toString(), QString::fromLatin1(x.unidad1));
        EXPECT_EQ(f("Nc_Unidad_Control_1").toString(), QString::fromLatin1(x.control1));
        EXPECT_DOUBLE_EQ(f("Nc_Cantidad_Control_1").toDouble(), x.cantidadControl1);
        EXPECT_EQ(f("Nc_Unidad_Control_2").toString(), QStringLiteral("KG"));
        EXPECT_EQ(f("Nc_Precio_Descontado_Importe").toDouble(), x.bon);
        EXPECT_EQ(f("Nc_Precio_Neto_Importe").toDouble(), x.bon + x.bon * 0.16);
        EXPECT_EQ(f("Nc_Impuesto_Importe").toDouble(), x.bon * 0.16);
        EXPECT_EQ(f("Nc_Folio_Sustituye").toString(), QString());
        EXPECT_EQ(f("Nc_Usuario").toString(), QStringLiteral("CXP01"));
        EXPECT_EQ(fechaDe(f("Nc_Fecha_Registro")), QDate(2024, 8, 15));
        rs->moveNext();
    }
    EXPECT_TRUE(rs->eof());

    // The note load's own statement finds every line.
    auto carga = db().execute(QStringLiteral("SELECT Nota_Credito_Proveedor.*, Pr_Descripcion FROM Nota_Credito_Proveedor "
                                             "INNER JOIN Producto ON Nota_Credito_Proveedor.Pr_Cve_Producto = "
                                             "Producto.Pr_Cve_Producto WHERE Nc_Folio = '") +
                              g.folio + QStringLiteral("' AND Co_Folio <> '' "));
    int filas = 0;
    for (; !carga->eof(); carga->moveNext())
        ++filas;
    EXPECT_EQ(filas, 3);

    // And the pending check now counts it.
    NotaCredito nota(demo.sesion);
    nota.Encabezado(e);
    // 1,160 - 174 - 143.202 = 842.798 pending: a net 842.9 passes, a net 843.5 does not.
    nota.Detalle(test::detalleNota(kCompra, bt001(842.9 / 1.16)));
    EXPECT_FALSE(test::excedePendiente(db(), nota));
    nota.Detalle(test::detalleNota(kCompra, bt001(843.5 / 1.16)));
    EXPECT_TRUE(test::excedePendiente(db(), nota));
}

// Guards against the lines of a note disagreeing on the header when the header was
// written again between lines, and against a note spanning two purchases.
TEST_P(NotaCreditoTest, HeaderWrittenAgainReachesEveryRowAndThePurchaseCannotChange)
{
    db::ScopedTransaction tx(db());
    NotaCredito nota(demo.sesion);
    EncabezadoNota e = test::encabezadoNota();
    bool ok = false;
    nota.Nuevo();
    nota.Encabezado(e);
    nota.Detalle(test::detalleNota(kCompra, bt001(10)));
    nota.AgregarDetalle(ok);
    ASSERT_TRUE(ok);
    e.referencia = QStringLiteral("OTRA-REF");
    nota.Encabezado(e);
    nota.Detalle(test::detalleNota(kCompra, cj001(1, 1)));
    nota.AgregarDetalle(ok);
    ASSERT_TRUE(ok);
    const QString folio = nota.Encabezado().folio;
    nota.Guardar(folio, ok);
    ASSERT_TRUE(ok) << nota.MensajeError().toStdString();
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ? "
                                   "AND Nc_Referencia = 'OTRA-REF'"),
                    {folio})
                  .toInt(),
              2);

    e.compra = QStringLiteral("C000000001");
    nota.Encabezado(e);
    nota.Detalle(test::detalleNota(e.compra, {"PL-001", "M", "BCO", "PZA", 1, 5}));
    nota.AgregarDetalle(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(nota.MensajeError(), QStringLiteral("Todas las partidas de la nota de crédito deben ser de la compra C000000002"));
}

// Guards against a balance that does not move, moves twice, or is not given back on
// cancellation, and against cancellations that lose who and when.
TEST_P(NotaCreditoTest, AplicarLowersTheBalanceAndCancelarGivesItBack)
{
    const double antes = saldo(kP0002);
    const auto g = guardar({bt001(100), cj001(10, 50)}, /*aplicar=*/true);
    ASSERT_EQ(g.resultado, Resultado::Guardada) << g.mensaje.toStdString();
    const double total = 116 + 58;
    EXPECT_DOUBLE_EQ(saldo(kP0002), antes - total);
    EXPECT_DOUBLE_EQ(valor(QStringLiteral("SELECT Ap_Importe FROM Nota_Credito_Aplicacion WHERE Nc_Folio = ?"), {g.folio})
                         .toDouble(),
                     total);
    EXPECT_EQ(valor(QStringLiteral("SELECT Ap_Usuario FROM Nota_Credito_Aplicacion WHERE Nc_Folio = ?"), {g.folio})
                  .toString(),
              QStringLiteral("CXP01"));

    NotaCredito nota(demo.sesion);
    bool ok = false;
    {
        db::ScopedTransaction tx(db());
        nota.Aplicar(g.folio, true, ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(nota.MensajeError(), QStringLiteral("La nota de crédito %1 ya está aplicada").arg(g.folio));
        nota.Aplicar(g.folio, false, ok); // not asked to apply: nothing to do
        EXPECT_TRUE(ok);
        nota.Cancelar(g.folio, ok);
        ASSERT_TRUE(ok) << nota.MensajeError().toStdString();
        tx.commit();
    }
    EXPECT_DOUBLE_EQ(saldo(kP0002), antes);
    EXPECT_EQ(estado(g.folio), QStringLiteral("CA"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ? AND "
                                   "Es_Cve_Estado = 'CA' AND Nc_Usuario_Cancela = 'CXP01'"),
                    {g.folio})
                  .toInt(),
              2);
    EXPECT_EQ(fechaDe(valor(QStringLiteral("SELECT MIN(Nc_Fecha_Cancelacion) FROM NOTA_CREDITO_PROVEEDOR "
                                           "WHERE Nc_Folio = ?"),
                            {g.folio})),
              QDate(2024, 8, 15));
    EXPECT_EQ(valor(QStringLiteral("SELECT Ap_Cancelada FROM Nota_Credito_Aplicacion WHERE Nc_Folio = ?"), {g.folio})
                  .toInt(),
              1);

    // The demo's applied note: cancelling it gives its 174 back and its pending amount
    // grows again, so a bonus of the whole line now passes the check.
    NotaCredito otra(demo.sesion);
    otra.Encabezado(test::encabezadoNota());
    otra.Detalle(test::detalleNota(kCompra, bt001(1000)));
    EXPECT_TRUE(test::excedePendiente(db(), otra));
    {
        db::ScopedTransaction tx(db());
        otra.Cancelar(QStringLiteral("0000000001"), ok);
        ASSERT_TRUE(ok) << otra.MensajeError().toStdString();
        tx.commit();
    }
    EXPECT_DOUBLE_EQ(saldo(kP0002), antes + 174);
    EXPECT_FALSE(test::excedePendiente(db(), otra));
}

// Guards against applying an amount in the wrong currency to the supplier's balance.
TEST_P(NotaCreditoTest, AplicarConvertsAForeignNoteAndRefusesWhatItCannotConvert)
{
    EncabezadoNota usd = test::encabezadoNota();
    usd.moneda = QStringLiteral("USD");
    usd.tipoCambio = 17.5;
    const double antes = saldo(kP0002);
    const auto g = guardar({bt001(10)}, true, {}, usd);
    ASSERT_EQ(g.resultado, Resultado::Guardada) << g.mensaje.toStdString();
    EXPECT_DOUBLE_EQ(saldo(kP0002), antes - 11.6 * 17.5);

    EncabezadoNota aDolares = test::encabezadoNota(kCompra, QStringLiteral("P0005"));
    const QString foto = instantanea();
    const auto refusada = guardar({bt001(10)}, true, {}, aDolares);
    EXPECT_EQ(refusada.resultado, Resultado::Fallo);
    EXPECT_TRUE(refusada.mensaje.contains(QStringLiteral("no se puede aplicar"))) << refusada.mensaje.toStdString();
    EXPECT_EQ(instantanea(), foto);
}

// Guards against a replacement that leaves the old note live, forgets which note it
// replaces, or still counts the old note in its own pending check.
TEST_P(NotaCreditoTest, ReplacementCancelsTheOldNoteAndRecordsIt)
{
    const auto vieja = guardar({bt001(100)}, true);
    ASSERT_EQ(vieja.resultado, Resultado::Guardada);
    const double antes = saldo(kP0002);
    // 986 pending before the old note; 870 with it. A net 928 fits only once it is cancelled.
    const auto nueva = guardar({bt001(800)}, true, vieja.folio);
    ASSERT_EQ(nueva.resultado, Resultado::Guardada) << nueva.mensaje.toStdString();
    EXPECT_NE(nueva.folio, vieja.folio);
    EXPECT_EQ(estado(vieja.folio), QStringLiteral("CA"));
    EXPECT_EQ(estado(nueva.folio), QStringLiteral("AC"));
    EXPECT_EQ(valor(QStringLiteral("SELECT MIN(Nc_Folio_Sustituye) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = ?"),
                    {nueva.folio})
                  .toString(),
              vieja.folio);
    EXPECT_DOUBLE_EQ(saldo(kP0002), antes + 116 - 928);

    // A replacement that fails after the cancellation leaves the old note as it was.
    const QString foto = instantanea();
    {
        db::ScopedTransaction tx(db());
        NotaCredito nota(demo.sesion);
        bool ok = false;
        nota.Cancelar(nueva.folio, ok);
        ASSERT_TRUE(ok);
        nota.Nuevo();
        nota.Encabezado(test::encabezadoNota());
        EXPECT_EQ(nota.Encabezado().folioSustituye, nueva.folio);
        nota.Detalle(test::detalleNota(kCompra, bt001(1)));
        nota.AgregarDetalle(ok);
        ASSERT_TRUE(ok);
    }
    EXPECT_EQ(instantanea(), foto);
    EXPECT_EQ(estado(nueva.folio), QStringLiteral("AC"));
}

// Guards against refusals that write anyway, report success, or give no reason.
TEST_P(NotaCreditoTest, RefusalsExplainThemselvesAndWriteNothing)
{
    struct Caso {
        const char *que;
        bool enTransaccion;
        std::function<void(NotaCredito &, bool &)> hacer;
        QString mensaje;
    };
    auto conLinea = [](const EncabezadoNota &e, const LineaNota &l) {
        return [e, l](NotaCredito &n, bool &ok) {
            n.Nuevo();
            n.Encabezado(e);
            n.Detalle(test::detalleNota(e.compra, l));
            n.AgregarDetalle(ok);
        };
    };
    EncabezadoNota sinCompra = test::encabezadoNota();
    sinCompra.compra.clear();
    const std::vector<Caso> casos = {
        {"add outside a transaction", false, conLinea(test::encabezadoNota(), bt001(1)),
         QStringLiteral("La nota de crédito sólo se modifica dentro de una transacción abierta")},
        {"cancel outside a transaction", false, [](NotaCredito &n, bool &ok) { n.Cancelar(QStringLiteral("0000000001"), ok); },
         QStringLiteral("La nota de crédito sólo se modifica dentro de una transacción abierta")},
        {"no purchase", true, conLinea(sinCompra, bt001(1)),
         QStringLiteral("La nota de crédito no indica la compra a la que se aplica")},
        {"no product", true, conLinea(test::encabezadoNota(), {"", "27", "NEG", "PAR", 1, 5}),
         QStringLiteral("La partida no indica el producto")},
        {"zero bonus", true, conLinea(test::encabezadoNota(), bt001(0)),
         QStringLiteral("El importe a bonificar del producto BT-001 debe ser mayor que cero")},
        {"negative bonus", true, conLinea(test::encabezadoNota(), bt001(-5)),
         QStringLiteral("El importe a bonificar del producto BT-001 debe ser mayor que cero")},
        {"line not in the purchase", true, conLinea(test::encabezadoNota(), {"BT-001", "27", "NEG", "PZA", 1, 5}),
         QStringLiteral("El producto BT-001 (talla '27', color 'NEG', unidad 'PZA') no está en la compra C000000002")},
        {"save without lines", true,
         [](NotaCredito &n, bool &ok) {
             n.Nuevo();
             n.Encabezado(test::encabezadoNota());
             n.Guardar(QString(), ok);
         },
         QStringLiteral("La nota de crédito no tiene partidas")},
        {"cancel a missing note", true, [](NotaCredito &n, bool &ok) { n.Cancelar(QStringLiteral("0000000099"), ok); },
         QStringLiteral("No existe la nota de crédito 0000000099")},
        {"cancel a cancelled note", true, [](NotaCredito &n, bool &ok) { n.Cancelar(QStringLiteral("0000000002"), ok); },
         QStringLiteral("La nota de crédito 0000000002 ya está cancelada")},
        {"cancel without folio", true, [](NotaCredito &n, bool &ok) { n.Cancelar(QString(), ok); },
         QStringLiteral("No se indicó el folio de la nota de crédito a cancelar")},
        {"apply a missing note", true, [](NotaCredito &n, bool &ok) { n.Aplicar(QStringLiteral("0000000099"), true, ok); },
         QStringLiteral("No existe la nota de crédito 0000000099")},
        {"apply a cancelled note", true, [](NotaCredito &n, bool &ok) { n.Aplicar(QStringLiteral("0000000002"), true, ok); },
         QStringLiteral("La nota de crédito 0000000002 está cancelada; no se puede aplicar")},
        {"apply an applied note", true, [](NotaCredito &n, bool &ok) { n.Aplicar(QStringLiteral("0000000001"), true, ok); },
         QStringLiteral("La nota de crédito 0000000001 ya está aplicada")},
    };
    const QString foto = instantanea();
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.que);
        NotaCredito nota(demo.sesion);
        bool ok = true;
        if (caso.enTransaccion) {
            db::ScopedTransaction tx(db());
            caso.hacer(nota, ok);
            EXPECT_EQ(instantanea(), foto); // nothing written, even before the rollback
        } else {
            caso.hacer(nota, ok);
            EXPECT_EQ(instantanea(), foto);
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(nota.MensajeError(), caso.mensaje);
    }

    // Saving under a folio other than the one drawn.
    db::ScopedTransaction tx(db());
    NotaCredito nota(demo.sesion);
    bool ok = false;
    conLinea(test::encabezadoNota(), bt001(1))(nota, ok);
    ASSERT_TRUE(ok);
    nota.Guardar(QStringLiteral("0000000099"), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(nota.MensajeError(),
              QStringLiteral("El folio 0000000099 no es el de la nota de crédito en captura (0000000004)"));
}

// Guards against a planned failure being ignored, reported without its text, writing
// anyway, or outliving the one call it was planned for.
TEST_P(NotaCreditoTest, PlannedFailuresFailOnceWithTheirText)
{
    const auto vigente = guardar({bt001(10)});
    ASSERT_EQ(vigente.resultado, Resultado::Guardada);
    for (const char *operacion : {"NotaCredito.AgregarDetalle", "NotaCredito.Guardar", "NotaCredito.Aplicar",
                                  "NotaCredito.Cancelar"}) {
        SCOPED_TRACE(operacion);
        const QString texto = QStringLiteral("falla planeada de %1").arg(QLatin1String(operacion));
        NotaCredito nota(demo.sesion);
        db::ScopedTransaction tx(db());
        nota.Nuevo();
        nota.Encabezado(test::encabezadoNota());
        nota.Detalle(test::detalleNota(kCompra, bt001(1)));
        bool ok = false;
        auto llamar = [&](const QString &op) {
            if (op == QLatin1String("NotaCredito.AgregarDetalle"))
                nota.AgregarDetalle(ok);
            else if (op == QLatin1String("NotaCredito.Guardar"))
                nota.Guardar(nota.Encabezado().folio, ok);
            else if (op == QLatin1String("NotaCredito.Aplicar"))
                nota.Aplicar(vigente.folio, true, ok);
            else
                nota.Cancelar(vigente.folio, ok);
        };
        if (QLatin1String(operacion) == QLatin1String("NotaCredito.Guardar")) {
            nota.AgregarDetalle(ok);
            ASSERT_TRUE(ok);
        }
        const QString antesDeLaFalla = instantanea();
        demo.sesion->faults().arm(QString::fromLatin1(operacion), texto);
        llamar(QString::fromLatin1(operacion));
        EXPECT_FALSE(ok);
        EXPECT_EQ(nota.MensajeError(), texto);
        EXPECT_EQ(instantanea(), antesDeLaFalla);
        llamar(QString::fromLatin1(operacion));
        EXPECT_TRUE(ok) << nota.MensajeError().toStdString();
        EXPECT_EQ(nota.MensajeError(), QString());
    }
}

// Guards against folios that do not fit the width the folio field and its
// normalisation use.
TEST(FolioContador, FoliosAreComposedToTheCounterWidth)
{
    EXPECT_EQ(business::componerFolio(QString(), 4, 10), QStringLiteral("0000000004"));
    EXPECT_EQ(business::componerFolio(QStringLiteral("NC"), 4, 10), QStringLiteral("NC00000004"));
    EXPECT_EQ(business::componerFolio(QString(), 4, 0), QStringLiteral("0000000004"));
    EXPECT_EQ(business::componerFolio(QString(), 9999999999, 10), QStringLiteral("9999999999"));
    EXPECT_EQ(business::componerFolio(QString(), 10000000000, 10), QString());
    EXPECT_EQ(business::componerFolio(QStringLiteral("NC"), 100000000, 10), QString());
}

INSTANTIATE_TEST_SUITE_P(Backends, NotaCreditoTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
