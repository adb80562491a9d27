#pragma once
// How a volume rebate is spread over the purchase lines it covers: in proportion to each
// line's basis (its amount, or its control quantity), in whole cents, so that the parts
// add up to the amount exactly, and no line receiving more than is still pending on it.
//
// The amount goes out in rounds: each round offers the rest to the lines still open in
// proportion to their basis; a line offered more than its cap takes its cap and closes,
// and the rest is offered again to the others. When no line overflows, the shares are
// rounded to cents by largest remainder: each takes the cents of its share cut down, and
// the cents left go one each to the lines with the largest cut-off fractions (the earlier
// line first on a tie). What no line can take (every line at its cap, or no basis at all)
// is returned as unplaced, never dropped.
#include <cstdint>
#include <vector>

namespace qmx44::rebate {

// One line offered a part of the rebate.
struct SpreadLine {
    double basis = 0;     // amount or control quantity; a line of no basis gets nothing
    std::int64_t cap = 0; // the most it may take, in cents
    bool excluded = false;
};

struct Spread {
    std::vector<std::int64_t> cents; // each line's part, in the order given
    std::int64_t unplaced = 0;       // what no line could take
};

// Spreads `cents` (not negative) over `lines`.
Spread spread(std::int64_t cents, const std::vector<SpreadLine> &lines);

// The most a line may be granted before tax, in cents: the largest amount whose tax at
// `taxFactor` (0.16 for 16 %) included does not exceed `pending`; 0 when nothing is.
std::int64_t capBeforeTax(double pending, double taxFactor);

// `percent` % of `amount`, in cents, half away from zero.
std::int64_t percentOf(double amount, double percent);

} // namespace qmx44::rebate
