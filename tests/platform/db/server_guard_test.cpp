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

std::vector<std::string> postgresOnly()
{
    auto all = qmx44::test::backends();
    std::erase_if(all, [](const std::string &b) { return b != "postgres"; });
    return all;
}

QString refusal(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.description();
    }
    return QStringLiteral("<no error>");
}

QString value(Conexion &c, const QString &sql)
{
    auto rs = c.query(sql);
    return rs->eof() ? QStringLiteral("<none>") : rs->field(rs->columns().value(0)).toString().trimmed();
}

const QString kInsertLine =
    QStringLiteral("INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Sc_Cve_Sucursal, Al_Cve_Almacen, "
                   "Pr_Cve_Producto, Nc_Usuario) VALUES ('X', 1, '%1', '%2', '%3', 'BT-001', 'ADMIN')");

class ServerGuardTest : public ::testing::TestWithParam<std::string> {
protected:
    qmx44::test::FreshDatabase fresh{GetParam(), /*demo=*/true};
    Conexion &admin() { return fresh.connection(); }
    QString notes()
    {
        return value(admin(),
                     QStringLiteral("SELECT COUNT(*) || '/' || SUM(CASE WHEN Es_Cve_Estado = "
                                    "'CA' THEN 1 ELSE 0 END) FROM NOTA_CREDITO_PROVEEDOR"));
    }
};

// Guards against a clerk recording, cancelling or rewriting a note or an application
// under another user's name.
TEST_P(ServerGuardTest, AuditColumnsAreTheMappedUsersWhateverTheClientWrites)
{
    auto clerk = qmx44::test::clerkConnection(fresh, QStringLiteral("CXP01"));
    clerk->run(kInsertLine.arg(QStringLiteral("C000000002"), QStringLiteral("001"), QStringLiteral("A03")));
    clerk->run(QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Usuario = 'ADMIN', Nc_Usuario_Cancela = 'MTY01'"));
    EXPECT_EQ(QStringLiteral("CXP01"),
              value(admin(), QStringLiteral("SELECT Nc_Usuario FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = 'X'")));
    EXPECT_EQ(
        QStringLiteral("MTY01"),
        value(admin(),
              QStringLiteral("SELECT MIN(Nc_Usuario) FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = '0000000003'")));
    EXPECT_EQ(
        QString(),
        value(admin(),
              QStringLiteral("SELECT MAX(Nc_Usuario_Cancela) FROM NOTA_CREDITO_PROVEEDOR WHERE Es_Cve_Estado = 'AC'")));

    clerk->run(QStringLiteral("UPDATE NOTA_CREDITO_PROVEEDOR SET Es_Cve_Estado = 'CA', Nc_Usuario_Cancela = 'MTY01' "
                              "WHERE Nc_Folio = 'X'"));
    EXPECT_EQ(
        QStringLiteral("CXP01"),
        value(admin(), QStringLiteral("SELECT Nc_Usuario_Cancela FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = 'X'")));

    clerk->run(QStringLiteral("INSERT INTO Nota_Credito_Aplicacion (Nc_Folio, Ap_Usuario) VALUES ('X', 'ADMIN')"));
    clerk->run(QStringLiteral("UPDATE Nota_Credito_Aplicacion SET Ap_Cancelada = 1, Ap_Usuario_Cancela = 'ADMIN', "
                              "Ap_Usuario = 'MTY01' WHERE Nc_Folio = 'X'"));
    EXPECT_EQ(
        QStringLiteral("CXP01 CXP01"),
        value(admin(),
              QStringLiteral(
                  "SELECT Ap_Usuario || ' ' || Ap_Usuario_Cancela FROM Nota_Credito_Aplicacion WHERE Nc_Folio = 'X'")));
}

// Guards against a clerk held to a branch or warehouse recording, cancelling or
// replacing a note outside it by writing SQL of his own, or by naming his own branch
// on another branch's purchase.
TEST_P(ServerGuardTest, BranchAndWarehouseLimitsHoldOnTheServer)
{
    auto gdl = qmx44::test::clerkConnection(fresh, QStringLiteral("GDL01"));
    const QString before = notes();
    const auto refused = [](const QString &text, const char *expected) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << text.toStdString();
    };
    refused(refusal([&] {
                gdl->run(kInsertLine.arg(QStringLiteral("C000000007"), QStringLiteral("002"), QStringLiteral("M01")));
            }),
            "El usuario GDL01 no puede registrar notas de la sucursal 002");
    refused(refusal([&] {
                gdl->run(kInsertLine.arg(QStringLiteral("C000000007"), QStringLiteral("001"), QStringLiteral("A01")));
            }),
            "El usuario GDL01 no puede registrar notas de la compra C000000007");
    refused(refusal([&] {
                qmx44::db::ScopedTransaction tx(*gdl);
                gdl->run(QStringLiteral(
                    "UPDATE NOTA_CREDITO_PROVEEDOR SET Es_Cve_Estado = 'CA' WHERE Nc_Folio = '0000000003'"));
                gdl->run(kInsertLine.arg(QStringLiteral("C000000007"), QStringLiteral("002"), QStringLiteral("M01")));
                tx.commit();
            }),
            "no puede cancelar notas de la sucursal 002");
    refused(refusal([&] {
                gdl->run(QStringLiteral(
                    "UPDATE Nota_Credito_Aplicacion SET Ap_Cancelada = 1 WHERE Nc_Folio = '0000000003'"));
            }),
            "no puede cancelar la aplicación de notas de la sucursal 002");
    auto alm = qmx44::test::clerkConnection(fresh, QStringLiteral("ALM01"));
    refused(refusal([&] {
                alm->run(kInsertLine.arg(QStringLiteral("C000000002"), QStringLiteral("001"), QStringLiteral("A01")));
            }),
            "El usuario ALM01 no puede registrar notas de la compra C000000002");
    EXPECT_EQ(before, notes());
    EXPECT_EQ(
        QStringLiteral("0"),
        value(admin(),
              QStringLiteral("SELECT SUM(Ap_Cancelada) FROM Nota_Credito_Aplicacion WHERE Nc_Folio = '0000000003'")));
}

