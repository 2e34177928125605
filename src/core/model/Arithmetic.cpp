#include "model/Arithmetic.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

int TruncToInt(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (d <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(d);
}

int MulDiv(int n, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(n) * numerator;
    const std::int64_t divisor = std::abs(static_cast<std::int64_t>(denominator));
    const bool bNegative = (product < 0) != (denominator < 0);
    const std::int64_t quotient = (std::abs(product) + divisor / 2) / divisor;
    const std::int64_t result = bNegative ? -quotient : quotient;
    if (result > INT_MAX || result < INT_MIN)
        return -1;
    return static_cast<int>(result);
}

int SaturateToInt(std::int64_t n)
{
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return static_cast<int>(n);
}
