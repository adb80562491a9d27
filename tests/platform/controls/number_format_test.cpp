// Picture formats and number reading.
#include "platform/controls/number_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

using qmx44::controls::formatNumber;
using qmx44::controls::parseNumber;

// Guards against wrong decimal bounds, grouping, sign placement and rounding.
TEST(NumberFormatTest, ShowsValueThroughPicture)
{
    const std::tuple<const char *, double, const char *> cases[] = {
        // quantities: 3 to 9 decimals
        {"#,##0.000######", 1.0 / 3, "0.333333333"},
        {"#,##0.000######", 2.0000000004, "2.000"},
        // currency 2 to 9 decimals, with sign before the "$"
        {"$#,##0.00#######", 33.333, "$33.333"},
        {"$#,##0.00#######", -1234.5, "-$1,234.50"},
        // currency fields: exactly four decimals
        {"$#,##0.0000", 0.00005, "$0.0001"},
        {"$#,##0.0000", -0.00004, "$0.0000"},
        {"$#,##0.0000", 999999.99996, "$1,000,000.0000"},
        // exact halves go away from zero; values just under a half go down
        {"0.00", 0.125, "0.13"},
        {"0.00", 1.005, "1.00"},
        // no required integer digit; no picture at all
        {"#.##", 0.5, ".5"},
        {"", 0.1 + 0.2, "0.3"},
        {"$#,##0.0000", std::numeric_limits<double>::quiet_NaN(), ""}};
    for (const auto &[picture, value, expected] : cases)
        EXPECT_EQ(QString::fromUtf8(expected), formatNumber(value, QString::fromUtf8(picture)))
            << picture << " " << value;
}

// Guards against a stored number showing the double's noise where no picture applies.
TEST(NumberFormatTest, StoredValuesShowWithoutNoise)
{
    EXPECT_EQ(QStringLiteral("16112.4"), qmx44::controls::textOf(16112.400000000001));
    EXPECT_EQ(QStringLiteral("16112.39884"), qmx44::controls::textOf(17852.4 - 1740.0011600000003));
    EXPECT_EQ(QStringLiteral("45"), qmx44::controls::textOf(qlonglong(45)));
    EXPECT_EQ(QStringLiteral("CIL050607QX2"), qmx44::controls::textOf(QStringLiteral("CIL050607QX2")));
}

// Guards against reading past the digits computed when a picture asks for more
// decimals than the expansion held (a heap overflow).
TEST(NumberFormatTest, ShowsMoreDecimalsThanTheExpansionHolds)
{
    const QString shown = formatNumber(0.1, QStringLiteral("0.") + QString(500, QLatin1Char('0')));
    EXPECT_EQ(QStringLiteral("0.1000000000000000055511151231257827021181583404541015625")
                  + QString(445, QLatin1Char('0')),
              shown);
}

// Guards against accepting text that is not a number, or misreading shown amounts.
TEST(NumberFormatTest, ReadsTypedOrShownNumbers)
{
    const std::pair<const char *, double> numbers[] = {
        {"$1,234.5000", 1234.5}, {"-$5", -5}, {"$-5", -5}, {" 7 ", 7}, {".5", 0.5}, {"5.", 5}};
    for (const auto &[text, value] : numbers)
        EXPECT_EQ(std::optional<double>(value), parseNumber(QString::fromUtf8(text))) << text;
    for (const char *text : {"", ".", "1..2", "12abc", "nan", "1e5"})
        EXPECT_FALSE(parseNumber(QString::fromUtf8(text)).has_value()) << text;
}