// Guards against a clerk granting himself rights, mapping his login to ADMIN, changing
// a parameter or a purchase, reading password hashes, or an unmapped member of the
// group writing at all.
TEST_P(ServerGuardTest, ClerksCannotWriteWhatTheScreenOnlyReads)
{
    auto clerk = qmx44::test::clerkConnection(fresh, QStringLiteral("GDL01"));
    for (const char *sql : {"UPDATE Usuario SET Sc_Cve_Sucursal = ''",
                            "INSERT INTO Usuario_Permiso (Us_Cve_Usuario, Pe_Modulo, Pe_Clave, Pe_Valor) VALUES "
                            "('GDL01', 'COMPRAS', 'CHFECHA', 1)",
                            "UPDATE Usuario_Login SET Us_Cve_Usuario = 'ADMIN'", "UPDATE Parametro SET Pa_Valor = '0'",
                            "SELECT * FROM Usuario_Clave"})
        EXPECT_TRUE(
            refusal([&] { clerk->query(QString::fromLatin1(sql)); }).contains(QStringLiteral("permission denied")))
            << sql;
    EXPECT_TRUE(refusal([&] {
                    clerk->run(QStringLiteral("UPDATE COMPRA SET Co_Folio = 'Z' WHERE Co_Folio = 'C000000001'"));
                }).contains(QStringLiteral("no puede modificar compras")));

    auto unmapped = qmx44::test::clerkConnection(fresh, QStringLiteral("CXP01"));
    admin().run(QStringLiteral("DELETE FROM Usuario_Login WHERE Ul_Login = ?"), {qmx44::db::sessionLogin(*unmapped)});
    EXPECT_TRUE(refusal([&] {
                    unmapped->run(
                        kInsertLine.arg(QStringLiteral("C000000002"), QStringLiteral("001"), QStringLiteral("A03")));
                }).contains(QStringLiteral("no está asociado a ningún usuario")));
}

// Without a server there is nothing to run, and that is no failure.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ServerGuardTest);
INSTANTIATE_TEST_SUITE_P(Backends, ServerGuardTest, ::testing::ValuesIn(postgresOnly()), qmx44::test::backendName);

} // namespace
