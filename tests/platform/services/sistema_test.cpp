// Sistema against the demo company: parameters, rights, the user's branch and warehouse,
// the coded message, and planned failures — on every back-end of this run.
#include "platform/controls/controls.h"
#include "platform/services/sistema.h"
#include "services_fixture.h"

#include <gtest/gtest.h>

using namespace qmx44;
using qmx44::services::Sistema;

namespace {

class SistemaTest : public ::testing::TestWithParam<std::string> {
protected:
    test::DemoSession demo{GetParam()};
    Sistema sistema{demo.session};
};

// Guards against parameters read with the wrong type or without their stored value,
// "N"/"NO" flags read as true (a non-empty text converts to true), and a parameter name
// spliced into the statement.
TEST_P(SistemaTest, ParametroReturnsTheStoredValueConvertedByType)
{
    const QVariant moneda = sistema.Parametro(QStringLiteral("FIN_MONEDA_LOCAL"), 0, QString(), QString());
    EXPECT_EQ(moneda.typeId(), QMetaType::QString);
    EXPECT_EQ(moneda.toString(), QStringLiteral("MN"));
    // A stored flag type decides when the caller gives none.
    const QVariant validar = sistema.Parametro(QStringLiteral("GEN_VALIDAR_PERIODO_OPERATIVO"));
    EXPECT_EQ(validar.typeId(), QMetaType::Bool);
    EXPECT_TRUE(validar.toBool());

    const QString insert = QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor, Pa_Tipo) VALUES (?, ?, ?)");
    demo.db().run(insert, {QStringLiteral("X_NO"), QStringLiteral("NO"), QStringLiteral("B")});
    demo.db().run(insert, {QStringLiteral("O'HARA"), QStringLiteral("si"), QStringLiteral("T")});
    EXPECT_FALSE(sistema.Parametro(QStringLiteral("X_NO")).toBool());
    EXPECT_TRUE(sistema.Parametro(QStringLiteral("O'HARA"), 0, QStringLiteral("B")).toBool());
    EXPECT_EQ(sistema.Parametro(QStringLiteral("O'HARA")).toString(), QStringLiteral("si"));
    EXPECT_FALSE(sistema.Parametro(QStringLiteral("x' OR '1'='1")).isValid());
}

// Guards against undefined or valueless parameters giving something other than the
// caller's default, or a made-up value when there is no default.
TEST_P(SistemaTest, ParametroFallsBackToTheDefault)
{
    EXPECT_FALSE(sistema.Parametro(QStringLiteral("NO_DEFINIDO")).isValid());
    const QVariant bandera =
        sistema.Parametro(QStringLiteral("NO_DEFINIDO"), 0, QStringLiteral("B"), QStringLiteral("0"));
    EXPECT_EQ(bandera.typeId(), QMetaType::Bool);
    EXPECT_FALSE(bandera.toBool());

    demo.db().run(QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor, Pa_Tipo) VALUES (?, NULL, 'T')"),
                  {QStringLiteral("SIN_VALOR")});
    EXPECT_EQ(sistema.Parametro(QStringLiteral("SIN_VALOR"), 0, QString(), QStringLiteral("D")).toString(),
              QStringLiteral("D"));
    const QVariant vacio = sistema.Parametro(QStringLiteral("SIN_VALOR"));
    EXPECT_TRUE(vacio.isValid());
    EXPECT_EQ(vacio.toString(), QString());
}

// Guards against rights read for the wrong user or module, and missing rows granting.
TEST_P(SistemaTest, PermisoFollowsTheUsersRows)
{
    const auto permiso = [&](const char *modulo, const char *derecho) {
        return sistema.Permiso(QString::fromLatin1(modulo), QString::fromLatin1(derecho), QStringLiteral("No"));
    };
    EXPECT_TRUE(permiso("QMX44", "CHFECHA"));
    EXPECT_FALSE(permiso("QMX44", "CHTC01"));
    EXPECT_FALSE(permiso("OTRO", "CHFECHA"));
    demo.session->setUser(QStringLiteral("CXP01"));
    EXPECT_FALSE(permiso("QMX44", "CHFECHA"));
    EXPECT_TRUE(permiso("QMX44", "CHTC01"));
    demo.session->setUser(QString()); // nobody signed in holds nothing
    EXPECT_FALSE(permiso("QMX44", "CHFECHA"));
}

// Guards against an unknown user being treated as unrestricted.
TEST_P(SistemaTest, UnknownUserIsRefused)
{
    demo.session->setUser(QStringLiteral("NADIE"));
    EXPECT_THROW(sistema.Sucursal(), RuntimeError);
    EXPECT_THROW(sistema.Almacen(), RuntimeError);
}

// Guards against an operation that ignores the host's planned failure, or one that
// fails more than once for one planned failure.
TEST_P(SistemaTest, EveryOperationHonoursThePlannedFailure)
{
    test::expectEachHonoursOnePlannedFailure(
        *demo.session,
        {
            {QStringLiteral("Sistema.Conexion"), [&] { sistema.Conexion(); }},
            {QStringLiteral("Sistema.Sucursal"), [&] { sistema.Sucursal(); }},
            {QStringLiteral("Sistema.Almacen"), [&] { sistema.Almacen(); }},
            {QStringLiteral("Sistema.Parametro"), [&] { sistema.Parametro(QStringLiteral("FIN_MONEDA_LOCAL")); }},
            {QStringLiteral("Sistema.Permiso"),
             [&] { sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("CHFECHA")); }},
            {QStringLiteral("Sistema.Mensaje"),
             [&] {
                 sistema.Mensaje(QStringLiteral("t"), 48, QStringLiteral("Orvalis"), 0, QStringLiteral("QMX44"),
                                 QString());
             }},
        });
    // The failed message never reached the user.
    EXPECT_EQ(demo.sink->messages().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Backends, SistemaTest, ::testing::ValuesIn(test::backends()), test::backendName);

// Guards against a host without a database getting a crash instead of an error.
TEST(SistemaWithoutConnectionTest, ConexionIsRefusedWithAnError)
{
    Sistema sistema(std::make_shared<services::Session>());
    EXPECT_THROW(sistema.Conexion(), RuntimeError);
    EXPECT_THROW(sistema.Parametro(QStringLiteral("FIN_MONEDA_LOCAL")), RuntimeError);
}

} // namespace

// Guards against a message coming up over a grid cell still being typed: its edit ends
// (event 50) first, as the user leaving the cell would.
TEST_P(SistemaTest, MensajeEndsAnOpenGridEditFirst)
{
    controls::Desktop::reset();
    controls::Form form(QStringLiteral("frm"));
    auto &grid = form.add<controls::Grid>(QStringLiteral("grd"));
    controls::ColumnDef column;
    column.editable = true;
    grid.setColumns({column});
    grid.addRow();
    form.show();
    int done = 0;
    grid.CellDone.connect([&](int) { ++done; });
    grid.gotoCell(0, 0);
    grid.typeChar('5');
    sistema.Mensaje(QStringLiteral("t"), 48, QStringLiteral("Orvalis"), form.handle(), QString(), QString());
    EXPECT_EQ(1, done);
    EXPECT_FALSE(grid.editing());
    controls::Desktop::reset();
}
