// Several clerks saving notes on the same purchase lines at the same moment, each a
// `qmx44 script` process on one shared database (an SQLite file; a PostgreSQL database
// when QMX44_TEST_PG is set). Afterwards no line may be credited beyond what the
// pending rule allows and every saved note must have a folio of its own.
//
// Each process bonuses all 60 lines of one purchase with 210 (243.60 with tax) against
// 1,160 purchased on each line: four such notes fit (974.40), a fifth does not (243 >
// 185). Six processes start together: exactly four must save and two must be refused
// with ERR-ID:7500007. The processes are held at a barrier just before Aceptar (a
// statement that waits for a lock the test holds) and released together, so that their
// saves really overlap.
#include "tests/support/test_db.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>

using Json = nlohmann::json;
using namespace qmx44;

namespace {

constexpr int Procesos = 6;
constexpr int Lineas = 60;
constexpr double Bono = 210;
const QString Compra = QStringLiteral("C000000100");

// The purchase every clerk credits, with its products; the required additional field
// made optional so that a script need not fill it.
void preparePurchase(db::Conexion &c)
{
    db::ScopedTransaction t(c);
    for (int i = 1; i <= Lineas; ++i) {
        const QString producto = QStringLiteral("CC-%1").arg(i, 3, 10, QLatin1Char('0'));
        c.run(QStringLiteral("INSERT INTO Producto (Pr_Cve_Producto, Pr_Descripcion) VALUES (?, ?)"),
              {producto, QStringLiteral("Artículo concurrente %1").arg(i)});
        c.run(QStringLiteral("INSERT INTO COMPRA (Co_Folio, Co_Linea, Sc_Cve_Sucursal, Al_Cve_Almacen, "
                             "Pv_Cve_Proveedor, Cm_Cve_Comprador, Mn_Cve_Moneda, Es_Cve_Estado, Pr_Cve_Producto, "
                             "Tl_Cve_Talla, Cl_Cve_Color, Co_Cantidad_1, Co_Unidad_1, Co_Cantidad_Control_1, "
                             "Co_Unidad_Control_1, Co_Cantidad_Control_2, Co_Unidad_Control_2, Co_Impuesto_Factor, "
                             "Co_Precio_Lista_Importe, Co_Precio_Descontado_Importe, Co_Impuesto_Importe, "
                             "Co_Precio_Neto_Importe) VALUES (?, ?, '001', 'A01', 'P0001', 'CM01', 'MN', 'AC', ?, "
                             "'M', 'NEG', 10, 'PZA', 10, 'PZA', 2, 'KG', 0.16, 1000, 1000, 160, ?)"),
              {Compra, i, producto, 1160});
    }
    c.run(QStringLiteral("UPDATE Campo_Adicional SET Ca_Requerido = 0"));
    t.commit();
}

// The barrier: what waits while the test holds its lock. PostgreSQL: a shared advisory
// lock against the test's exclusive one, read before Aceptar. SQLite: the save itself,
// whose transaction waits for the test's open write transaction.
constexpr int Candado = 7044;
QString gate(const std::string &backend)
{
    if (backend == "postgres")
        return QStringLiteral("query SELECT pg_advisory_lock_shared(%1) IS NULL AS \"x\"\n").arg(Candado);
    return QString();
}

void barreraCerrada(db::Conexion &c, const std::string &backend, bool cerrada)
{
    if (backend != "postgres")
        cerrada ? c.begin() : c.commit();
    else
        c.query(QStringLiteral("SELECT pg_advisory_%1(%2)").arg(cerrada ? "lock" : "unlock").arg(Candado))->close();
}

// A clerk's note: the purchase, the cause, every line bonused; "messages" says the
// clerk is ready, the barrier holds him, then Aceptar.
QString clerkScript(const std::string &backend)
{
    QString s = QStringLiteral("open\nclick Nuevo\ntype txt_Co_Folio %1\nenter txt_Co_Folio\n"
                               "type txt_Cn_Cve_Causa_Nota BC\nenter txt_Cn_Cve_Causa_Nota\npage 1\n")
                    .arg(Compra);
    for (int r = 1; r <= Lineas; ++r)
        s += QStringLiteral("cell %1 BON_IMPORTE %2\n").arg(r).arg(Bono);
    s += QStringLiteral("messages\n%1click Aceptar\ndump\n").arg(gate(backend));
    return s;
}

class ConcurrencyTest : public ::testing::TestWithParam<std::string> {};

// Guards against two saves that both read the same pending amount granting more than
// the purchase line holds together, and against two notes drawing the same folio.
TEST_P(ConcurrencyTest, SimultaneousSavesNeverOvercreditAndNeverShareAFolio)
{
    test::FreshDatabase fresh(GetParam(), /*demo=*/true);
    preparePurchase(fresh.connection());
    // The clerks sign in to a company's database; they wait for the barrier longer than
    // a clerk would wait for a lock.
    QString cs;
    QStringList user;
    if (GetParam() == "sqlite") {
        cs = fresh.connectionString() + QStringLiteral("?busy_timeout=180000");
        user = QStringList{QStringLiteral("--user"), QStringLiteral("CXP01")};
    } else {
        cs = test::clerkConnectionString(fresh, QStringLiteral("CXP01")) + QStringLiteral("&lock_timeout=180s");
    }

    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("guardar.scenario"));
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(clerkScript(GetParam()).toUtf8());
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QMX44_COMPONENT_PATH"), QStringLiteral(QMX44_COMPONENT_DIR));
    env.insert(QStringLiteral("HOME"), dir.path());
    db::Conexion &c = fresh.connection();
    barreraCerrada(c, GetParam(), true);
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < Procesos; ++i) {
        auto p = std::make_unique<QProcess>();
        // Each clerk's drafts are its own: one clerk's unsaved note is never offered to another.
        QProcessEnvironment own = env;
        own.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data%1").arg(i)));
        p->setProcessEnvironment(own);
        p->start(QStringLiteral(QMX44_EXECUTABLE),
                 QStringList{QStringLiteral("script"), QStringLiteral("--db"), cs, QStringLiteral("--today"),
                             QStringLiteral("2024-07-15"), script}
                     + user);
        ASSERT_TRUE(p->waitForStarted()) << p->errorString().toStdString();
        procesos.push_back(std::move(p));
    }

    // Every clerk ready (his first line printed), a moment to reach the barrier, go.
    QDeadlineTimer plazo(120000);
    for (auto &p : procesos) {
        while (!p->canReadLine() && p->state() != QProcess::NotRunning && !plazo.hasExpired())
            p->waitForReadyRead(1000);
        ASSERT_TRUE(p->canReadLine()) << QString::fromUtf8(p->readAllStandardError()).toStdString();
    }
    QThread::msleep(300);
    barreraCerrada(c, GetParam(), false);

    int guardadas = 0;
    for (auto &p : procesos) {
        ASSERT_TRUE(p->waitForFinished(180000)) << "a qmx44 script process did not finish";
        const QString err = QString::fromUtf8(p->readAllStandardError());
        const QStringList lineas = QString::fromUtf8(p->readAll()).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_TRUE(p->exitCode() == 0 && !lineas.isEmpty()) << err.toStdString();
        const Json mensajes = Json::parse(lineas.last().toStdString())["messages"];
        if (mensajes.empty())
            ++guardadas;
        else
            EXPECT_EQ("ERR-ID:7500007", mensajes[0]["id"].get<std::string>()) << mensajes.dump();
    }
    EXPECT_EQ(4, guardadas);

    // Four whole notes (a fifth would credit a line beyond the rule), every folio drawn once.
    auto rs = c.query(
        QStringLiteral("SELECT COUNT(DISTINCT Nc_Folio) AS Folios, COUNT(*) AS Filas FROM NOTA_CREDITO_PROVEEDOR "
                       "WHERE Co_Folio = ?"),
        {Compra});
    EXPECT_EQ(guardadas, rs->field(QStringLiteral("Folios")).toInt());
    EXPECT_EQ(guardadas * Lineas, rs->field(QStringLiteral("Filas")).toInt());
}

INSTANTIATE_TEST_SUITE_P(Backends, ConcurrencyTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
