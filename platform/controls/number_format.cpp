// Picture formats: parsing the picture once per call, rounding on the exact decimal
// expansion of the double so that what is shown is the correctly rounded value.
#include "platform/controls/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace qmx44::controls {

namespace {

struct Picture {
    QString prefix; // "$" or empty
    bool thousands = false;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
};

Picture parsePicture(const QString &picture)
{
    Picture p;
    QString body = picture;
    if (body.startsWith(QLatin1Char('$'))) {
        p.prefix = QStringLiteral("$");
        body.remove(0, 1);
    }
    const int point = body.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? body : body.left(point);
    const QString decPart = point < 0 ? QString() : body.mid(point + 1);
    p.thousands = intPart.contains(QLatin1Char(','));
    p.minInt = int(intPart.count(QLatin1Char('0')));
    p.minDec = int(decPart.count(QLatin1Char('0')));
    p.maxDec = p.minDec + int(decPart.count(QLatin1Char('#')));
    return p;
}

// The decimal expansion of |value| to `precision` decimals, split into integer and
// fraction digits.
void expandTo(double magnitude, int precision, std::string &intDigits, std::string &fracDigits)
{
    const int size = std::snprintf(nullptr, 0, "%.*f", precision, magnitude);
    // An encoding failure; never seen, but the buffer must not be sized from it. (assign,
    // not = "0": GCC 12 at -O2 warns falsely of an overlapping copy there.)
    if (size <= 0) {
        intDigits.assign(1, '0');
        fracDigits.clear();
        return;
    }
    std::string buf(std::size_t(size) + 1, '\0');
    std::snprintf(buf.data(), buf.size(), "%.*f", precision, magnitude);
    buf.resize(std::size_t(size));
    const auto dot = buf.find('.');
    intDigits = buf.substr(0, dot);
    fracDigits = buf.substr(dot + 1);
}

// The first `digits` fraction digits of |value| exactly as they stand, not rounded.
// printf rounds at its last decimal; that rounding reaches the digits wanted only by
// carrying through every guard decimal after them, which leaves those all zeros. Guard
// decimals with a non-zero digit prove the digits wanted untouched; otherwise (a value
// that ends there, such as 12.5, or a run of nines) the expansion is taken far enough
// that no double is cut short where it matters.
void expand(double magnitude, int digits, std::string &intDigits, std::string &fracDigits)
{
    constexpr int kGuard = 24;
    expandTo(magnitude, digits + kGuard, intDigits, fracDigits);
    if (fracDigits.find_first_not_of('0', std::size_t(digits)) == std::string::npos)
        expandTo(magnitude, std::max(400, digits), intDigits, fracDigits);
}

// Adds one unit at the last digit of `digits` (decimal string arithmetic); returns the
// carry out of the first digit.
bool increment(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '9') {
            *it = '0';
        } else {
            ++*it;
            return false;
        }
    }
    return true;
}

} // namespace

QString formatNumber(double value, const QString &picture)
{
    if (!std::isfinite(value))
        return QString();
    if (picture.isEmpty())
        return QString::number(value, 'g', 15);

    const Picture p = parsePicture(picture);
    std::string intDigits, frac;
    // One decimal past the picture's last decides the rounding, however many it has.
    expand(std::fabs(value), p.maxDec + 1, intDigits, frac);

    // Half away from zero: the first dropped digit decides.
    const bool roundUp = frac[std::size_t(p.maxDec)] >= '5';
    frac.resize(std::size_t(p.maxDec));
    if (roundUp && increment(frac) && increment(intDigits))
        intDigits.insert(intDigits.begin(), '1');

    while (int(frac.size()) > p.minDec && frac.back() == '0')
        frac.pop_back();
    std::size_t firstNonZero = intDigits.find_first_not_of('0');
    intDigits = firstNonZero == std::string::npos ? std::string() : intDigits.substr(firstNonZero);
    const bool zero = intDigits.empty() && frac.find_first_not_of('0') == std::string::npos;
    while (int(intDigits.size()) < p.minInt)
        intDigits.insert(intDigits.begin(), '0');

    QString out;
    if (value < 0 && !zero)
        out += QLatin1Char('-');
    out += p.prefix;
    const int n = int(intDigits.size());
    for (int i = 0; i < n; ++i) {
        if (p.thousands && i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += QLatin1Char(intDigits[std::size_t(i)]);
    }
    if (!frac.empty()) {
        out += QLatin1Char('.');
        out += QString::fromLatin1(frac.data(), qsizetype(frac.size()));
    }
    return out;
}

QString textOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return formatNumber(value.toDouble(), QString());
    default:
        return value.toString();
    }
}

std::optional<double> parseNumber(const QString &text)
{
    const QString t = text.trimmed();
    QString clean;
    int i = 0;
    const int n = int(t.size());
    bool negative = false;
    if (i < n && t[i] == u'-') {
        negative = true;
        ++i;
    }
    if (i < n && t[i] == u'$')
        ++i;
    if (!negative && i < n && t[i] == u'-') {
        negative = true;
        ++i;
    }
    int digits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            clean += c;
            ++digits;
        } else if (c == u',' && !point && digits > 0) {
            // thousands separator: skipped
        } else if (c == u'.' && !point) {
            point = true;
            clean += c;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    bool ok = false;
    double v = clean.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

} // namespace qmx44::controls
