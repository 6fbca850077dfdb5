// The calculator of "=" lines: its grammar and formatting as one table, the
// refusals, a generated run of random expressions, and its speed.
#include <gtest/gtest.h>

#include <windows.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "launcher/bench_clock.h"
#include "launcher/calculator.h"
#include "launcher/full_width_arithmetic.h"
#include "test_paths.h"

using Zint_Std::CString;

namespace {

struct CalculatorCase {
    const char* expression;
    const char* result;  // null when the expression is refused
};

// Literals are CP932 after compilation: "１" is the two bytes 0x82 0x50.
const CalculatorCase kCases[] = {
    // precedence and associativity
    {"1+2*3", "7"},
    {"2*21", "42"},
    {"(1+2)*3", "9"},
    {"10-4-3", "3"},
    {"100/10/5", "2"},
    {"2+3%2", "3"},
    {"2*3^2", "18"},
    {"2^3^2", "512"},
    {"(2^3)^2", "64"},
    // signs: looser than "^", tighter than the rest
    {"-2^2", "-4"},
    {"(-2)^2", "4"},
    {"2^-1", "0.5"},
    {"(-2)^3", "-8"},
    {"2^0.5", "1.4142135623731"},
    {"1e10^-30.5", "1e-305"},
    {"-3*-3", "9"},
    {"--5", "5"},
    {"+5", "5"},
    {"1-+1", "0"},
    {"-(2+3)", "-5"},
    // remainder of fmod, decimals too, sign of the dividend
    {"7%3", "1"},
    {"-7%3", "-1"},
    {"5.5%2", "1.5"},
    // numbers
    {"0x10+1", "17"},
    {"0X1f", "31"},
    {"0xff*2", "510"},
    {"0xFFFFFFFF", "4294967295"},
    {"1.5*2", "3"},
    {".5+.25", "0.75"},
    {"1.", "1"},
    {"2e3", "2000"},
    {"1.5E-1", "0.15"},
    {"  1 + 2  ", "3"},
    {"\t3\t*\t4", "12"},
    {"((((7))))", "7"},
    // formatting
    {"1/3", "0.333333333333333"},
    {"2/3", "0.666666666666667"},
    {"0.1+0.2", "0.3"},
    {"-1/4", "-0.25"},
    {"0*-1", "0"},
    {"1e15", "1000000000000000"},
    {"-1e15", "-1000000000000000"},
    {"1e15+1", "1e+15"},
    {"2^60", "1.15292150460685e+18"},
    {"1e-7", "1e-07"},
    {"0.0001", "0.0001"},
    {"123456.789", "123456.789"},
    // near the limits of a double: subnormal, underflow to 0, the largest
    {"2.5e-308", "2.5e-308"},
    {"1e-310*1e300", "9.99999999999997e-11"},
    {"0e999", "0"},
    {"4.9e-324", "4.94065645841247e-324"},
    {"1e-400", "0"},
    {"0.00001e313", "1e+308"},
    {"1.7976931348623157e308", "1.79769313486232e+308"},
    {"1.8e308", 0},
    // refused: arithmetic
    {"1/0", 0},
    {"5%0", 0},
    {"5.5%0", 0},
    {"1/(1-1)", 0},
    {"0^-1", 0},
    {"(-8)^(1/3)", 0},
    {"1e308*10", 0},
    {"10^400", 0},
    {"1e999", 0},
    {"1/1e999", 0},
    // refused: malformed
    {"", 0},
    {"   ", 0},
    {"(1", 0},
    {"1)", 0},
    {"((1)", 0},
    {"1+", 0},
    {"*2", 0},
    {"^2", 0},
    {"2^^2", 0},
    {"1+*2", 0},
    {"0x", 0},
    {"0xg", 0},
    {"0x1.8p1", 0},
    {"1..2", 0},
    {".", 0},
    {"()", 0},
    {"(1)(2)", 0},
    {"1 2", 0},
    {"2e", 0},
    {"2e+", 0},
    {"1,5", 0},
    {"inf", 0},
    {"nan", 0},
    {"abc", 0},
    // refused: double-byte characters
    {"１+1", 0},
    {"1+１", 0},
    {"1＋1", 0},
    {"1　+1", 0},
};

// n copies of piece followed by tail.
CString Repeated(const char* piece, const int& n, const char* tail = "")
{
    CString text;
    for (int i = 0; i < n; i++)
        text.Append(piece);
    text.Append(tail);
    return text;
}

// The expression "1+1+...+1" of exactly length bytes (length odd).
CString SumOfOnes(const int& length)
{
    return CString("1") + Repeated("+1", (length - 1) / 2);
}

}  // namespace

