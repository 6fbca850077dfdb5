#include "launcher/calculator.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "support/power.h"

namespace {

bool IsDigit(const char c) { return c >= '0' && c <= '9'; }

// The value of a hexadecimal digit, or -1.
int HexDigit(const char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Short of kMaxLength bytes and plain ASCII; reads no further than the limit.
bool IsAcceptableText(const char* text)
{
    for (int i = 0; i < CCalculator::kMaxLength; i++) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0)
            return true;
        if (c > 0x7F)
            return false;
    }
    return false;
}

// Rewrites the exponent of a %g text to at least two digits: the platform's
// runtime writes three ("1e+016"), C99 two ("1e+16").
void TrimExponent(char* text)
{
    char* mark = strchr(text, 'e');
    if (!mark)
        return;
    char* digits = mark + 2;  // past the sign %g always writes
    int length = static_cast<int>(strlen(digits));
    while (length > 2 && digits[0] == '0') {
        memmove(digits, digits + 1, length);  // the terminator moves too
        length--;
    }
}

// Stores the result as a double and says whether it is finite. The 32-bit
// build computes on the x87 with wider intermediates: without the trip
// through memory an overflow could pass this test and show as "inf" later.
bool StoreFinite(const double result, double& value)
{
    volatile double rounded = result;
    value = rounded;
    return isfinite(value);
}

}  // namespace

CCalculator::CCalculator() : cursor(0), depth(0) {}

bool CCalculator::Evaluate(const char* expression, double& value)
{
    if (!expression || !IsAcceptableText(expression))
        return false;
    cursor = expression;
    depth = 0;
    double result = 0;
    if (!ParseSum(result))
        return false;
    SkipBlanks();
    if (*cursor != 0)
        return false;  // an unmatched ")" or a second value without operator
    value = result;
    return true;
}

bool CCalculator::Format(const double& value, char* text, const int& size)
{
    if (!text || size <= 0 || !isfinite(value))
        return false;
    char buffer[kFormatSize];
    if (value == 0)
        strcpy(buffer, "0");  // also for -0
    else if (value == floor(value) && fabs(value) <= 1e15)
        _snprintf(buffer, sizeof(buffer), "%.0f", value);
    else {
        _snprintf(buffer, sizeof(buffer), "%.15g", value);
        TrimExponent(buffer);
    }
    buffer[sizeof(buffer) - 1] = 0;
    const int length = static_cast<int>(strlen(buffer));
    if (length >= size)
        return false;
    memcpy(text, buffer, length + 1);
    return true;
}

bool CCalculator::Calculate(const char* expression, Zint_Std::CString& result)
{
    double value = 0;
    char text[kFormatSize];
    if (!Evaluate(expression, value) || !Format(value, text, sizeof(text))) {
        result.Empty();
        return false;
    }
    return result.Assign(text);
}

bool CCalculator::ParseSum(double& value)
{
    if (!ParseProduct(value))
        return false;
    for (;;) {
        SkipBlanks();
        const char op = *cursor;
        if (op != '+' && op != '-')
            return true;
        cursor++;
        double right = 0;
        if (!ParseProduct(right))
            return false;
        if (!StoreFinite(op == '+' ? value + right : value - right, value))
            return false;
    }
}

bool CCalculator::ParseProduct(double& value)
{
    if (!ParseUnary(value))
        return false;
    for (;;) {
        SkipBlanks();
        const char op = *cursor;
        if (op != '*' && op != '/' && op != '%')
            return true;
        cursor++;
        double right = 0;
        if (!ParseUnary(right))
            return false;
        if (op != '*' && right == 0)
            return false;
        const double result =
            op == '*' ? value * right : op == '/' ? value / right
                                                  : fmod(value, right);
        if (!StoreFinite(result, value))
            return false;
    }
}

// A sign binds looser than "^", so that -2^2 is -(2^2).
bool CCalculator::ParseUnary(double& value)
{
    SkipBlanks();
    const char sign = *cursor;
    if (sign != '-' && sign != '+')
        return ParsePower(value);
    cursor++;
    if (!Enter())
        return false;
    const bool parsed = ParseUnary(value);
    Leave();
    if (parsed && sign == '-')
        value = -value;
    return parsed;
}

