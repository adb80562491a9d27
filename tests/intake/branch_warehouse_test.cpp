// The branch field binding the warehouse field's lookups: their removal on Change and the
// list they offer, on every back-end. What the bound validation finds (a retired
// warehouse, another branch's, a quote in the branch) is guarded end to end by
// tests/scenarios/branch_warehouse.scenario.
#include "intake/branch_warehouse.h"
#include "tests/screen/screen_fixture.h"

#include "platform/controls/keys.h"

#include <gtest/gtest.h>

using namespace qmx44;

namespace {

class BranchWarehouseTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { p.open(); }
    controls::TextField &sucursal() { return p.textField("txt_Sc_Cve_Sucursal"); }
    controls::TextField &almacen() { return p.textField("txt_Al_Cve_Almacen"); }
    void enterBranch(const QString &key)
    {
        sucursal().setLocked(false);
        sucursal().setFocus();
        sucursal().typeText(key);
        sucursal().pressKey(controls::keys::Enter);
    }

    test::DemoScreen p{GetParam()};
};

// Guards against Change keeping the old branch's lookups, touching the warehouse text,
// or confirming again not rebinding to the new branch.
TEST_P(BranchWarehouseTest, ChangeRemovesTheLookupsUntilTheNextConfirmation)
{
    enterBranch(QStringLiteral("001"));
    almacen().setText(QStringLiteral("A01"));
    sucursal().setFocus();
    sucursal().typeText(QStringLiteral("002")); // typing: Change, no commit yet
    EXPECT_EQ(almacen().sql(), QString());
    EXPECT_EQ(almacen().sqlLista(), QString());
    EXPECT_EQ(almacen().sqlControlResultado(), QString());
    EXPECT_EQ(almacen().text(), QStringLiteral("A01"));
    sucursal().pressKey(controls::keys::Enter);
    EXPECT_EQ(almacen().sql(), intake::warehouseLookupStatement(QStringLiteral("002")));
}

// Guards against the warehouse list offering a retired warehouse or another branch's.
TEST_P(BranchWarehouseTest, ListLeavesOutRetiredAndOtherBranches)
{
    enterBranch(QStringLiteral("001"));
    QStringList listed;
    for (const auto &row : almacen().search().rows)
        listed << row.key;
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("A01"), QStringLiteral("A03")}));
    EXPECT_TRUE(p.sink->messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, BranchWarehouseTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
