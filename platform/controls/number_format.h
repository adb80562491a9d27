#pragma once
// Picture formats for numbers ("#,##0.000######", "$#,##0.0000", ...): `#` an optional
// digit, `0` a required digit, `,` thousands separators, `.` the decimal point, a leading
// `$` a literal sign. Locale-free; rounding is half away from zero on the exact value.
#include <QString>
#include <QVariant>
#include <optional>

namespace qmx44::controls {

// The display of `value` through `picture`. An empty picture gives the plain number
// (up to 15 significant digits). Negative numbers carry a leading minus ("-$1.50"); a
// value that rounds to zero shows no minus. NaN and infinities give the empty text.
QString formatNumber(double value, const QString &picture);

// The text a stored value shows as where no picture applies (a field written from a
// record, a grid's text cell): a number as formatNumber(value, {}) gives it, so that
// 16112.400000000001 shows as 16112.4; anything else as its own text.
QString textOf(const QVariant &value);

// Reads a number as typed or as shown: optional minus, optional "$", digits with or
// without "," separators, optional "." and decimals; blanks around are ignored.
// Nothing else is accepted. Empty text gives no value.
std::optional<double> parseNumber(const QString &text);

} // namespace qmx44::controls
