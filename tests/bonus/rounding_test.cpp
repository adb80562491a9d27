// Rounding to three decimals with a half to the even neighbour, decided on the exact
// binary value: true halves, values a few units in the last place either side of a
// half, and decimal literals whose binary form lies below or above the half.
#include "bonus/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using qmx44::bonus::roundHalfEven;

namespace {

struct RoundingCase {
    const char *nombre;
    double valor;
    double esperado;
};

void PrintTo(const RoundingCase &c, std::ostream *os)
{
    *os << c.nombre;
}

double justAbove(double x)
{
    return std::nextafter(x, std::numeric_limits<double>::infinity());
}
double justBelow(double x)
{
    return std::nextafter(x, -std::numeric_limits<double>::infinity());
}

class RoundingTest : public ::testing::TestWithParam<RoundingCase> {};

} // namespace

// Guards each rounding decision: even at a true half, away from the half otherwise,
// the sign kept, and the result being exactly the double that prints as the decimal.
TEST_P(RoundingTest, RoundsToThreeDecimalsHalfToEven)
{
    const RoundingCase &c = GetParam();
    EXPECT_EQ(c.esperado, roundHalfEven(c.valor, 3)) << c.nombre;
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundingTest,
                         ::testing::Values(
                             // True halves (exact in binary): to the even neighbour.
                             RoundingCase{"2.0625 half, 2 even", 2.0625, 2.062},
                             RoundingCase{"2.1875 half, 7 odd", 2.1875, 2.188},
                             RoundingCase{"-2.1875", -2.1875, -2.188},
                             // One unit in the last place either side of a true half.
                             RoundingCase{"just above 2.0625", justAbove(2.0625), 2.063},
                             RoundingCase{"just below 2.0625", justBelow(2.0625), 2.062},
                             RoundingCase{"just below -2.1875 (larger magnitude)", justBelow(-2.1875), -2.188},
                             RoundingCase{"just above -2.1875 (smaller magnitude)", justAbove(-2.1875), -2.187},
                             // Decimal literals: the product with 1000 rounds to a half, the exact value does not.
                             RoundingCase{"1.0635 lies below its half", 1.0635, 1.063},
                             RoundingCase{"1.0645 lies above its half", 1.0645, 1.065},
                             // Ordinary values.
                             RoundingCase{"tiny negative gives +0", -0.0004, 0.0},
                             RoundingCase{"large", 123456789.1234567, 123456789.123}));

// Guards the values no digit can be rounded from: they come back as they are.
TEST(RoundingLimitsTest, NonFiniteAndHugeValuesAreLeftAlone)
{
    EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""), 3)));
    EXPECT_EQ(std::numeric_limits<double>::infinity(), roundHalfEven(std::numeric_limits<double>::infinity(), 3));
    EXPECT_EQ(1e20, roundHalfEven(1e20, 3));
    EXPECT_FALSE(std::signbit(roundHalfEven(-0.0, 3)));
}
