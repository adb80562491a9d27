// Reading a table's rows by key for the record query: names checked against the
// database's own, the key value bound — on every back-end.
#include "platform/business/consulta_registro.h"
#include "platform/business/table_rows.h"
#include "tests/platform/services/services_fixture.h"
#include "tests/support/test_db.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

class TableRowsTest : public ::testing::TestWithParam<std::string> {
protected:
    std::unique_ptr<db::Conexion> db = test::freshDatabase(GetParam(), /*demo=*/true);
};

QString text(const business::TableRows &r, int rowValues, const QString &column)
{
    for (int i = 0; i < r.columns.size(); ++i)
        if (r.columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return r.rows.value(rowValues).value(i).toString();
    return QStringLiteral("<sin columna>");
}

// Guards against names matched only in one spelling, rows of other keys, and columns
// dropped from the rows shown.
TEST_P(TableRowsTest, RowsOfTheKeyWithEveryColumn)
{
    const auto r = business::readTableRows(*db, QStringLiteral("proveedor"), QStringLiteral("PV_CVE_PROVEEDOR"),
                                           QStringLiteral("P0003"));
    EXPECT_EQ(r.table.compare(QStringLiteral("Proveedor"), Qt::CaseInsensitive), 0);
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(text(r, 0, QStringLiteral("Pv_Cve_Proveedor")), QStringLiteral("P0003"));
    EXPECT_EQ(text(r, 0, QStringLiteral("Pv_Descripcion")), QStringLiteral("Textiles O'Farrill"));

    const auto purchase = business::readTableRows(*db, QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"),
                                                  QStringLiteral("C000000002"));
    EXPECT_EQ(purchase.rows.size(), 7);
    EXPECT_EQ(business::readTableRows(*db, QStringLiteral("COMPRA"), QStringLiteral("Co_Folio"),
                                      QStringLiteral("C000000002"), 3)
                  .rows.size(),
              3);
}

// Guards against table or column names (or key values) that reach the statement as
// SQL: each is refused or matched literally, and nothing is run or changed.
TEST_P(TableRowsTest, NamesAndValuesCannotCarrySql)
{
    const QString p1 = QStringLiteral("P0001");
    EXPECT_THROW(business::readTableRows(*db, QStringLiteral("Proveedor; DROP TABLE COMPRA"),
                                         QStringLiteral("Pv_Cve_Proveedor"), p1),
                 RuntimeError);
    EXPECT_THROW(
        business::readTableRows(*db, QStringLiteral("Proveedor"), QStringLiteral("Pv_Cve_Proveedor OR 1=1"), p1),
        RuntimeError);
    EXPECT_EQ(business::readTableRows(*db, QStringLiteral("Proveedor"), QStringLiteral("Pv_Cve_Proveedor"),
                                      QStringLiteral("P0003' OR '1'='1"))
                  .rows.size(),
              0);
    auto rs = db->query(QStringLiteral("SELECT COUNT(*) AS n FROM COMPRA"));
    EXPECT_GT(rs->field(QStringLiteral("n")).toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, TableRowsTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
