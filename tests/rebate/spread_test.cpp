// Spreading a rebate: exact sums in cents, caps, and what cannot be placed.
#include "rebate/spread.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using qmx44::rebate::spread;
using qmx44::rebate::SpreadLine;

namespace {

std::vector<SpreadLine> lines(std::initializer_list<double> bases, std::int64_t cap = 1'000'000'000)
{
    std::vector<SpreadLine> out;
    for (const double b : bases)
        out.push_back({b, cap, false});
    return out;
}

} // namespace

// Guards against parts that do not add up to the amount, or cents going to the wrong line.
TEST(RebateSpreadTest, PartsAddUpToTheAmountByLargestRemainder)
{
    EXPECT_EQ((std::vector<std::int64_t>{34, 33, 33}), spread(100, lines({1, 1, 1})).cents);
    EXPECT_EQ((std::vector<std::int64_t>{1, 0, 0, 0, 0, 0, 0}), spread(1, lines({5, 5, 5, 5, 5, 5, 5})).cents);
    EXPECT_EQ((std::vector<std::int64_t>{333, 667}), spread(1000, lines({1, 2})).cents);
    // Quantities with decimals, and a line of no basis left out.
    EXPECT_EQ((std::vector<std::int64_t>{250, 0, 750}), spread(1000, lines({0.125, 0, 0.375})).cents);
}

// Guards against a line taking more than its cap, what overflows being lost instead of
// offered to the others, and what nobody can take being dropped silently.
TEST(RebateSpreadTest, CapsOverflowToTheOthersAndTheRestIsUnplaced)
{
    std::vector<SpreadLine> capped = lines({1, 1, 2});
    capped[0].cap = 100;
    auto s = spread(1000, capped);
    EXPECT_EQ((std::vector<std::int64_t>{100, 300, 600}), s.cents);
    EXPECT_EQ(0, s.unplaced);

    capped[1].cap = 50;
    capped[2].cap = 70;
    s = spread(1000, capped);
    EXPECT_EQ((std::vector<std::int64_t>{100, 50, 70}), s.cents);
    EXPECT_EQ(780, s.unplaced);

    std::vector<SpreadLine> excluded = lines({1, 1});
    excluded[0].excluded = true;
    EXPECT_EQ((std::vector<std::int64_t>{0, 1000}), spread(1000, excluded).cents);
    EXPECT_EQ(1000, spread(1000, lines({0, 0})).unplaced);
    EXPECT_EQ(1000, spread(1000, {}).unplaced);
}

// Guards against any mix of bases and caps breaking the two promises: the parts and the
// unplaced rest add up to the amount exactly, and no part passes its cap.
TEST(RebateSpreadTest, NoMixOfBasesAndCapsBreaksTheSumOrACap)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> count(1, 40), cap(0, 50'000), cents(0, 2'000'000);
    std::uniform_real_distribution<double> basis(0, 5000);
    for (int run = 0; run < 300; ++run) {
        std::vector<SpreadLine> ls(std::size_t(count(random)));
        for (std::size_t i = 0; i < ls.size(); ++i)
            ls[i] = {std::round(basis(random) * 1000) / 1000, cap(random), run % 5 == 0 && i % 3 == 0};
        const std::int64_t amount = cents(random);
        const auto s = spread(amount, ls);
        std::int64_t sum = s.unplaced;
        for (std::size_t i = 0; i < ls.size(); ++i) {
            EXPECT_LE(s.cents[i], ls[i].excluded ? 0 : ls[i].cap) << "run " << run << " line " << i;
            EXPECT_GE(s.cents[i], 0);
            sum += s.cents[i];
        }
        EXPECT_EQ(amount, sum) << "run " << run;
    }
}

// Guards against a cap whose tax included passes what is pending, or one a cent short.
TEST(RebateSpreadTest, CapKeepsTheTaxIncludedAmountWithinWhatIsPending)
{
    EXPECT_EQ(10000, qmx44::rebate::capBeforeTax(116.00, 0.16));
    EXPECT_EQ(10000, qmx44::rebate::capBeforeTax(116.01, 0.16));
    EXPECT_EQ(10001, qmx44::rebate::capBeforeTax(116.0116, 0.16));
    EXPECT_EQ(116, qmx44::rebate::capBeforeTax(1.16, 0));
    EXPECT_EQ(0, qmx44::rebate::capBeforeTax(0, 0.16));
    EXPECT_EQ(0, qmx44::rebate::capBeforeTax(-5, 0.16));
    EXPECT_EQ(12346, qmx44::rebate::percentOf(1234.56, 10));
}
