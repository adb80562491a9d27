// Half-to-even rounding on the exact value of a double, without text conversion: the
// scaled value is split into its rounded product and the product's exact error (fma),
// so a true half is told apart from values a few units in the last place either side.
#include "bonus/redondeo.h"

#include <cmath>

namespace qmx44::bonus {

namespace {
constexpr double Potencias[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr double DosA52 = 4503599627370496.0; // 2^52: from here on doubles are integers
} // namespace

double redondearMedioPar(double valor, int decimales)
{
    if (!std::isfinite(valor) || decimales < 0 || decimales > 15)
        return valor;
    const double escala = Potencias[decimales]; // exact powers of ten
    // valor x escala = producto + error, exactly (the error of one product is a double).
    const double producto = valor * escala;
    const double error = std::fma(valor, escala, -producto);
    if (!(std::fabs(producto) < DosA52))
        return valor;

    const double piso = std::floor(producto);
    // `fraccion` is exact and a multiple of the product's last place, so its distance from
    // one half is either 0 or at least that place, more than the product's error (at
    // most half a place) can make up; the sign of `respectoMedio` is exact even where its
    // value is rounded. Only at a true half in `producto` does the error decide.
    const double fraccion = producto - piso;
    const double respectoMedio = fraccion - 0.5;
    double entero;
    if (respectoMedio > 0 || (respectoMedio == 0 && error > 0))
        entero = piso + 1;
    else if (respectoMedio < 0 || (respectoMedio == 0 && error < 0))
        entero = piso;
    else // an exact half: to the even neighbour
        entero = std::fmod(piso, 2.0) == 0 ? piso : piso + 1;
    // `entero` is a whole number below 2^53: the quotient is the double nearest to the
    // rounded decimal. A zero result is +0, never -0.
    const double resultado = entero / escala;
    return resultado == 0 ? 0.0 : resultado;
}

} // namespace qmx44::bonus
