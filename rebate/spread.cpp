#include "rebate/spread.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qmx44::rebate {

namespace {

// The bases are scaled to whole units of 1/10,000 (the finest an amount or a quantity is
// stored with) and shares are worked out in 128-bit integers: no share drifts by a cent
// through floating-point rounding, whatever the sizes.
using Wide = __int128;

Wide scaled(double basis)
{
    return basis > 0 ? Wide(std::llround(basis * 10000.0)) : 0;
}

} // namespace

Spread spread(std::int64_t cents, const std::vector<SpreadLine> &lines)
{
    Spread result;
    result.cents.assign(lines.size(), 0);
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].excluded && scaled(lines[i].basis) > 0 && lines[i].cap > 0)
            open.push_back(i);
    }
    std::int64_t rest = std::max<std::int64_t>(cents, 0);
    while (rest > 0 && !open.empty()) {
        Wide total = 0;
        for (const std::size_t i : open)
            total += scaled(lines[i].basis);
        // Lines whose share passes their cap take the cap and close; the rest is offered again.
        std::vector<std::size_t> still;
        std::int64_t capped = 0;
        for (const std::size_t i : open) {
            if (Wide(rest) * scaled(lines[i].basis) > Wide(lines[i].cap) * total) {
                result.cents[i] = lines[i].cap;
                capped += lines[i].cap;
            } else {
                still.push_back(i);
            }
        }
        if (capped > 0) {
            rest -= capped;
            open = std::move(still);
            continue;
        }
        // No share passes its cap: cut down, then the cents left by largest remainder.
        std::vector<std::pair<Wide, std::size_t>> remainders;
        std::int64_t given = 0;
        for (const std::size_t i : open) {
            const Wide share = Wide(rest) * scaled(lines[i].basis);
            result.cents[i] = std::int64_t(share / total);
            given += result.cents[i];
            remainders.emplace_back(share % total, i);
        }
        std::stable_sort(remainders.begin(), remainders.end(),
                         [](const auto &a, const auto &b) { return a.first > b.first; });
        // Fewer cents are left than lines with a remainder, and a line whose share was
        // whole (the only kind that can sit at its cap) has none: no cap is passed here.
        for (std::int64_t k = 0; k < rest - given; ++k)
            ++result.cents[remainders[std::size_t(k)].second];
        rest = 0;
    }
    result.unplaced = rest;
    return result;
}

std::int64_t capBeforeTax(double pending, double taxFactor)
{
    if (!(pending > 0) || !std::isfinite(pending) || !(taxFactor >= 0))
        return 0;
    const auto withTax = [taxFactor](std::int64_t c) { return double(c) / 100.0 * (1.0 + taxFactor); };
    auto cents = std::int64_t(std::floor(pending / (1.0 + taxFactor) * 100.0));
    // The division may land a cent either side of the exact bound: settle it by the test itself.
    while (cents > 0 && withTax(cents) > pending)
        --cents;
    while (withTax(cents + 1) <= pending)
        ++cents;
    return cents;
}

std::int64_t percentOf(double amount, double percent)
{
    return std::llround(amount * percent);
}

} // namespace qmx44::rebate
