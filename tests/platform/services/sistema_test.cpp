// Sistema against the demo company: parameters, rights, the user's branch and warehouse,
// the coded message, and planned failures — on every back-end of this run.
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

// Guards against parameters read with the wrong type or without their stored value.
TEST_P(SistemaTest, ParametroReturnsTheStoredValueConvertedByType)
{
    const QVariant moneda = sistema.Parametro(QStringLiteral("FIN_MONEDA_LOCAL"), 0, QString(), QString());
    EXPECT_EQ(moneda.typeId(), QMetaType::QString);
    EXPECT_EQ(moneda.toString(), QStringLiteral("MN"));

    const QVariant aplicar =
        sistema.Parametro(QStringLiteral("CXP_APLICAR_NOTA_CREDITO"), 0, QStringLiteral("B"), QStringLiteral("0"));
    EXPECT_EQ(aplicar.typeId(), QMetaType::Bool);
    EXPECT_TRUE(aplicar.toBool());

    // A stored flag type decides when the caller gives none.
    const QVariant validar = sistema.Parametro(QStringLiteral("GEN_VALIDAR_PERIODO_OPERATIVO"));
    EXPECT_EQ(validar.typeId(), QMetaType::Bool);
    EXPECT_TRUE(validar.toBool());
}

// Guards against "N"/"NO" flags being read as true (a non-empty text converts to true).
TEST_P(SistemaTest, ParametroReadsFlagsWrittenAsWords)
{
    demo.db().run(QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor, Pa_Tipo) VALUES (?, ?, ?)"),
                  {QStringLiteral("X_NO"), QStringLiteral("NO"), QStringLiteral("B")});
    demo.db().run(QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor, Pa_Tipo) VALUES (?, ?, ?)"),
                  {QStringLiteral("X_SI"), QStringLiteral("si"), QStringLiteral("T")});
    EXPECT_FALSE(sistema.Parametro(QStringLiteral("X_NO")).toBool());
    EXPECT_TRUE(sistema.Parametro(QStringLiteral("X_SI"), 0, QStringLiteral("B")).toBool());
    EXPECT_EQ(sistema.Parametro(QStringLiteral("X_SI")).toString(), QStringLiteral("si"));
}

// Guards against undefined or valueless parameters giving something other than the
// caller's default, or a made-up value when there is no default.
TEST_P(SistemaTest, ParametroFallsBackToTheDefault)
{
    const QVariant nada = sistema.Parametro(QStringLiteral("NO_DEFINIDO"));
    EXPECT_FALSE(nada.isValid());
    EXPECT_EQ(sistema.Parametro(QStringLiteral("NO_DEFINIDO"), 0, QString(), QStringLiteral("X")).toString(),
              QStringLiteral("X"));
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

// Guards against a parameter name being spliced into the statement.
TEST_P(SistemaTest, ParametroNameIsNeverPartOfTheStatement)
{
    demo.db().run(QStringLiteral("INSERT INTO Parametro (Pa_Nombre, Pa_Valor) VALUES (?, ?)"),
                  {QStringLiteral("O'HARA"), QStringLiteral("ok")});
    EXPECT_EQ(sistema.Parametro(QStringLiteral("O'HARA")).toString(), QStringLiteral("ok"));
    EXPECT_FALSE(sistema.Parametro(QStringLiteral("x' OR '1'='1")).isValid());
}

// Guards against rights read for the wrong user or module, and missing rows granting.
TEST_P(SistemaTest, PermisoFollowsTheUsersRows)
{
    EXPECT_TRUE(sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("CHFECHA"), QStringLiteral("No disponible")));
    EXPECT_FALSE(sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("CHTC01"), QStringLiteral("No disponible")));
    EXPECT_FALSE(sistema.Permiso(QStringLiteral("OTRO"), QStringLiteral("CHFECHA"), QStringLiteral("No disponible")));
    EXPECT_FALSE(
        sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("NO_EXISTE"), QStringLiteral("No disponible")));

    demo.session->setUser(QStringLiteral("CXP01"));
    EXPECT_FALSE(sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("CHFECHA"), QStringLiteral("No disponible")));
    EXPECT_TRUE(sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("CHTC01"), QStringLiteral("No disponible")));

    demo.session->setUser(QStringLiteral("GDL01")); // has CHFECHA only
    EXPECT_FALSE(sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("CHTC01"), QStringLiteral("No disponible")));

    demo.session->setUser(QString()); // nobody signed in holds nothing
    EXPECT_FALSE(sistema.Permiso(QStringLiteral("QMX44"), QStringLiteral("CHFECHA"), QStringLiteral("No disponible")));
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