TEST(Calculator, GrammarAndFormattingTable)
{
    CCalculator calculator;
    for (size_t i = 0; i < sizeof(kCases) / sizeof(kCases[0]); i++) {
        const CalculatorCase& c = kCases[i];
        CString result("stale");
        const bool calculated = calculator.Calculate(c.expression, result);
        if (c.result) {
            EXPECT_TRUE(calculated) << "\"" << c.expression << "\"";
            EXPECT_STREQ(c.result, result.data) << "\"" << c.expression << "\"";
        } else {
            EXPECT_FALSE(calculated) << "\"" << c.expression << "\" gave "
                                     << (result.Text());
            EXPECT_TRUE(result.IsEmpty()) << "\"" << c.expression << "\"";
        }
    }
}

TEST(Calculator, FullWidthCharactersBecomeTheirAsciiForms)
{
    const char* const cases[][2] = {
        {"＝１２３４５６７８９０", "=1234567890"},
        {"＋－＊／＾％．（）", "+-*/^%.()"},
        {"=１+2＊(3)", "=1+2*(3)"},
        {"\x83\x5E\x83\x7C", "\x83\x5E\x83\x7C"},  // タ and a second byte like "|"
        {"\x83\x81\x7B", "\x83\x81\x7B"},          // ヘ, "{": no ＋ across them
        {"\x82\x4E\x82\x59", "\x82\x4E\x82\x59"},  // the neighbours of ０ and ９
        {"ノ＝", "ノ="},
        {"1\x81", "1\x81"},  // a lead byte at the end stays
    };
    for (const auto& c : cases) {
        char text[64];
        lstrcpynA(text, c[0], sizeof(text));
        NarrowFullWidthArithmetic(text);
        EXPECT_STREQ(c[1], text) << c[0];
    }
}

TEST(Calculator, LengthAndNestingLimits)
{
    CCalculator calculator;
    CString result;
    const CString longest = SumOfOnes(CCalculator::kMaxLength - 1);
    ASSERT_EQ(CCalculator::kMaxLength - 1, longest.GetLength());
    EXPECT_TRUE(calculator.Calculate(longest.data, result));
    EXPECT_STREQ("250", result.data);
    const CString tooLong = longest + " ";
    EXPECT_FALSE(calculator.Calculate(tooLong.data, result));
    const CString farTooLong = Repeated("1+", 5000, "1");
    EXPECT_FALSE(calculator.Calculate(farTooLong.data, result));

    const int deepest = CCalculator::kMaxDepth;
    EXPECT_TRUE(calculator.Calculate((Repeated("(", deepest, "1") + Repeated(")", deepest)).data,
                                     result));
    EXPECT_FALSE(calculator.Calculate(
        (Repeated("(", deepest + 1, "1") + Repeated(")", deepest + 1)).data, result));
    EXPECT_TRUE(calculator.Calculate(Repeated("-", deepest, "1").data, result));
    EXPECT_STREQ("1", result.data);
    EXPECT_FALSE(calculator.Calculate(Repeated("-", deepest + 1, "1").data, result));
    EXPECT_TRUE(calculator.Calculate(Repeated("1^", deepest, "1").data, result));
    EXPECT_FALSE(calculator.Calculate(Repeated("1^", deepest + 1, "1").data, result));
    // Unmatched openings as deep as the length allows end without a crash.
    EXPECT_FALSE(calculator.Calculate(Repeated("(", CCalculator::kMaxLength - 1).data, result));
    EXPECT_FALSE(calculator.Calculate(Repeated("-(", 249).data, result));
}

