// The connection and its record set on every back-end: reading by name, NULLs, the
// end of a result, errors with the database's message, bound values and transactions.
// A result read while other statements run (a purchase's lines while its supplier is
// looked up) is every intake scenario's, on both back-ends.
#include "platform/db/open.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

using qmx44::RuntimeError;
using qmx44::db::Conexion;

namespace {

class ConnectionTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        db = &fresh.connection();
        db->run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion, Pv_Dias_Credito, Pv_Saldo) "
                               "VALUES (?, ?, ?, ?)"),
                {QStringLiteral("P1"), QStringLiteral("Uno"), 30, 1250.5});
        db->run(QStringLiteral(
                    "INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion, Pv_Razon_Social) VALUES (?, ?, ?)"),
                {QStringLiteral("P2"), QStringLiteral("Dos"), QVariant()});
        db->run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion) VALUES (?, ?)"),
                {QStringLiteral("P'3"), QStringLiteral("Tres con comilla")});
    }
    int count(const QString &where = QString())
    {
        auto rs = db->query(QStringLiteral("SELECT COUNT(*) AS n FROM Proveedor ") + where);
        return rs->field(QStringLiteral("n")).toInt();
    }
    qmx44::test::FreshDatabase fresh{GetParam()};
    Conexion *db = nullptr;
};

// Guards against failures reported as success, and errors that hide the database's
// own message.
TEST_P(ConnectionTest, FailingStatementThrowsTheDatabaseMessage)
{
    try {
        db->execute(QStringLiteral("SELECT * FROM Tabla_Que_No_Existe"));
        FAIL() << "no error";
    } catch (const RuntimeError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("tabla_que_no_existe"), Qt::CaseInsensitive))
            << e.description().toStdString();
    }
    try {
        db->run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES (?)"), {QStringLiteral("P1")});
        FAIL() << "duplicate key accepted";
    } catch (const RuntimeError &e) {
        EXPECT_FALSE(e.description().isEmpty());
    }
    // The prepared statement that failed is usable again.
    EXPECT_EQ(1,
              db->run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES (?)"), {QStringLiteral("P9")}));
}

// Guards against a bound value with a quote breaking the statement or finding another
// row (the quoting helper for spliced values is dialect_test's), bound values of other
// types (dates, flags, doubles, NULL) stored wrongly, the affected-row count that writers
// check, and a NULL read as an empty text or 0 (the screen tells them apart).
TEST_P(ConnectionTest, BindsAndReadsValuesOfEveryKind)
{
    auto bound = db->query(QStringLiteral("SELECT Pv_Descripcion FROM Proveedor WHERE Pv_Cve_Proveedor = ?"),
                           {QStringLiteral("P'3")});
    ASSERT_FALSE(bound->eof());
    EXPECT_EQ(QStringLiteral("Tres con comilla"), bound->field(QStringLiteral("Pv_Descripcion")).toString());
    bound->moveNext();
    EXPECT_TRUE(bound->eof());

    const int n = db->run(
        QStringLiteral(
            "INSERT INTO Periodo_Operativo (Po_Modulo, Po_Fecha_Inicio, Po_Fecha_Fin, Po_Abierto) VALUES (?, ?, ?, ?)"),
        {QStringLiteral("COMPRAS"), QDate(2024, 2, 1), QDate(2024, 2, 29), true});
    EXPECT_EQ(1, n);
    auto rs = db->query(QStringLiteral("SELECT Po_Abierto, Po_Fecha_Inicio FROM Periodo_Operativo WHERE Po_Modulo = ? "
                                       "AND ? BETWEEN Po_Fecha_Inicio AND Po_Fecha_Fin"),
                        {QStringLiteral("COMPRAS"), QDate(2024, 2, 29)});
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(1, rs->field(QStringLiteral("Po_Abierto")).toInt());
    EXPECT_EQ(QDate(2024, 2, 1), rs->field(QStringLiteral("Po_Fecha_Inicio")).toDate());

    EXPECT_EQ(
        2,
        db->run(QStringLiteral("UPDATE Proveedor SET Pv_Saldo = ?, Pv_Correo = ? WHERE Pv_Cve_Proveedor IN (?, ?)"),
                {0.125, QVariant(), QStringLiteral("P1"), QStringLiteral("P2")}));
    auto p2 = db->query(QStringLiteral("SELECT Pv_Saldo, Pv_Correo, Pv_Razon_Social, Pv_Direccion_1 FROM Proveedor "
                                       "WHERE Pv_Cve_Proveedor = ?"),
                        {QStringLiteral("P2")});
    EXPECT_DOUBLE_EQ(0.125, p2->field(QStringLiteral("Pv_Saldo")).toDouble());
    EXPECT_FALSE(p2->field(QStringLiteral("Pv_Correo")).isValid());
    EXPECT_FALSE(p2->field(QStringLiteral("Pv_Razon_Social")).isValid());
    const QVariant address = p2->field(QStringLiteral("Pv_Direccion_1"));
    EXPECT_TRUE(address.isValid());
    EXPECT_EQ(QString(), address.toString());
}

