// Rounding to three decimals with a half to the even neighbour, decided on the exact
// binary value: true halves, values a few units in the last place either side of a
// half, decimal literals whose binary form lies below or above the half, and a
// comparison with a reference that rounds the exact decimal expansion.
#include "bonus/redondeo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

using qmx44::bonus::redondearMedioPar;

namespace {

struct Caso {
    const char *nombre;
    double valor;
    double esperado;
};

void PrintTo(const Caso &c, std::ostream *os) { *os << c.nombre; }

double arriba(double x) { return std::nextafter(x, std::numeric_limits<double>::infinity()); }
double abajo(double x) { return std::nextafter(x, -std::numeric_limits<double>::infinity()); }

class bonusRedondeo : public ::testing::TestWithParam<Caso> {};

} // namespace

// Guards each rounding decision: even at a true half, away from the half otherwise,
// the sign kept, and the result being exactly the double that prints as the decimal.
TEST_P(bonusRedondeo, RoundsToThreeDecimalsHalfToEven)
{
    const Caso &c = GetParam();
    EXPECT_EQ(c.esperado, redondearMedioPar(c.valor, 3)) << c.nombre;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, bonusRedondeo,
    ::testing::Values(
        // True halves (exact in binary): to the even neighbour.
        Caso{"2.0625 half, 2 even", 2.0625, 2.062},
        Caso{"2.1875 half, 7 odd", 2.1875, 2.188},
        Caso{"0.0625", 0.0625, 0.062},
        Caso{"3.9375", 3.9375, 3.938},
        Caso{"-2.0625", -2.0625, -2.062},
        Caso{"-2.1875", -2.1875, -2.188},
        Caso{"1000.0625 half, 2 even", 1000.0625, 1000.062},
        // One unit in the last place either side of a true half.
        Caso{"just above 2.0625", arriba(2.0625), 2.063},
        Caso{"just below 2.0625", abajo(2.0625), 2.062},
        Caso{"just above 2.1875", arriba(2.1875), 2.188},
        Caso{"just below 2.1875", abajo(2.1875), 2.187},
        Caso{"just below -2.1875 (larger magnitude)", abajo(-2.1875), -2.188},
        Caso{"just above -2.1875 (smaller magnitude)", arriba(-2.1875), -2.187},
        // Decimal literals: the product with 1000 rounds to a half, the exact value does not.
        Caso{"1.0635 lies below its half", 1.0635, 1.063},
        Caso{"1.0645 lies above its half", 1.0645, 1.065},
        Caso{"1.2345 lies below its half", 1.2345, 1.234},
        Caso{"1.0015 lies above its half", 1.0015, 1.002},
        Caso{"1.0025 lies below its half", 1.0025, 1.002},
        Caso{"2.6745 lies above its half", 2.6745, 2.675},
        Caso{"0.0005 lies above its half", 0.0005, 0.001},
        Caso{"1234.5675 lies above its half", 1234.5675, 1234.568},
        // Ordinary values.
        Caso{"100/3", 100.0 / 3, 33.333},
        Caso{"two thirds", 2.0 / 3, 0.667},
        Caso{"already three decimals", 12.345, 12.345},
        Caso{"whole", 7.0, 7.0},
        Caso{"tiny negative gives +0", -0.0004, 0.0},
        Caso{"large", 123456789.1234567, 123456789.123}));

// Guards the values no digit can be rounded from: they come back as they are.
TEST(bonusRedondeoLimites, NonFiniteAndHugeValuesAreLeftAlone)
{
    EXPECT_TRUE(std::isnan(redondearMedioPar(std::nan(""), 3)));
    EXPECT_EQ(std::numeric_limits<double>::infinity(),
              redondearMedioPar(std::numeric_limits<double>::infinity(), 3));
    EXPECT_EQ(1e20, redondearMedioPar(1e20, 3));
    EXPECT_FALSE(std::signbit(redondearMedioPar(-0.0, 3)));
}

namespace {

// Reference: rounds the exact decimal expansion of `x` (which glibc prints exactly) to
// three places, half to even, and reads the decimal back.
double referencia(double x)
{
    char buf[1500];
    std::snprintf(buf, sizeof buf, "%.1100f", std::fabs(x));
    std::string s = buf;
    const auto punto = s.find('.');
    std::string entero = s.substr(0, punto) + s.substr(punto + 1, 3);
    const std::string resto = s.substr(punto + 4);
    const bool hayMas = resto.find_first_not_of('0', 1) != std::string::npos;
    bool sube = resto[0] > '5' || (resto[0] == '5' && hayMas)
                || (resto[0] == '5' && !hayMas && (entero.back() - '0') % 2 == 1);
    if (sube) {
        int i = int(entero.size()) - 1;
        while (i >= 0 && entero[std::size_t(i)] == '9')
            entero[std::size_t(i--)] = '0';
        if (i < 0)
            entero.insert(entero.begin(), '1');
        else
            ++entero[std::size_t(i)];
    }
    std::string decimal = entero.substr(0, entero.size() - 3) + "." + entero.substr(entero.size() - 3);
    const double r = std::strtod(decimal.c_str(), nullptr);
    return r == 0 ? 0.0 : (x < 0 ? -r : r);
}

} // namespace

// Guards the fast exact method against the slow exact one over random amounts and over
// values packed around halves (k + 0.5 thousandths, a few units in the last place off).
TEST(bonusRedondeoReferencia, AgreesWithTheExactDecimalExpansion)
{
    std::mt19937_64 gen(20261206);
    std::uniform_real_distribution<double> monto(-1e6, 1e6);
    std::uniform_int_distribution<long> milesimos(-1000000000L, 1000000000L);
    std::uniform_int_distribution<int> ulps(-3, 3);
    for (int i = 0; i < 20000; ++i) {
        const double x = monto(gen);
        ASSERT_EQ(referencia(x), redondearMedioPar(x, 3)) << std::to_string(x);
        double y = (double(milesimos(gen)) + 0.5) / 1000;
        for (int k = ulps(gen); k != 0; k += k > 0 ? -1 : 1)
            y = k > 0 ? arriba(y) : abajo(y);
        char texto[64];
        std::snprintf(texto, sizeof texto, "%.17g", y);
        ASSERT_EQ(referencia(y), redondearMedioPar(y, 3)) << texto;
    }
}
