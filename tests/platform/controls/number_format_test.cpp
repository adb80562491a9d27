// Picture formats and number reading.
#include "platform/controls/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using qmx44::controls::formatNumber;
using qmx44::controls::parseNumber;

struct FormatCase {
    const char *picture;
    double value;
    const char *expected;
};

class NumberFormatPicturesTest : public ::testing::TestWithParam<FormatCase> {};

// Guards against wrong decimal bounds, grouping, sign placement and rounding.
TEST_P(NumberFormatPicturesTest, ShowsValueThroughPicture)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(QString::fromUtf8(c.expected), formatNumber(c.value, QString::fromUtf8(c.picture)))
        << c.picture << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberFormatPicturesTest,
    ::testing::Values(
        // quantities: 3 to 9 decimals
        FormatCase{"#,##0.000######", 0, "0.000"}, FormatCase{"#,##0.000######", 1.0 / 3, "0.333333333"},
        FormatCase{"#,##0.000######", 2.0000000004, "2.000"},
        // currency 2 to 9 decimals, with sign before the "$"
        FormatCase{"$#,##0.00#######", 25, "$25.00"}, FormatCase{"$#,##0.00#######", 33.333, "$33.333"},
        FormatCase{"$#,##0.00#######", -1234.5, "-$1,234.50"},
        // currency fields: exactly four decimals
        FormatCase{"$#,##0.0000", 0, "$0.0000"}, FormatCase{"$#,##0.0000", 0.00005, "$0.0001"},
        FormatCase{"$#,##0.0000", -0.00004, "$0.0000"}, FormatCase{"$#,##0.0000", 999999.99996, "$1,000,000.0000"},
        // exact halves go away from zero; values just under a half go down
        FormatCase{"0.00", 0.125, "0.13"}, FormatCase{"0.00", 1.005, "1.00"},
        // no required integer digit; no picture at all
        FormatCase{"#.##", 0.5, ".5"}, FormatCase{"", 0.1 + 0.2, "0.3"},
        FormatCase{"$#,##0.0000", std::numeric_limits<double>::quiet_NaN(), ""}));

// Guards against reading past the digits computed when a picture asks for more
// decimals than the expansion held (a heap overflow).
TEST(NumberFormatTest, ShowsMoreDecimalsThanTheExpansionHolds)
{
    const QString shown = formatNumber(0.1, QStringLiteral("0.") + QString(500, QLatin1Char('0')));
    EXPECT_EQ(QStringLiteral("0.1000000000000000055511151231257827021181583404541015625")
                  + QString(445, QLatin1Char('0')),
              shown);
}

struct ParseCase {
    const char *text;
    bool ok;
    double value;
};

class NumberFormatParseTest : public ::testing::TestWithParam<ParseCase> {};

// Guards against accepting text that is not a number, or misreading shown amounts.
TEST_P(NumberFormatParseTest, ReadsTypedOrShownNumbers)
{
    const ParseCase &c = GetParam();
    auto v = parseNumber(QString::fromUtf8(c.text));
    ASSERT_EQ(c.ok, v.has_value()) << c.text;
    if (c.ok) {
        EXPECT_EQ(c.value, *v) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberFormatParseTest,
                         ::testing::Values(ParseCase{"$1,234.5000", true, 1234.5}, ParseCase{"-$5", true, -5},
                                           ParseCase{"$-5", true, -5}, ParseCase{" 7 ", true, 7},
                                           ParseCase{".5", true, 0.5}, ParseCase{"5.", true, 5},
                                           ParseCase{"", false, 0}, ParseCase{".", false, 0},
                                           ParseCase{"1..2", false, 0}, ParseCase{"12abc", false, 0},
                                           ParseCase{"nan", false, 0}, ParseCase{"1e5", false, 0}));
