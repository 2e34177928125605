#pragma once

// The integer arithmetic shared by layout, rendering and printing.

// Truncation toward zero, saturated to the int range (NaN gives 0), so that
// no sheet value can overflow a pixel or dot coordinate.
int TruncToInt(double d);

// n × numerator / denominator with a 64-bit product, rounded to the nearest
// integer, halves away from zero; −1 for a zero denominator or a result
// outside the int range, as the platform's MulDiv.
int MulDiv(int n, int numerator, int denominator);
