// A power of long double numbers computed with the x87 unit's own steps: the
// runtime's powl brings some 3 KB of code and tables into each program for
// what the unit does in a few instructions.
#ifndef QUELT_SUPPORT_POWER_H
#define QUELT_SUPPORT_POWER_H

namespace Zint_Std {

// base to the power exponent, as powl gives it for finite arguments:
// - a whole exponent is exact as long as the product fits (2^60, 10^27, 3^40),
//   by repeated squaring; a negative one is one over the positive power;
// - any other exponent of a positive base is 2^(exponent * log2 base);
// - 0 to a positive power is 0, to the power 0 is 1, to a negative one
//   infinity; a negative base to a power that is not whole is NaN;
// - a result beyond long double's range is infinity, one below it 0.
long double Power(const long double& base, const long double& exponent);

}  // namespace Zint_Std

#endif
