// Schema step 5 attacked the way a clerk would, with raw SQL on the clerk's own login:
// the audit columns, the branch and warehouse limits and the grants of the clerks'
// group hold on the server, whatever the client sends. PostgreSQL only.
#include "platform/db/clerks.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

#include <functional>

using qmx44::RuntimeError;
using qmx44::db::Conexion;

namespace {

// The server's refusal of `sql` run on `c`; "ok" when it ran.
QString attempt(Conexion &c, const QString &sql)
{
    try {
        c.run(sql);
    } catch (const RuntimeError &e) {
        return e.description();
    }
    return QStringLiteral("ok");
}

// A note line claiming ADMIN as its author.
QString noteLine(const char *purchase, const char *branch, const char *warehouse)
{
    return QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Sc_Cve_Sucursal, "
                          "Al_Cve_Almacen, Nc_Usuario) VALUES ('X', 1, '%1', '%2', '%3', 'ADMIN')")
        .arg(QLatin1String(purchase), QLatin1String(branch), QLatin1String(warehouse));
}

class ServerGuardTest : public ::testing::TestWithParam<std::string> {
protected:
    qmx44::test::FreshDatabase fresh{GetParam(), /*demo=*/true};
    std::unique_ptr<Conexion> clerk(const char *user)
    {
        return qmx44::test::clerkConnection(fresh, QString::fromLatin1(user));
    }
    // One value read by the superuser.
    QString value(const char *sql)
    {
        auto rs = fresh.connection().query(QString::fromLatin1(sql));
        return rs->field(rs->columns().value(0)).toString();
    }
};

// Guards against a clerk recording, cancelling or rewriting a note or an application
// under another user's name.
TEST_P(ServerGuardTest, AuditColumnsAreTheMappedUsersWhateverTheClientWrites)
{
    auto cxp = clerk("CXP01");
    for (const QString &sql :
         {noteLine("C000000002", "001", "A03"),
          QStringLiteral("INSERT INTO Nota_Credito_Aplicacion (Nc_Folio, Ap_Usuario) VALUES ('X', 'ADMIN')"),
          QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Usuario = 'ADMIN', Nc_Usuario_Cancela = 'MTY01'"),
          QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Es_Cve_Estado = 'CA', Nc_Usuario_Cancela = 'MTY01' "
                         "WHERE Nc_Folio = 'X'"),
          QStringLiteral("UPDATE Nota_Credito_Aplicacion SET Ap_Cancelada = 1, Ap_Usuario_Cancela = 'ADMIN', "
                         "Ap_Usuario = 'MTY01' WHERE Nc_Folio = 'X'")})
        ASSERT_EQ(QStringLiteral("ok"), attempt(*cxp, sql));
    EXPECT_EQ(QStringLiteral("CXP01 CXP01 CXP01 CXP01"),
              value("SELECT Nc_Usuario || ' ' || Nc_Usuario_Cancela || ' ' || Ap_Usuario || ' ' || Ap_Usuario_Cancela "
                    "FROM NOTA_CREDITO_PROVEEDOR n JOIN Nota_Credito_Aplicacion a ON a.Nc_Folio = n.Nc_Folio "
                    "WHERE n.Nc_Folio = 'X'"));
    EXPECT_EQ(QStringLiteral("MTY01 "),
              value("SELECT DISTINCT Nc_Usuario || ' ' || Nc_Usuario_Cancela "
                    "FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = '0000000003'"));
}

// Guards against a clerk held to a branch or warehouse recording, cancelling or
// replacing a note outside it with SQL of his own, or naming his own branch on another
// branch's purchase.
TEST_P(ServerGuardTest, BranchAndWarehouseLimitsHoldOnTheServer)
{
    auto gdl = clerk("GDL01");
    auto alm = clerk("ALM01");
    const auto notes = [&] {
        return value("SELECT COUNT(*) || ' ' || STRING_AGG(Es_Cve_Estado || Ap_Cancelada, '' ORDER BY Nc_Folio) FROM "
                     "NOTA_CREDITO_PROVEEDOR LEFT JOIN Nota_Credito_Aplicacion USING (Nc_Folio)");
    };
    const QString before = notes();
    const QString replace = QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Es_Cve_Estado = 'CA' WHERE Nc_Folio = "
                                           "'0000000003'; ")
        + noteLine("C000000007", "002", "M01");
    const std::pair<QString, const char *> refusals[] = {
        {attempt(*gdl, noteLine("C000000007", "002", "M01")),
         "El usuario GDL01 no puede registrar notas de la sucursal 002"},
        {attempt(*gdl, noteLine("C000000007", "001", "A01")),
         "El usuario GDL01 no puede registrar notas de la compra C000000007"},
        {attempt(*gdl, replace), "El usuario GDL01 no puede cancelar notas de la sucursal 002"},
        {attempt(*gdl, QStringLiteral("UPDATE Nota_Credito_Aplicacion SET Ap_Cancelada = 1")),
         "no puede cancelar la aplicación de notas de la sucursal 002"},
        {attempt(*alm, noteLine("C000000002", "001", "A01")),
         "El usuario ALM01 no puede registrar notas de la compra C000000002"},
    };
    for (const auto &[text, expected] : refusals)
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected)) && text.contains(QStringLiteral("42501")))
            << text.toStdString();
    EXPECT_EQ(before, notes());
}

// Guards against a clerk granting himself rights, mapping his login to ADMIN, changing a
// parameter or a purchase or reading password hashes, and an unmapped member of the
// group writing at all.
TEST_P(ServerGuardTest, ClerksCannotWriteWhatTheScreenOnlyReads)
{
    auto gdl = clerk("GDL01");
    for (const char *sql :
         {"UPDATE Usuario SET Sc_Cve_Sucursal = ''", "UPDATE Usuario_Login SET Us_Cve_Usuario = 'ADMIN'",
          "INSERT INTO Usuario_Permiso VALUES ('GDL01', 'COMPRAS', 'CHFECHA', 1)",
          "UPDATE Parametro SET Pa_Valor = '0'", "SELECT * FROM Usuario_Clave"})
        EXPECT_TRUE(attempt(*gdl, QString::fromLatin1(sql)).contains(QStringLiteral("permission denied"))) << sql;
    EXPECT_TRUE(attempt(*gdl, QStringLiteral("UPDATE COMPRA SET Co_Folio = 'Z'"))
                    .contains(QStringLiteral("no puede modificar compras")));

    auto unmapped = clerk("CXP01");
    fresh.connection().run(QStringLiteral("DELETE FROM Usuario_Login WHERE Ul_Login = ?"),
                           {qmx44::db::sessionLogin(*unmapped)});
    EXPECT_TRUE(attempt(*unmapped, noteLine("C000000002", "001", "A03"))
                    .contains(QStringLiteral("no está asociado a ningún usuario")));
}

// Without a server there is nothing to run, and that is no failure.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ServerGuardTest);
INSTANTIATE_TEST_SUITE_P(Backends, ServerGuardTest, ::testing::ValuesIn(qmx44::test::serverBackends()),
                         qmx44::test::backendName);

} // namespace