// The exponent is a unary, not a power: that makes "^" right-associative
// and lets it carry its own sign (2^-1).
bool CCalculator::ParsePower(double& value)
{
    if (!ParsePrimary(value))
        return false;
    SkipBlanks();
    if (*cursor != '^')
        return true;
    cursor++;
    if (!Enter())
        return false;
    double exponent = 0;
    const bool parsed = ParseUnary(exponent);
    Leave();
    if (!parsed)
        return false;
    // The long double power the number parser uses too.
    return StoreFinite(static_cast<double>(Zint_Std::Power(value, exponent)), value);  // 0^-1 and (-8)^(1/3) end here
}

bool CCalculator::ParsePrimary(double& value)
{
    SkipBlanks();
    if (*cursor != '(')
        return ParseNumber(value);
    cursor++;
    if (!Enter())
        return false;
    const bool parsed = ParseSum(value);
    Leave();
    if (!parsed)
        return false;
    SkipBlanks();
    if (*cursor != ')')
        return false;
    cursor++;
    return true;
}

namespace {

// The value of a decimal number whose form was checked: digits with an
// optional point, then an optional exponent. The first 19 significant
// digits are kept exactly, and one scaling by a power of ten follows, so
// the result is as near as the display needs; no runtime parser (and its
// size) is needed for it.
double DecimalValue(const char* from, const char* to)
{
    unsigned long long mantissa = 0;
    int significant = 0;
    int exponent = 0;
    bool fraction = false;
    const char* p = from;
    for (; p < to && (IsDigit(*p) || *p == '.'); p++) {
        if (*p == '.') {
            fraction = true;
            continue;
        }
        const int digit = *p - '0';
        if (significant < 19) {
            if (significant > 0 || digit != 0) {
                mantissa = mantissa * 10 + static_cast<unsigned long long>(digit);
                significant++;
            }
            if (fraction)
                exponent--;
        } else if (!fraction) {
            exponent++;
        }
    }
    if (p < to && (*p == 'e' || *p == 'E')) {
        p++;
        int sign = 1;
        if (*p == '+' || *p == '-')
            sign = *p++ == '-' ? -1 : 1;
        int written = 0;
        for (; p < to && IsDigit(*p); p++) {
            if (written < 100000)
                written = written * 10 + (*p - '0');
        }
        exponent += sign * written;
    }
    if (mantissa == 0)
        return 0;  // 0e999 is 0, not 0 times an infinite power
    // The scaling is done in long double: its range holds the power of ten of
    // every number a double can take, also where that power itself is beyond
    // a double (2.5e-308 is 25 / 10^309), its 64-bit mantissa holds the 19
    // digits exactly, and its power is precise enough that the one rounding
    // to double that follows gives the nearest double, a subnormal one too,
    // 0 below them and infinity (refused) above 1.8e308.
    const long double digits = static_cast<long double>(mantissa);
    const long double scale = Zint_Std::Power(10.0L, exponent < 0 ? -exponent : exponent);
    return static_cast<double>(exponent < 0 ? digits / scale : digits * scale);
}

}  // namespace

bool CCalculator::ParseNumber(double& value)
{
    if (cursor[0] == '0' && (cursor[1] == 'x' || cursor[1] == 'X'))
        return ParseHexNumber(value);
    // The form is checked here; the value is then made from it.
    const char* end = cursor;
    int mantissaDigits = 0;
    while (IsDigit(*end)) {
        end++;
        mantissaDigits++;
    }
    if (*end == '.') {
        end++;
        while (IsDigit(*end)) {
            end++;
            mantissaDigits++;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (*end == 'e' || *end == 'E') {
        end++;
        if (*end == '+' || *end == '-')
            end++;
        if (!IsDigit(*end))
            return false;
        while (IsDigit(*end))
            end++;
    }
    // Through memory, so that the x87 leaves no value beyond a double's
    // range to pass the test.
    double number = 0;
    if (!StoreFinite(DecimalValue(cursor, end), number))
        return false;
    cursor = end;
    value = number;
    return true;
}

bool CCalculator::ParseHexNumber(double& value)
{
    const char* digit = cursor + 2;
    if (HexDigit(*digit) < 0)
        return false;
    double number = 0;
    for (; HexDigit(*digit) >= 0; digit++)
        number = number * 16 + HexDigit(*digit);
    if (!StoreFinite(number, value))
        return false;
    cursor = digit;
    return true;
}

void CCalculator::SkipBlanks()
{
    while (*cursor == ' ' || *cursor == '\t')
        cursor++;
}

bool CCalculator::Enter()
{
    if (depth >= kMaxDepth)
        return false;
    depth++;
    return true;
}

void CCalculator::Leave() { depth--; }
