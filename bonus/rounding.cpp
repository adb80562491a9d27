// Half-to-even rounding on the exact value of a double, without text conversion: the
// scaled value is split into its rounded product and the product's exact error (fma),
// so a true half is told apart from values a few units in the last place either side.
#include "bonus/rounding.h"

#include <cmath>

namespace qmx44::bonus {

namespace {
constexpr double PowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr double TwoToThe52 = 4503599627370496.0; // 2^52: from here on doubles are integers
} // namespace

double roundHalfEven(double value, int decimals)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > 15)
        return value;
    const double scale = PowersOfTen[decimals]; // exact powers of ten
    // value x scale = product + error, exactly (the error of one product is a double).
    const double product = value * scale;
    const double error = std::fma(value, scale, -product);
    if (!(std::fabs(product) < TwoToThe52))
        return value;

    const double floorValue = std::floor(product);
    // `fraction` is exact and a multiple of the product's last place, so its distance from
    // one half is either 0 or at least that place, more than the product's error (at
    // most half a place) can make up; the sign of `fromHalf` is exact even where its
    // value is rounded. Only at a true half in `product` does the error decide.
    const double fraction = product - floorValue;
    const double fromHalf = fraction - 0.5;
    double whole;
    if (fromHalf > 0 || (fromHalf == 0 && error > 0))
        whole = floorValue + 1;
    else if (fromHalf < 0 || (fromHalf == 0 && error < 0))
        whole = floorValue;
    else // an exact half: to the even neighbour
        whole = std::fmod(floorValue, 2.0) == 0 ? floorValue : floorValue + 1;
    // `whole` is a whole number below 2^53: the quotient is the double nearest to the
    // rounded decimal. A zero result is +0, never -0.
    const double result = whole / scale;
    return result == 0 ? 0.0 : result;
}

} // namespace qmx44::bonus
