// The branch field binding the warehouse field's lookups: the statements' text, their
// writing on Enter / event 1 and their removal on Change, and what the bound lookups
// find on the demo company — on every back-end.
#include "intake/branch_warehouse.h"
#include "tests/screen/screen_fixture.h"

#include "platform/controls/keys.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

// Guards against a changed statement text and against a quote in the branch key ending
// its literal (the key goes through the quoting helper).
TEST(BranchWarehouseStatements, SpliceTheBranchKeyQuoted)
{
    EXPECT_EQ(intake::warehouseListStatement(QStringLiteral("001")),
              QStringLiteral("SELECT Al_Cve_Almacen As CLAVE,        Al_Descripcion AS DESCRIPCION "
                             "FROM Almacen WHERE Sc_Cve_Sucursal = '001' AND    Es_Cve_Estado <> 'BA'"));
    EXPECT_EQ(intake::warehouseLookupStatement(QStringLiteral("001")),
              QStringLiteral("SELECT Al_Descripcion FROM Almacen WHERE Al_Cve_Almacen = '?' AND "
                             "      Sc_Cve_Sucursal = '001'"));
    EXPECT_EQ(intake::warehouseLookupStatement(QStringLiteral("0'1")),
              QStringLiteral("SELECT Al_Descripcion FROM Almacen WHERE Al_Cve_Almacen = '?' AND "
                             "      Sc_Cve_Sucursal = '0''1'"));
    EXPECT_TRUE(intake::warehouseListStatement(QStringLiteral("0'1")).contains(u"= '0''1' AND"));
}

class BranchWarehouseTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { p.abrir(); }
    controls::TextField &sucursal() { return p.campo("txt_Sc_Cve_Sucursal"); }
    controls::TextField &almacen() { return p.campo("txt_Al_Cve_Almacen"); }
    void enterBranch(const QString &key)
    {
        sucursal().setLocked(false);
        sucursal().setFocus();
        sucursal().typeText(key);
        sucursal().pressKey(controls::keys::Enter);
    }
    QString warehouseDescription(const char *key)
    {
        almacen().setText(QString::fromLatin1(key));
        return p.campo("txt_Al_Descripcion").text();
    }

    test::PantallaDemo p{GetParam()};
};

// Guards against the warehouse field having a lookup before a branch is confirmed, and
// against Enter not binding all three properties to the branch.
TEST_P(BranchWarehouseTest, EnterBindsTheWarehouseLookupsToTheBranch)
{
    EXPECT_EQ(almacen().sql(), QString());
    EXPECT_EQ(almacen().sqlLista(), QString());
    EXPECT_EQ(almacen().sqlControlResultado(), QString());
    enterBranch(QStringLiteral("001"));
    EXPECT_EQ(almacen().sqlLista(), intake::warehouseListStatement(QStringLiteral("001")));
    EXPECT_EQ(almacen().sql(), intake::warehouseLookupStatement(QStringLiteral("001")));
    EXPECT_EQ(almacen().sqlControlResultado(), QStringLiteral("txt_Al_Descripcion"));
}

// Guards against Change keeping the old branch's lookups, touching the warehouse text,
// or confirming again not rebinding to the new branch.
TEST_P(BranchWarehouseTest, ChangeRemovesTheLookupsUntilTheNextConfirmation)
{
    enterBranch(QStringLiteral("001"));
    almacen().setText(QStringLiteral("A01"));
    sucursal().setFocus();
    sucursal().typeText(QStringLiteral("002"));   // typing: Change, no commit yet
    EXPECT_EQ(almacen().sql(), QString());
    EXPECT_EQ(almacen().sqlLista(), QString());
    EXPECT_EQ(almacen().sqlControlResultado(), QString());
    EXPECT_EQ(almacen().text(), QStringLiteral("A01"));
    sucursal().pressKey(controls::keys::Enter);
    EXPECT_EQ(almacen().sql(), intake::warehouseLookupStatement(QStringLiteral("002")));
}

// Guards against event 1 (a branch committed without Enter) not binding the lookups.
TEST_P(BranchWarehouseTest, ABranchWrittenByCodeBindsTheLookupsToo)
{
    sucursal().setText(QStringLiteral("002"));
    EXPECT_EQ(almacen().sql(), intake::warehouseLookupStatement(QStringLiteral("002")));
    EXPECT_EQ(warehouseDescription("M01"), QStringLiteral("Almacén general Monterrey"));
}

// Guards against a warehouse of another branch being accepted, a retired one of this
// branch being refused by the validation, and the list offering a retired one.
TEST_P(BranchWarehouseTest, ValidationStaysWithinTheBranchAndListLeavesOutRetired)
{
    enterBranch(QStringLiteral("001"));
    EXPECT_EQ(warehouseDescription("A01"), QStringLiteral("Almacén general Guadalajara"));
    EXPECT_EQ(warehouseDescription("A02"), QStringLiteral("Almacén de saldos Guadalajara"));
    EXPECT_EQ(warehouseDescription("M01"), QString());
    EXPECT_FALSE(almacen().lookupFound());
    QStringList listed;
    for (const auto &row : almacen().search())
        listed << row.clave;
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("A01"), QStringLiteral("A03")}));
    EXPECT_TRUE(p.sink->messages().empty());
}

// Guards against a quote in the branch key breaking the warehouse statements.
TEST_P(BranchWarehouseTest, AQuoteInTheBranchFindsNothingAndBreaksNothing)
{
    sucursal().setText(QStringLiteral("0'1"));
    EXPECT_EQ(warehouseDescription("A01"), QString());
    EXPECT_TRUE(almacen().search().empty());
    EXPECT_TRUE(p.sink->messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, BranchWarehouseTest, ::testing::ValuesIn(test::backends()),
                         test::backendName);

} // namespace
