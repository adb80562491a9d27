// The load test's invariant checks against a clean database and one violation of each
// kind planted in it.
#include "tests/support/test_db.h"
#include "tools/load/invariants.h"

#include <gtest/gtest.h>

#include <optional>

namespace qmx44::load {
namespace {

class LoadChecksTest : public ::testing::TestWithParam<std::string> {};

// Guards against a check that cannot fail (or fires on sound data): each planted fault
// is reported under its own kind, and only that one.
TEST_P(LoadChecksTest, FindsEachPlantedViolationAndNothingElse)
{
    const struct {
        const char *plant;
        std::optional<ViolationKind> expected;
    } cases[] = {
        {"SELECT 1", std::nullopt},
        // Line 2 of note 3 comes from another clerk's note under the same folio.
        {"UPDATE NOTA_CREDITO_PROVEEDOR SET Nc_Referencia = 'OTRA' WHERE Nc_Folio = '0000000003' AND Nc_Linea = 2",
         ViolationKind::DuplicateFolio},
        // The purchase line of note 1 (which grants 174) worth 1.
        {"UPDATE COMPRA SET Co_Precio_Neto_Importe = 1 WHERE Co_Folio = 'C000000002' AND Pr_Cve_Producto = 'BT-001'",
         ViolationKind::OverGranted},
        {"DELETE FROM NOTA_CREDITO_PROVEEDOR WHERE Nc_Folio = '0000000003' AND Nc_Linea = 1",
         ViolationKind::IncompleteNote},
        // A small live note, complete but never applied to the supplier's balance.
        {"INSERT INTO NOTA_CREDITO_PROVEEDOR (Nc_Folio, Nc_Linea, Co_Folio, Pv_Cve_Proveedor, Pr_Cve_Producto, "
         "Tl_Cve_Talla, Cl_Cve_Color, Nc_Unidad_1, Nc_Precio_Neto_Importe) "
         "VALUES ('0000000009', 1, 'C000000002', 'P0002', 'BT-001', '27', 'NEG', 'PAR', 10)",
         ViolationKind::IncompleteNote},
        {"UPDATE NOTA_CREDITO_PROVEEDOR SET Es_Cve_Estado = 'CA' WHERE Nc_Folio = '0000000003' AND Nc_Linea = 2",
         ViolationKind::PartlyCancelled},
        {"UPDATE Proveedor SET Pv_Saldo = Pv_Saldo - 10 WHERE Pv_Cve_Proveedor = 'P0004'",
         ViolationKind::BalanceMismatch},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.plant);
        auto db = test::freshDatabase(GetParam(), /*demo=*/true);
        recordOpeningBalances(*db);
        db->run(QString::fromLatin1(c.plant));
        const std::vector<Violation> found = checkInvariants(*db);
        if (!c.expected) {
            EXPECT_TRUE(found.empty()) << found.front().rows.toStdString();
            continue;
        }
        ASSERT_FALSE(found.empty());
        for (const Violation &v : found)
            EXPECT_EQ(kindName(v.kind), kindName(*c.expected)) << v.rows.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, LoadChecksTest, ::testing::ValuesIn(test::backends()), test::backendName);

} // namespace
} // namespace qmx44::load
