// Two clerks writing notes at the same moment on one PostgreSQL server, each on a
// connection of his own: the second clerk runs in a thread (a connection belongs to the
// thread that opened it) and the first one steps by hand until the second waits on a
// lock. A lock timeout turns a regression into a quick failure instead of a hang. Two
// clerks cancelling one note, saving over one line and drawing folios together are the
// load test's (its clerks share a few purchases; it checks what they leave behind).
#include "platform/business/nota_credito.h"
#include "platform/db/open.h"
#include "tests/platform/business/nota_fixture.h"
#include "tests/platform/services/services_fixture.h"

#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

using namespace qmx44;
using business::NotaCredito;
using test::NoteLine;
using test::Resultado;

namespace {

const QString kNotaAplicada = QStringLiteral("0000000001"); // C000000002, applied to P0002
const QString kOtraCompra = QStringLiteral("C000000090");   // another purchase of P0002

NoteLine bt001(double bon)
{
    return {"BT-001", "27", "NEG", "PAR", 1, bon};
}

class ClerksTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (GetParam() != "postgres")
            GTEST_SKIP() << "row locks are PostgreSQL's; SQLite serialises every write transaction";
        demo = std::make_unique<test::DemoSession>(GetParam(), QStringLiteral("CXP01"));
        demo->session->setFixedDate(QDate(2024, 8, 15));
        db().run(QStringLiteral("SET lock_timeout = '8s'"));
    }

    db::Conexion &db() { return demo->db(); }

    double scalar(const QString &sql, const QVariantList &valores = {})
    {
        auto rs = db().query(sql, valores);
        return rs->field(rs->columns().value(0)).toDouble();
    }

    double saldoP0002()
    {
        return scalar(QStringLiteral("SELECT Pv_Saldo FROM Proveedor WHERE Pv_Cve_Proveedor = 'P0002'"));
    }

    // The other clerk: his own connection and session, in a thread, until `work` ends.
    std::thread otherClerk(std::function<void(db::Conexion &, const std::shared_ptr<services::Session> &)> work)
    {
        const QString cs = demo->fresh.connectionString();
        return std::thread([cs, work] {
            std::shared_ptr<db::Conexion> c = db::open(cs, db::OpenMode::Existing);
            c->run(QStringLiteral("SET lock_timeout = '8s'"));
            auto session = std::make_shared<services::Session>(c, QStringLiteral("CXP02"));
            session->setFixedDate(QDate(2024, 8, 15));
            work(*c, session);
        });
    }

    // Until some statement of the database waits on a row lock (pg_locks is read afresh by
    // every statement, unlike pg_stat_activity inside a transaction).
    bool someoneWaits()
    {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            if (scalar(QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE NOT granted")) > 0)
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    std::unique_ptr<test::DemoSession> demo;
};

// Guards against a deadlock between a plain save that applies its note (counter, then
// supplier) and the replacement of an applied note of the same supplier (supplier, then
// counter).
TEST_P(ClerksTest, ANewNoteAndTheReplacementOfAnAppliedOneNeverDeadlock)
{
    db().run(QStringLiteral(
                 "INSERT INTO COMPRA (Co_Folio, Co_Linea, Sc_Cve_Sucursal, Al_Cve_Almacen, Pv_Cve_Proveedor, "
                 "Cm_Cve_Comprador, Mn_Cve_Moneda, Es_Cve_Estado, Pr_Cve_Producto, Tl_Cve_Talla, Cl_Cve_Color, "
                 "Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, Co_Unidad_Control_1, Co_Impuesto_Factor, "
                 "Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Impuesto_Importe, Co_Precio_Neto_Importe) "
                 "VALUES (?, 1, '001', 'A03', 'P0002', 'CM02', 'MN', 'AC', 'BT-001', '27', 'NEG', 2, 'PAR', 2, 'PAR', "
                 "0.16, 600, 600, 96, 696)"),
             {kOtraCompra});
    const double saldoAntes = saldoP0002();
    const double aplicado =
        scalar(QStringLiteral("SELECT Ap_Importe FROM Nota_Credito_Aplicacion WHERE Nc_Folio = ?"), {kNotaAplicada});

    // Clerk 1 replaces the applied note: its cancellation gives the balance back.
    db::ScopedTransaction tx(db());
    NotaCredito reemplazo(demo->session, db());
    bool ok = false;
    reemplazo.Cancelar(kNotaAplicada, ok);
    ASSERT_TRUE(ok) << reemplazo.MensajeError().toStdString();

    // Clerk 2 saves and applies a new note on the other purchase meanwhile.
    test::SavedNote nueva;
    std::thread clerk2 = otherClerk([&nueva](db::Conexion &c, const std::shared_ptr<services::Session> &session) {
        NotaCredito nota(session, c);
        nueva = test::saveNote(c, nota, test::noteHeader(kOtraCompra), {bt001(100)}, /*aplicar=*/true);
    });
    const bool waited = someoneWaits();

    // Clerk 1 completes the replacement and applies it.
    reemplazo.Nuevo();
    reemplazo.Encabezado(test::noteHeader());
    reemplazo.Detalle(test::noteDetail(QStringLiteral("C000000002"), bt001(10)));
    reemplazo.AgregarDetalle(ok);
    if (ok)
        reemplazo.Guardar(reemplazo.Encabezado().folio, ok);
    if (ok)
        reemplazo.Aplicar(reemplazo.Encabezado().folio, true, ok);
    ok ? tx.commit() : tx.rollback();
    clerk2.join();

    EXPECT_TRUE(waited);
    EXPECT_TRUE(ok) << reemplazo.MensajeError().toStdString();
    EXPECT_EQ(nueva.resultado, Resultado::Guardada) << nueva.mensaje.toStdString();
    EXPECT_NEAR(saldoP0002(), saldoAntes + aplicado - 11.6 - 116, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Backends, ClerksTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
