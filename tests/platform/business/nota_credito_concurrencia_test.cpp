// Several clerks saving credit notes on the same purchase lines at the same moment, each
// on a connection of its own and each running the pending check inside its own
// transaction: no line may end up credited beyond what was pending and no folio may be
// drawn twice — on every back-end (SQLite as a shared file).
#include "platform/business/nota_credito.h"
#include "platform/db/open.h"
#include "platform/services/sesion.h"
#include "tests/platform/business/nota_fixture.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <QSet>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using namespace qmx44;
using business::NotaCredito;
using test::LineaNota;
using test::Resultado;

namespace {

const LineaNota kBotas{"BT-001", "27", "NEG", "PAR", 1, 100};   // net 116 of 986 pending
const LineaNota kCajas{"CJ-001", "", "", "PZA", 10, 50};         // net 58 of 783 pending

std::shared_ptr<services::Sesion> sesionPara(const QString &conexion, const QString &usuario)
{
    std::shared_ptr<db::Conexion> c = db::open(conexion, db::OpenMode::Existing);
    auto sesion = std::make_shared<services::Sesion>(c, usuario);
    sesion->setFechaFija(QDate(2024, 8, 15));
    return sesion;
}

class NotaCreditoConcurrenciaTest : public ::testing::TestWithParam<std::string> {};

// Guards against two clerks both seeing the same pending amount and together granting
// more than it (the purchase's lines not locked before the check), and against two
// clerks drawing the same folio or a rolled-back save leaving a gap.
TEST_P(NotaCreditoConcurrenciaTest, ClerksSavingAtOnceNeverGrantMoreThanIsPending)
{
    test::FreshDatabase fresh(GetParam(), /*demo=*/true);
    const QString cs = fresh.connectionString();
    constexpr int kEmpleados = 6;
    constexpr int kIntentos = 6;

    std::mutex candado;
    QStringList folios, errores;
    std::atomic<int> listos{0};
    auto empleado = [&](int n) {
        try {
            auto sesion = sesionPara(cs, QStringLiteral("CXP%1").arg(n));
            ++listos;
            while (listos.load() < kEmpleados)
                std::this_thread::yield();
            for (int i = 0; i < kIntentos; ++i) {
                // Boots only, boxes only, or both on one note.
                const int tipo = (n + i) % 3;
                std::vector<LineaNota> lineas;
                if (tipo != 1)
                    lineas.push_back(kBotas);
                if (tipo != 0)
                    lineas.push_back(kCajas);
                NotaCredito nota(sesion);
                const auto g = test::guardarNota(sesion->conexion(), nota, test::encabezadoNota(), lineas);
                std::lock_guard<std::mutex> l(candado);
                if (g.resultado == Resultado::Guardada)
                    folios.append(g.folio);
                else if (g.resultado == Resultado::Fallo)
                    errores.append(g.mensaje);
            }
        } catch (const std::exception &e) {
            std::lock_guard<std::mutex> l(candado);
            errores.append(describe(e));
        }
    };
    std::vector<std::thread> hilos;
    for (int n = 0; n < kEmpleados; ++n)
        hilos.emplace_back(empleado, n);
    for (auto &h : hilos)
        h.join();
    EXPECT_TRUE(errores.isEmpty()) << errores.join(u'\n').toStdString();

    db::Conexion &db = fresh.connection();
    auto suma = [&](const LineaNota &l, const char *que) {
        auto rs = db.query(QStringLiteral("SELECT %1 AS v FROM NOTA_CREDITO_PROVEEDOR WHERE Co_Folio = 'C000000002' AND "
                                          "Pr_Cve_Producto = ? AND Tl_Cve_Talla = ? AND Cl_Cve_Color = ? AND "
                                          "Nc_Unidad_1 = ? AND Es_Cve_Estado <> 'CA'")
                               .arg(QLatin1String(que)),
                           {l.producto, l.talla, l.color, l.unidad1});
        return rs->field(QStringLiteral("v")).toDouble();
    };
    // 1,160 bought with 174 granted before: room for exactly 8 notes of 116.
    EXPECT_LE(suma(kBotas, "SUM(Nc_Precio_Neto_Importe)"), 1160.0);
    EXPECT_EQ(suma(kBotas, "COUNT(*)"), 1 + 8);
    // 783 bought: room for 13 notes of 58; at least the 12 boxes-only attempts fit.
    EXPECT_LE(suma(kCajas, "SUM(Nc_Precio_Neto_Importe)"), 783.0);
    EXPECT_GE(suma(kCajas, "COUNT(*)"), 12);

    // Every saved note has its own folio, and they run on from the demo's 3 without gaps.
    QSet<QString> esperados;
    for (int i = 0; i < folios.size(); ++i)
        esperados.insert(QStringLiteral("%1").arg(4 + i, 10, 10, QLatin1Char('0')));
    EXPECT_EQ(QSet<QString>(folios.begin(), folios.end()), esperados);
    EXPECT_EQ(folios.size(), QSet<QString>(folios.begin(), folios.end()).size());
    auto rs = db.query(QStringLiteral("SELECT COUNT(DISTINCT Nc_Folio) AS n FROM NOTA_CREDITO_PROVEEDOR"));
    EXPECT_EQ(rs->field(QStringLiteral("n")).toInt(), 3 + folios.size());
}

// Guards against a second save on the same purchase going ahead (and running its
// pending check) while the first one is still open.
TEST_P(NotaCreditoConcurrenciaTest, ASecondSaveOnThePurchaseWaitsForTheFirst)
{
    test::FreshDatabase fresh(GetParam(), /*demo=*/true);
    const QString cs = fresh.connectionString();
    auto primera = sesionPara(cs, QStringLiteral("CXP01"));
    db::Conexion &c1 = primera->conexion();
    c1.begin();
    NotaCredito nota(primera);
    nota.Nuevo();
    nota.Encabezado(test::encabezadoNota());

    std::atomic<bool> adelante{false};
    QString error;
    std::thread segunda([&] {
        try {
            auto sesion = sesionPara(cs, QStringLiteral("CXP02"));
            db::ScopedTransaction tx(sesion->conexion());
            NotaCredito otra(sesion);
            otra.Nuevo();
            otra.Encabezado(test::encabezadoNota());
            adelante = true;
        } catch (const std::exception &e) {
            error = describe(e);
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_FALSE(adelante.load());
    c1.commit();
    segunda.join();
    EXPECT_TRUE(adelante.load()) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, NotaCreditoConcurrenciaTest, ::testing::ValuesIn(test::backends()),
                         test::backendName);

} // namespace