TEST(Calculator, FormatRefusesWhatItCannotShow)
{
    char text[CCalculator::kFormatSize];
    EXPECT_FALSE(CCalculator::Format(HUGE_VAL, text, sizeof(text)));
    EXPECT_FALSE(CCalculator::Format(sqrt(-1.0), text, sizeof(text)));
    EXPECT_FALSE(CCalculator::Format(12345.0, text, 5));
    EXPECT_TRUE(CCalculator::Format(12345.0, text, 6));
    EXPECT_STREQ("12345", text);
    EXPECT_TRUE(CCalculator::Format(-1.5e-300, text, sizeof(text)));
    EXPECT_STREQ("-1.5e-300", text);
}

namespace {

// Random expressions: fully parenthesised trees whose value is computed
// beside the text, some spoiled by a fragment that makes them malformed.
class CExpressionMaker {
public:
    char text[2048];
    int length;
    unsigned int state;

    explicit CExpressionMaker(const unsigned int& seed) : length(0), state(seed) { text[0] = 0; }

    unsigned int Next(const unsigned int& range) { return NextTestRandom(state) % range; }

    void Put(const char* piece)
    {
        const int n = static_cast<int>(strlen(piece));
        if (length + n < static_cast<int>(sizeof(text))) {
            memcpy(text + length, piece, n + 1);
            length += n;
        }
    }

    void MaybeBlank()
    {
        if (Next(5) == 0)
            Put(Next(2) ? " " : "\t");
    }

    // Appends an expression; false when its value is undefined (a zero
    // divisor or a result that is not finite), else value holds it.
    bool Expression(const int& levels, double& value)
    {
        MaybeBlank();
        const unsigned int kind = levels <= 0 ? Next(4) : Next(10);
        bool defined = true;
        if (kind < 4)
            value = Leaf(kind);
        else if (kind == 4) {
            Put("(-");
            defined = Expression(levels - 1, value);
            value = -value;
            Put(")");
        } else {
            static const char kOperators[] = "+-*/%^";
            const char op = kOperators[Next(6)];
            const char opText[2] = {op, 0};
            double right = 0;
            Put("(");
            defined = Expression(levels - 1, value);
            MaybeBlank();
            Put(opText);
            defined = Expression(levels - 1, right) && defined;
            Put(")");
            defined = defined && Apply(op, value, right);
        }
        MaybeBlank();
        return defined;
    }

    // Spoils the text with one of several fragments, each of which leaves
    // it malformed, too long or too deep wherever it lands.
    void Spoil()
    {
        static const char* const kTails[] = {"+", "*", "^", "-", ")", "+0x", "..", "()", " 1", "0x"};
        static const char* const kHeads[] = {"*", "/", "%", "^", ")", "("};
        char copy[sizeof(text)];
        memcpy(copy, text, length + 1);
        switch (Next(5)) {
        case 0:
            Put(kTails[Next(sizeof(kTails) / sizeof(kTails[0]))]);
            break;
        case 1:
            length = 0;
            Put(kHeads[Next(sizeof(kHeads) / sizeof(kHeads[0]))]);
            Put(copy);
            break;
        case 2: {
            if (length + 1 >= static_cast<int>(sizeof(text)))
                break;  // never reached: the trees stay far shorter
            const int at = static_cast<int>(Next(length + 1));
            memmove(text + at + 1, text + at, length - at + 1);
            text[at] = static_cast<char>(0x80 + Next(0x80));
            length++;
            break;
        }
        case 3:
            while (length < CCalculator::kMaxLength)
                Put(" ");
            break;
        default:
            length = 0;
            for (int i = 0; i <= CCalculator::kMaxDepth; i++)
                Put("(");
            Put(copy);
            for (int i = 0; i <= CCalculator::kMaxDepth; i++)
                Put(")");
            break;
        }
    }

    // Bytes of the calculator's alphabet and a few others, in any order.
    void Noise()
    {
        static const char kAlphabet[] = "0123456789+-*/%^().xXeEaF \t,";
        const int n = static_cast<int>(Next(120));
        for (int i = 0; i < n; i++) {
            char c[2] = {kAlphabet[Next(sizeof(kAlphabet) - 1)], 0};
            if (Next(50) == 0)
                c[0] = static_cast<char>(0x80 + Next(0x80));
            Put(c);
        }
    }

private:
    double Leaf(const unsigned int& kind)
    {
        char piece[32];
        const unsigned int n = Next(1000);
        if (kind == 0) {
            sprintf(piece, "%u", n);
            Put(piece);
            return n;
        }
        if (kind == 1) {
            sprintf(piece, Next(2) ? "0x%X" : "0x%x", n);
            Put(piece);
            return n;
        }
        if (kind == 2)
            sprintf(piece, "%u.%u", n, Next(1000));
        else
            sprintf(piece, "%ue%d", n, static_cast<int>(Next(7)) - 3);
        Put(piece);
        return strtod(piece, 0);
    }

