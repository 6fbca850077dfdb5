#include "support/power.h"

namespace Zint_Std {

namespace {

// Rounded to a whole number in the unit's mode, which is to the nearest.
long double Whole(const long double& x)
{
    long double whole;
    __asm__("frndint"
            : "=t"(whole)
            : "0"(x));
    return whole;
}

// 2^x: 2^(x - whole) from f2xm1, whose argument must lie within -1 to 1, then
// scaled by 2^whole.
long double TwoToThe(const long double& x)
{
    if (x != x)
        return x;
    if (x > 20000.0L)
        return 1.0L / 0.0L;
    if (x < -20000.0L)
        return 0.0L;
    const long double whole = Whole(x);
    long double result;
    __asm__("f2xm1"
            : "=t"(result)
            : "0"(x - whole));
    result += 1.0L;
    __asm__("fscale"
            : "=t"(result)
            : "0"(result), "u"(whole));
    return result;
}

// y * log2(x) for x above 0.
long double TimesLogTwo(const long double& y, const long double& x)
{
    long double result;
    __asm__("fyl2x"
            : "=t"(result)
            : "0"(x), "u"(y)
            : "st(1)");
    return result;
}

}  // namespace

long double Power(const long double& base, const long double& exponent)
{
    const long double kWholeLimit = 9.2e18L;  // below 2^63
    const bool negative = exponent < 0;
    const long double size = negative ? -exponent : exponent;
    if (size < kWholeLimit && Whole(size) == size) {
        unsigned long long n = static_cast<unsigned long long>(size);
        long double result = 1.0L;
        long double square = base;
        while (n) {
            if (n & 1)
                result *= square;
            n >>= 1;
            if (n)
                square *= square;
        }
        return negative ? 1.0L / result : result;
    }
    if (base == 0)
        return negative ? 1.0L / 0.0L : 0.0L;
    if (base < 0) {
        // Whole exponents this large are even.
        if (size >= kWholeLimit)
            return TwoToThe(TimesLogTwo(exponent, -base));
        return 0.0L / 0.0L;
    }
    return TwoToThe(TimesLogTwo(exponent, base));
}

}  // namespace Zint_Std
