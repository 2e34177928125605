#pragma once

// The integer arithmetic shared by layout, rendering and printing.

#include <cstdint>

// Truncation toward zero, saturated to the int range (NaN gives 0), so that
// no sheet value can overflow a pixel or dot coordinate.
int TruncToInt(double d);

// n × numerator / denominator with a 64-bit product, rounded to the nearest
// integer, halves away from zero; −1 for a zero denominator or a result
// outside the int range, as the platform's MulDiv.
int MulDiv(int n, int numerator, int denominator);

// n itself, or the end of the int range that n lies beyond: sums and products
// of ints done in 64 bits come back without overflow.
int SaturateToInt(std::int64_t n);