    static bool Apply(const char& op, double& value, const double& right)
    {
        if ((op == '/' || op == '%') && right == 0)
            return false;
        switch (op) {
        case '+': value = value + right; break;
        case '-': value = value - right; break;
        case '*': value = value * right; break;
        case '/': value = value / right; break;
        case '%': value = fmod(value, right); break;
        default: value = pow(value, right); break;
        }
        volatile double rounded = value;  // as a double, not an x87 intermediate
        value = rounded;
        return isfinite(value) != 0;
    }
};

// Equal up to what a different order of rounding could leave (x87 keeps
// intermediates wider than a double).
bool NearlyEqual(const double& a, const double& b)
{
    return a == b || fabs(a - b) <= 1e-9 * fmax(fabs(a), fabs(b));
}

}  // namespace

TEST(Calculator, RandomExpressionsNeverCrashOrHang)
{
    const int kRuns = 20000;
    const double kBoundSeconds = 0.1;  // one evaluation takes microseconds
    CCalculator calculator;
    unsigned int seed = 17;
    int computed = 0, refused = 0;
    double slowest = 0;
    for (int run = 0; run < kRuns; run++) {
        CExpressionMaker maker(NextTestRandom(seed));
        double expected = 0;
        bool defined = true;
        const bool noise = run % 2 == 1;
        if (noise)
            maker.Noise();
        else {
            defined = maker.Expression(static_cast<int>(maker.Next(6)), expected);
            if (maker.Next(3) == 0) {
                maker.Spoil();
                defined = false;
            }
            defined = defined && maker.length < CCalculator::kMaxLength;
        }

        double value = 0;
        const double start = Now();
        const bool evaluated = calculator.Evaluate(maker.text, value);
        const double elapsed = Now() - start;
        if (elapsed > slowest)
            slowest = elapsed;

        CString result("stale");
        EXPECT_EQ(evaluated, calculator.Calculate(maker.text, result)) << maker.text;
        EXPECT_EQ(evaluated, !result.IsEmpty()) << maker.text;
        if (evaluated) {
            EXPECT_TRUE(isfinite(value)) << maker.text;
            computed++;
        } else
            refused++;
        if (noise)
            continue;
        EXPECT_EQ(defined, evaluated) << maker.text;
        if (defined && evaluated) {
            EXPECT_TRUE(NearlyEqual(expected, value))
                << maker.text << " = " << value << ", expected " << expected;
        }
    }
    printf("calculator: %d random expressions, %d computed, %d refused, slowest %.3f ms\n",
           kRuns, computed, refused, slowest * 1000);
    EXPECT_LT(slowest, kBoundSeconds);
    // Both sides of the run are exercised.
    EXPECT_GT(computed, kRuns / 5);
    EXPECT_GT(refused, kRuns / 5);
}

TEST(Calculator, EvaluationTakesUnderATenthOfAMillisecond)
{
    const char kExpression[] = "-(12.5+0x1F)*3-7/2^2+(4.25-1.5)*(100%7)-0.125*8+3.75/1.5*2e1";
    ASSERT_EQ(60u, strlen(kExpression));
    const int kEvaluations = 100000;
    CCalculator calculator;
    double value = 0, sum = 0;
    const double start = Now();
    for (int i = 0; i < kEvaluations; i++) {
        if (!calculator.Evaluate(kExpression, value))
            break;
        sum += value;
    }
    const double perEvaluation = (Now() - start) / kEvaluations;
    EXPECT_EQ(-77.75 * kEvaluations, sum);
    printf("calculator: %.3f us per evaluation of a 60-byte expression (%d evaluations)\n",
           perEvaluation * 1e6, kEvaluations);
    // The target is 0.1 ms; only a gross miss fails, as Wine's timing varies.
    EXPECT_LT(perEvaluation, 1e-3);
}
