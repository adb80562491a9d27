// The proration routine on the detail grid: shares by each basis, rounding of every row
// with no remainder redistributed, percent per row, totals replaced, and the refusals
// (units that differ, a basis without total) leaving every row and total untouched.
#include "bonus/proration.h"
#include "tests/bonus/bonus_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qmx44;
using qmx44::bonus::ProrationBasis;
using qmx44::bonus::ProrationResult;
using qmx44::test::BonusLine;

namespace {

const QString Pct = QStringLiteral("BON_PORCENTAJE");
const QString Imp = QStringLiteral("BON_IMPORTE");

struct ProrationCase {
    const char *nombre;
    std::vector<BonusLine> lineas;
    ProrationBasis base;
    double importe;
    std::vector<double> importes;    // expected BON_IMPORTE per row
    std::vector<double> porcentajes; // expected BON_PORCENTAJE per row
    double sub, imp;
};

BonusLine control1(double q, double base = 100, const char *unidad = "PZA")
{
    return BonusLine{.base = base, .factor = 0, .control1 = q, .unidad1 = QString::fromLatin1(unidad)};
}

class ProrationTest : public ::testing::TestWithParam<ProrationCase> {
protected:
    test::BonusForm f;
};

} // namespace

// Guards the arithmetic of each basis: shares, rounding per row, percents and totals.
TEST_P(ProrationTest, DistributesTheAmount)
{
    const ProrationCase &c = GetParam();
    SCOPED_TRACE(c.nombre);
    for (const BonusLine &l : c.lineas)
        f.addLine(l);
    // Bonuses and totals standing before are overwritten.
    f.grid.setCellValue(0, f.col(Imp), 999.0);
    f.subTotal.setValue(12345.0);
    ASSERT_EQ(ProrationResult::Done, bonus::prorate(f.grid, f.totals(), c.base, c.importe));
    for (std::size_t i = 0; i < c.importes.size(); ++i) {
        EXPECT_EQ(c.importes[i], f.number(int(i), Imp)) << "row " << i;
        EXPECT_DOUBLE_EQ(c.porcentajes[i], f.number(int(i), Pct)) << "row " << i;
    }
    EXPECT_DOUBLE_EQ(c.sub, f.sub());
    EXPECT_DOUBLE_EQ(c.imp, f.imp());
    EXPECT_DOUBLE_EQ(c.sub + c.imp, f.tot());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProrationTest,
    ::testing::Values(ProrationCase{"true halves go to the even neighbour, the 0.002 left is not redistributed",
                                    {control1(1), control1(1), control1(1), control1(1)},
                                    ProrationBasis::ControlQuantity1,
                                    8.25,
                                    {2.062, 2.062, 2.062, 2.062},
                                    {2.062, 2.062, 2.062, 2.062},
                                    8.248,
                                    0},
                      ProrationCase{"by amount with taxes",
                                    {BonusLine{.base = 100, .factor = 0.16}, BonusLine{.base = 200, .factor = 0}},
                                    ProrationBasis::Importe,
                                    30,
                                    {10, 20},
                                    {10, 10},
                                    30,
                                    1.6},
                      // The factor formed once from the basis total (no drift); the purchase unit of
                      // the amount basis is read but not compared.
                      ProrationCase{"1 by amounts 3 and 7 of differing units",
                                    {BonusLine{.base = 3, .factor = 0, .unidadCompra = "PZA"},
                                     BonusLine{.base = 7, .factor = 0, .unidadCompra = "KG"}},
                                    ProrationBasis::Importe,
                                    1,
                                    {0.3, 0.7},
                                    {10, 10},
                                    1,
                                    0},
                      ProrationCase{"a row whose basis is 0 gets 0",
                                    {control1(0, 100), control1(2, 100)},
                                    ProrationBasis::ControlQuantity1,
                                    20,
                                    {0, 20},
                                    {0, 20},
                                    20,
                                    0}));

namespace {
struct Rechazo {
    const char *nombre;
    std::vector<BonusLine> lineas;
    ProrationBasis base;
    double importe;
    ProrationResult resultado;
};
class ProrationRefusalTest : public ::testing::TestWithParam<Rechazo> {
protected:
    test::BonusForm f;
};
} // namespace

// Guards "nothing changed" on every refusal: no row's bonus and no total moves, even
// when the offending row comes last.
TEST_P(ProrationRefusalTest, ChangesNothing)
{
    const Rechazo &c = GetParam();
    SCOPED_TRACE(c.nombre);
    for (const BonusLine &l : c.lineas)
        f.addLine(l);
    for (int i = 0; i < f.grid.rowCount(); ++i) {
        f.grid.setCellValue(i, f.col(Imp), 1.5 * (i + 1));
        f.grid.setCellValue(i, f.col(Pct), 7.0);
    }
    f.subTotal.setValue(4.5);
    f.impuestos.setValue(0.25);
    f.total.setValue(4.75);
    EXPECT_EQ(c.resultado, bonus::prorate(f.grid, f.totals(), c.base, c.importe));
    for (int i = 0; i < f.grid.rowCount(); ++i) {
        EXPECT_EQ(1.5 * (i + 1), f.number(i, Imp)) << "row " << i;
        EXPECT_EQ(7.0, f.number(i, Pct)) << "row " << i;
    }
    EXPECT_EQ(4.5, f.sub());
    EXPECT_EQ(0.25, f.imp());
    EXPECT_EQ(4.75, f.tot());
}

INSTANTIATE_TEST_SUITE_P(Cases, ProrationRefusalTest,
                         ::testing::Values(Rechazo{"units compared exactly: case counts",
                                                   {control1(1, 100, "pza"), control1(1, 100, "PZA")},
                                                   ProrationBasis::ControlQuantity1,
                                                   10,
                                                   ProrationResult::UnitMismatch},
                                           Rechazo{"second control units differ",
                                                   {BonusLine{.unidad2 = "PZA"}, BonusLine{.unidad2 = "CJA"}},
                                                   ProrationBasis::ControlQuantity2,
                                                   10,
                                                   ProrationResult::UnitMismatch},
                                           Rechazo{"basis adds up to less than 0",
                                                   {control1(2), control1(-3)},
                                                   ProrationBasis::ControlQuantity1,
                                                   10,
                                                   ProrationResult::BasisWithoutTotal},
                                           Rechazo{"a share would overflow",
                                                   {control1(1e308), control1(-1e308), control1(1e-300)},
                                                   ProrationBasis::ControlQuantity1,
                                                   10,
                                                   ProrationResult::BasisWithoutTotal}));