// Guards against a rollback that keeps writes, a commit that loses them, and nested or
// unmatched transaction calls passing silently.
TEST_P(ConnectionTest, TransactionsCommitAndRollBackAndRefuseMisuse)
{
    db->begin();
    EXPECT_TRUE(db->inTransaction());
    EXPECT_THROW(db->begin(), RuntimeError);
    db->run(QStringLiteral("DELETE FROM Proveedor"));
    EXPECT_EQ(0, count());
    db->rollback();
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(3, count());

    {
        qmx44::db::ScopedTransaction tx(*db);
        db->run(QStringLiteral("DELETE FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {QStringLiteral("P1")});
    } // not committed: rolled back
    EXPECT_EQ(3, count());

    {
        qmx44::db::ScopedTransaction tx(*db);
        db->run(QStringLiteral("DELETE FROM Proveedor WHERE Pv_Cve_Proveedor = ?"), {QStringLiteral("P1")});
        tx.commit();
    }
    EXPECT_EQ(2, count());
    EXPECT_THROW(db->commit(), RuntimeError);
    EXPECT_THROW(db->rollback(), RuntimeError);
}

// Guards against a transaction that keeps the session's REPEATABLE READ snapshot and so
// misses what another clerk committed after it began: the save's row locks rely on
// every statement seeing what was committed before it.
TEST_P(ConnectionTest, EveryTransactionReadsCommittedWhateverTheDefault)
{
    if (GetParam() != "postgres")
        GTEST_SKIP() << "SQLite has one write transaction at a time";
    db->run(QStringLiteral("SET default_transaction_isolation = 'repeatable read'"));
    auto other = qmx44::db::open(fresh.connectionString(), qmx44::db::OpenMode::Existing);
    qmx44::db::ScopedTransaction tx(*db);
    EXPECT_EQ(3, count());
    other->run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion) VALUES ('P9', 'Nueve')"));
    EXPECT_EQ(4, count());
}

INSTANTIATE_TEST_SUITE_P(Backends, ConnectionTest, ::testing::ValuesIn(qmx44::test::backends()),
                         qmx44::test::backendName);

// Guards against a second writer failing at once, or waiting forever, instead of
// reporting a locked database after its wait.
TEST(ConnectionSqliteLockTest, WriterWaitsThenReportsALockedDatabase)
{
    qmx44::test::FreshDatabase fresh("sqlite");
    Conexion &holder = fresh.connection();
    holder.begin();
    holder.run(QStringLiteral("INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES (?)"), {QStringLiteral("X")});

    auto other = qmx44::db::open(fresh.connectionString() + QStringLiteral("?busy_timeout=100"));
    try {
        other->begin();
        FAIL() << "a second writer got the lock";
    } catch (const RuntimeError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("locked"))) << e.description().toStdString();
    }
    EXPECT_FALSE(other->inTransaction());
    // Reading goes on meanwhile.
    EXPECT_TRUE(other->query(QStringLiteral("SELECT 1 FROM Proveedor"))->eof());
    holder.rollback();
    other->begin();
    other->rollback();
}

} // namespace
