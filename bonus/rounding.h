#pragma once
// Rounding of amounts to a number of decimals with a half going to the even neighbour
// (2.0625 -> 2.062, 2.0635 -> 2.064), decided on the exact binary value of the double.
//
// Why the exact value: a double such as 1.0025 is really 1.00249999999999994671..., so
// it is below the half and goes down (1.002), while 2.0625 is exactly representable and
// is a true half (2.062). Deciding on the exact value needs no text conversion and gives
// the same answer however the number is later printed. The result is the double nearest
// to the rounded decimal (what prints as "2.062").
namespace qmx44::bonus {

// `value` rounded to `decimals` places (0 to 15), half to even. Non-finite values come
// back unchanged; so do values too large to hold a digit at that place (|value| x 10^d
// at or beyond 2^52, where the double has no finer digits to round away).
double roundHalfEven(double value, int decimals);

} // namespace qmx44::bonus
