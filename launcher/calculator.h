// The arithmetic of a typed "=" line: evaluates an expression and formats
// its result for the candidate list and the clipboard. Pure text in, text
// out; no allocation while evaluating.
//
// Grammar, loosest binding first (blanks and tabs may stand between tokens):
//   sum     := product { ("+" | "-") product }
//   product := unary { ("*" | "/" | "%") unary }
//   unary   := ("-" | "+") unary | power
//   power   := primary [ "^" unary ]          right-associative
//   primary := number | "(" sum ")"
//   number  := digits ["." [digits]] [exponent] | "." digits [exponent]
//            | "0x" hexdigits                  (x and the digits any case)
// So 2^3^2 is 2^9, -2^2 is -(2^2) = -4, and 2^-1 is 0.5. "%" is the
// remainder of fmod: its sign follows the dividend (-7%3 is -1).
//
// Refused (false): empty or blank input, 500 bytes or more, any byte above
// 0x7F (a double-byte character), malformed text, division or remainder by
// zero, and any number or intermediate result that is not finite.
#ifndef QUELT_LAUNCHER_CALCULATOR_H
#define QUELT_LAUNCHER_CALCULATOR_H

#include "support/string.h"

class CCalculator {
public:
    // An expression of this many bytes or more is refused unread.
    static const int kMaxLength = 500;
    // Parentheses, signs and powers nested deeper than this are refused, so
    // the recursion stays bounded.
    static const int kMaxDepth = 100;
    // Room for any text Format writes, terminator included.
    static const int kFormatSize = 32;

    CCalculator();

    // The value of the expression (without its leading "="); false when it
    // is refused, and value is then left as it was.
    bool Evaluate(const char* expression, double& value);

    // Integers up to 1e15 in magnitude with every digit and no point
    // (42, -7, 1000000000000000); anything else with at most 15 significant
    // digits and no trailing zeros as printf's %.15g writes it (0.3,
    // 0.333333333333333, 1e+16, 1.5e-07), the exponent with at least two
    // digits whatever the runtime. Negative zero shows as 0. False when the
    // value is not finite or the text does not fit in size bytes.
    static bool Format(const double& value, char* text, const int& size);

    // Evaluate, then Format; result is emptied when the expression is refused.
    bool Calculate(const char* expression, Zint_Std::CString& result);

private:
    const char* cursor;  // next byte to read
    int depth;           // current nesting of parentheses, signs and powers

    bool ParseSum(double& value);
    bool ParseProduct(double& value);
    bool ParseUnary(double& value);
    bool ParsePower(double& value);
    bool ParsePrimary(double& value);
    bool ParseNumber(double& value);
    bool ParseHexNumber(double& value);
    void SkipBlanks();
    bool Enter();
    void Leave();
};

#endif
