// The picture formatting on any double (its 8 bytes) and any picture (the rest): what is
// shown reads back as the value to within half a unit of its last decimal shown, and
// the negated value shows the same digits with a minus (none on a zero).
#include "platform/controls/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

using namespace qmx44::controls;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    double value = 0;
    if (size < sizeof value)
        return 0;
    std::memcpy(&value, data, sizeof value);
    const QString picture =
        QString::fromUtf8(reinterpret_cast<const char *>(data + sizeof value), qsizetype(size - sizeof value));
    const QString shown = formatNumber(value, picture);
    if (!std::isfinite(value)) {
        if (!shown.isEmpty())
            std::abort();
        return 0;
    }
    // A picture of optional digits only shows a zero as nothing (or the bare "$").
    const bool noDigits = std::none_of(shown.begin(), shown.end(), [](QChar c) { return c.isDigit(); });
    const double back = noDigits ? 0 : picture.isEmpty() ? shown.toDouble() : parseNumber(shown).value_or(NAN);
    // Fifteen digits of a value within 5e-15 of the largest double round past it, and
    // "1.79769313486232e+308" reads back as no double at all: right, and not ours to mend.
    if (picture.isEmpty() && std::fabs(value) > std::numeric_limits<double>::max() * (1 - 5e-15))
        return 0;
    const qsizetype point = shown.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(shown.size() - point - 1);
    const double ulp = std::nextafter(std::fabs(value), std::numeric_limits<double>::infinity()) - std::fabs(value);
    const double slack = picture.isEmpty() ? std::fabs(value) * 1e-14 : 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9);
    if (!(std::fabs(back - value) <= slack + 2 * ulp))
        std::abort();
    const QString negated = formatNumber(-value, picture);
    if (!picture.isEmpty() && back != 0 && negated != (shown.startsWith(u'-') ? shown.mid(1) : u'-' + shown))
        std::abort();
    return 0;
}
