#include "elements/TZuMathParse.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string_view>
#include <utility>

#include "core/Convert.h"
#include "elements/ArrayAccessor.h"
#include "elements/MatrixAccessor.h"

// Contents: helpers (characters, functions, arithmetic); properties; Calc; scanner;
// grammar rules; argument references.

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double EulerNumber = 2.718281828459045;

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(unsigned char c) {
    return c == '\t' || c == ' ';
}
bool IsSign(unsigned char c) {
    return c == '+' || c == '-';
}
bool IsUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}
// Bytes 192-255 are the Cyrillic letters of the Windows-1251 code page.
bool IsNameStart(unsigned char c) {
    return IsUpper(c) || IsLower(c) || c == '_' || c >= 192;
}
bool IsNamePart(unsigned char c) {
    return IsNameStart(c) || IsDigit(c);
}
bool IsDelimiter(unsigned char c) {
    return std::string_view("%(),[]").find(char(c)) != std::string_view::npos;
}
bool IsOperator(unsigned char c) {
    return std::string_view("*+-/^").find(char(c)) != std::string_view::npos;
}

// Function codes: the position in FunctionNames plus one.
// clang-format off
enum FunctionCode {
    FnCos = 1, FnSin, FnTg, FnCtg, FnArccos, FnArcsin, FnArctg, FnArcctg, FnAtan,
    FnCh, FnSh, FnTh, FnCth, FnArcch, FnArcsh, FnArcth, FnArccth,
    FnLog, FnLg, FnLn, FnExp, FnSqr, FnSqrt, FnAbs, FnSign,
    FnRound, FnFrac, FnTrunc, FnMin, FnMax
};
constexpr std::array<std::string_view, 30> FunctionNames = {
    "cos", "sin", "tg", "ctg", "arccos", "arcsin", "arctg", "arcctg", "atan",
    "ch", "sh", "th", "cth", "arcch", "arcsh", "arcth", "arccth",
    "log", "lg", "ln", "exp", "sqr", "sqrt", "abs", "sign",
    "round", "frac", "trunc", "min", "max"};
// clang-format on

// 0 when the name is not a function.
int FunctionCodeOf(const std::string& name) {
    const auto found = std::find(FunctionNames.begin(), FunctionNames.end(), name);
    return found == FunctionNames.end() ? 0 : int(found - FunctionNames.begin()) + 1;
}

// Logarithm of x to the given base, the one way every logarithm is computed here.
double LogBase(double x, double base) {
    return std::log2(x) / std::log2(base);
}
double NaturalLog(double x) {
    return LogBase(x, EulerNumber);
}

// Truncates toward zero; values beyond the 64-bit range saturate and NaN gives 0.
std::int64_t TruncToInt64(double value) {
    constexpr double Limit = 9223372036854775808.0; // 2^63
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= Limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -Limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

// x to the power n by repeated squaring. The magnitude is taken unsigned so that the
// most negative n has one too.
double IntegerPower(double x, std::int32_t n) {
    const auto bits = static_cast<std::uint32_t>(n);
    std::uint32_t count = n < 0 ? 0u - bits : bits;
    double base = n < 0 ? 1.0 / x : x;
    double result = 1.0;
    while (count != 0) {
        if ((count & 1u) != 0) {
            result *= base;
        }
        base *= base;
        count >>= 1;
    }
    return result;
}

// A whole exponent in the 32-bit range is raised exactly; any other exponent (fractions,
// huge values, infinities, NaN) goes through the exponential.
double Raise(double x, double y) {
    const std::int32_t n = RoundToInt32(y);
    if (static_cast<double>(n) == y) {
        return IntegerPower(x, n);
    }
    return std::exp(y * std::log(x));
}

// div and mod on operands rounded to 64 bits; a zero divisor leaves the left operand.
double IntegerDivision(double left, double right, bool remainder) {
    const std::int64_t a = RoundToInt64(left);
    const std::int64_t b = RoundToInt64(right);
    if (b == 0) {
        return left;
    }
    if (b == -1) {
        // -a, computed unsigned: the most negative a has no positive counterpart and wraps
        // to itself.
        return remainder ? 0.0 : double(std::int64_t(0u - std::uint64_t(a)));
    }
    return remainder ? double(a % b) : double(a / b);
}

} // namespace

// ---- Properties

void TZuMathParse::SetArgCount(std::int32_t count) {
    // The arrays are indexed by an evaluation under way, so they keep their size until it ends.
    if (RuleDepth > 0) {
        return;
    }
    const auto size = static_cast<std::size_t>(std::max(count, 0));
    Args.resize(size);
    ArgValues.resize(size);
    ArgFetched.resize(size);
    ArgCount = static_cast<std::int32_t>(size);
}

void TZuMathParse::SetExpression(const std::string& text) {
    Expression = text.substr(0, MaxExpressionLength);
    Expression += EndMark;
}

void TZuMathParse::SetDefault(double value) {
    Default = value;
    LastResult = value;
    ScanPos = -1;
}

void TZuMathParse::SetAngleMode(bool degrees) {
    AngleFactor = degrees ? static_cast<double>(std::numbers::pi_v<long double> / 180) : 1.0;
}

// ---- Calc

void TZuMathParse::Calc(TData& value, std::uint16_t) {
    const bool nested = ScanPos >= 0;
    ScanState outer;
    if (nested) {
        outer = TakeScanState();
        LastResult = Default;
    }
    InputValue = value;
    std::fill(ArgFetched.begin(), ArgFetched.end(), false);
    const double result = Evaluate();
    LastResult = result;
    ScanPos = -1;
    if (nested) {
        RestoreScanState(std::move(outer));
    }
    if (ResultType == 0) {
        FireInteger(OnResult, RoundToInt32(result));
    } else {
        FireReal(OnResult, result);
    }
}

TZuMathParse::ScanState TZuMathParse::TakeScanState() {
    return ScanState{ScanPos,   std::move(TokenText), TokenKind, std::move(InputValue), ArgValues,
                     ArgFetched};
}

void TZuMathParse::RestoreScanState(ScanState&& state) {
    ScanPos = state.ScanPos;
    TokenText = std::move(state.TokenText);
    TokenKind = state.TokenKind;
    InputValue = std::move(state.InputValue);
    ArgValues = std::move(state.ArgValues);
    ArgFetched = std::move(state.ArgFetched);
}

// Whatever follows the part of the text that the sum consumed is ignored.
double TZuMathParse::Evaluate() {
    ScanPos = 1;
    ReadToken();
    return Sum();
}

// ---- Scanner

// Positions outside the text, and past the longest text a 16-bit position can step
// through, read as the end mark, so the scan never leaves the text.
unsigned char TZuMathParse::Current() const {
    if (ScanPos < 1 || static_cast<std::size_t>(ScanPos) > Expression.size() ||
        static_cast<std::size_t>(ScanPos) > MaxExpressionLength) {
        return EndMark;
    }
    return static_cast<unsigned char>(Expression[static_cast<std::size_t>(ScanPos) - 1]);
}

// Only called on a character other than the end mark, so ScanPos stays within 16 bits.
void TZuMathParse::Advance() {
    ScanPos = static_cast<std::int16_t>(ScanPos + 1);
}

void TZuMathParse::AppendAndAdvance() {
    TokenText += static_cast<char>(Current());
    Advance();
}

void TZuMathParse::SkipBlanks() {
    while (IsBlank(Current())) {
        Advance();
    }
}

void TZuMathParse::AppendDigits() {
    while (IsDigit(Current())) {
        AppendAndAdvance();
    }
}

void TZuMathParse::ReadToken() {
    TokenText.clear();
    TokenKind = TokenNone;
    SkipBlanks();
    const unsigned char c = Current();
    if (c == EndMark) {
        TokenKind = TokenEnd;
    } else if (IsDelimiter(c)) {
        AppendAndAdvance();
        TokenKind = TokenDelimiter;
    } else if (IsOperator(c)) {
        ScanOperator();
    } else if (IsDigit(c) || c == '.') {
        ScanNumber();
    } else if (IsNameStart(c)) {
        ScanName();
    }
    // Any other character is rejected without being consumed.
}

// An operator directly followed by a sign is rejected: 2*-3 must be written 2*(-3).
void TZuMathParse::ScanOperator() {
    AppendAndAdvance();
    SkipBlanks();
    if (IsSign(Current())) {
        TokenText.clear();
    } else {
        TokenKind = TokenOperator;
    }
}

// Blanks may stand around the exponent letter and sign; they never enter the token text,
// so "2 e 3" is the number 2e3.
void TZuMathParse::ScanNumber() {
    AppendDigits();
    TokenKind = TokenInteger;
    if (Current() == '.') {
        AppendAndAdvance();
        AppendDigits();
        if (TokenText == ".") {
            TokenKind = TokenNone;
            return;
        }
        TokenKind = TokenReal;
    }
    SkipBlanks();
    if (Current() != 'E' && Current() != 'e') {
        return;
    }
    AppendAndAdvance();
    SkipBlanks();
    if (IsSign(Current())) {
        AppendAndAdvance();
        SkipBlanks();
    }
    if (IsDigit(Current())) {
        AppendDigits();
        TokenKind = TokenReal;
    } else {
        TokenKind = TokenNone;
    }
}

void TZuMathParse::ScanName() {
    while (IsNamePart(Current())) {
        const unsigned char c = Current();
        TokenText += static_cast<char>(IsUpper(c) ? c - 'A' + 'a' : c);
        Advance();
    }
    TokenKind = TokenName;
}

// ---- Grammar rules

// Beyond MaxRuleDepth a sum has no value and consumes nothing, which unwinds every
// enclosing rule, so no text can exhaust the stack.
double TZuMathParse::Sum() {
    if (RuleDepth >= MaxRuleDepth) {
        return 0.0;
    }
    ++RuleDepth;
    const double result = SumTerms();
    --RuleDepth;
    return result;
}

double TZuMathParse::SumTerms() {
    double result = Product();
    while (TokenText == "+" || TokenText == "-") {
        const bool subtract = TokenText == "-";
        ReadToken();
        const double term = Product();
        result = subtract ? result - term : result + term;
    }
    return result;
}

double TZuMathParse::Product() {
    double result = Power();
    while (TokenText == "*" || TokenText == "/" || TokenText == "div" || TokenText == "mod") {
        const std::string operation = TokenText;
        ReadToken();
        const double factor = Power();
        if (operation == "*") {
            result *= factor;
        } else if (operation == "/") {
            if (factor != 0.0) {
                result /= factor;
            }
        } else {
            result = IntegerDivision(result, factor, operation == "mod");
        }
    }
    return result;
}

double TZuMathParse::Power() {
    double result = Signed();
    while (TokenText == "^") {
        ReadToken();
        result = Raise(result, Signed());
    }
    return result;
}

// The sign binds tighter than "^": -2^2 is 4.
double TZuMathParse::Signed() {
    const bool negate = TokenText == "-";
    if (negate || TokenText == "+") {
        ReadToken();
    }
    const double result = Operand();
    return negate ? -result : result;
}

double TZuMathParse::Operand() {
    if (TokenText == "%") {
        return ArgumentReference();
    }
    if (TokenText == "(") {
        ReadToken();
        const double result = Sum();
        if (TokenText == ")") {
            ReadToken();
        }
        return result;
    }
    double result = 0.0;
    if (TokenKind == TokenName) {
        result = NamedValue();
    } else if (TokenKind == TokenReal) {
        result = TextToReal(TokenText);
    } else if (TokenKind == TokenInteger) {
        result = TextToInteger(TokenText);
    }
    // The token after a value, or the token that has none, is passed over.
    ReadToken();
    return result;
}

double TZuMathParse::NamedValue() {
    if (TokenText == "pi") {
        return Pi;
    }
    if (TokenText == "e") {
        return EulerNumber;
    }
    const int code = FunctionCodeOf(TokenText);
    return code == 0 ? 0.0 : FunctionCall(code);
}

// Ends on the token after the last argument; the caller passes over it, so the closing
// parenthesis is not required. Two-argument functions given one argument yield it.
double TZuMathParse::FunctionCall(int code) {
    ReadToken();
    if (TokenText != "(") {
        return 0.0;
    }
    ReadToken();
    const double x = Sum();
    switch (code) {
    case FnAtan:
    case FnLog: {
        if (TokenText != ",") {
            return x;
        }
        ReadToken();
        const double y = Sum();
        return code == FnAtan ? std::atan2(x, y) / AngleFactor : LogBase(y, x);
    }
    case FnRound:
    case FnFrac:
    case FnTrunc: {
        double step = 1.0;
        if (TokenText == ",") {
            ReadToken();
            step = Sum();
        }
        const double scaled = x / step;
        if (code == FnRound) {
            return static_cast<double>(RoundToInt64(scaled)) * step;
        }
        if (code == FnTrunc) {
            return static_cast<double>(TruncToInt64(scaled)) * step;
        }
        return (scaled - std::trunc(scaled)) * step;
    }
    case FnMin:
    case FnMax: {
        double result = x;
        while (TokenText == ",") {
            ReadToken();
            const double y = Sum();
            result = code == FnMin ? std::min(result, y) : std::max(result, y);
        }
        return result;
    }
    default:
        return OneArgumentFunction(code, x);
    }
}

double TZuMathParse::OneArgumentFunction(int code, double x) const {
    const double f = AngleFactor;
    switch (code) {
    case FnCos:
        return std::cos(x * f);
    case FnSin:
        return std::sin(x * f);
    case FnTg:
        return std::tan(x * f);
    case FnCtg:
        return 1.0 / std::tan(x * f);
    case FnArccos:
        return std::atan2(std::sqrt(1.0 - x * x), x) / f;
    case FnArcsin:
        return std::atan2(x, std::sqrt(1.0 - x * x)) / f;
    case FnArctg:
        return std::atan2(x, 1.0) / f;
    case FnArcctg:
        return std::atan2(1.0, x) / f;
    case FnCh:
        return (std::exp(x) + 1.0 / std::exp(x)) / 2.0;
    case FnSh:
        return (std::exp(x) - 1.0 / std::exp(x)) / 2.0;
    case FnTh:
        return (std::exp(2.0 * x) - 1.0) / (std::exp(2.0 * x) + 1.0);
    case FnCth:
        return (std::exp(2.0 * x) + 1.0) / (std::exp(2.0 * x) - 1.0);
    case FnArcch:
        return NaturalLog(x + std::sqrt(x * x - 1.0));
    case FnArcsh:
        return NaturalLog(x + std::sqrt(x * x + 1.0));
    case FnArcth:
        return NaturalLog((x + 1.0) / (1.0 - x)) / 2.0;
    case FnArccth:
        return NaturalLog((x + 1.0) / (x - 1.0)) / 2.0;
    case FnLg:
        return LogBase(x, 10.0);
    case FnLn:
        return NaturalLog(x);
    case FnExp:
        return std::exp(x);
    case FnSqr:
        return x * x;
    case FnSqrt:
        return std::sqrt(x);
    case FnAbs:
        return x < 0.0 ? -x : x;
    case FnSign:
        return x < 0.0 ? -1.0 : (x > 0.0 ? 1.0 : x);
    default:
        return 0.0;
    }
}

// ---- Argument references ("%" is the current token)

double TZuMathParse::ArgumentReference() {
    ReadToken();
    if (TokenKind != TokenInteger) {
        ReadToken();
        return 0.0;
    }
    // Widened: an over-long number may read as the most negative 32-bit value.
    const std::int64_t arg = std::int64_t{TextToInteger(TokenText)} - 1;
    ReadToken();
    if (arg == -1) {
        return LastResult;
    }
    if (arg < 0 || arg >= ArgCount) {
        return 0.0;
    }
    const auto index = static_cast<std::size_t>(arg);
    if (TokenText == "[") {
        return AccessorRead(index);
    }
    if (TokenText == "(") {
        return CallRead(index);
    }
    return PlainRead(index);
}

// The points are copied before they are read: the read may run any element, and the
// dispatcher must not see a point that moved.
double TZuMathParse::AccessorRead(std::size_t arg) {
    ReadToken();
    const double first = Sum();
    return TokenText == "," ? MatrixRead(arg, first) : ArrayRead(arg, first);
}

double TZuMathParse::ArrayRead(std::size_t arg, double index) {
    const TZu_Event point = Args[arg];
    ArrayAccessor* const array = PullArray(point);
    if (array == nullptr || TokenText != "]") {
        return 0.0;
    }
    TData item;
    if (!array->GetItem(MakeReal(index), item)) {
        return 0.0;
    }
    ReadToken();
    return ValueToReal(item);
}

double TZuMathParse::MatrixRead(std::size_t arg, double col) {
    const TZu_Event point = Args[arg];
    MatrixAccessor* const matrix = PullMatrix(point);
    if (matrix == nullptr) {
        return 0.0;
    }
    ReadToken();
    const double row = Sum();
    if (TokenText != "]") {
        return 0.0;
    }
    const TData cell = matrix->GetItem(RoundToInt32(col), RoundToInt32(row));
    if (TagType(cell) == TagNone) {
        return 0.0;
    }
    ReadToken();
    return ValueToReal(cell);
}

double TZuMathParse::CallRead(std::size_t arg) {
    ReadToken();
    const double argument = Sum();
    if (TokenText != ")") {
        return 0.0;
    }
    const TZu_Event point = Args[arg];
    TData answer = MakeReal(argument);
    PullData(answer, point);
    if (TagType(answer) == TagNone) {
        return 0.0;
    }
    ReadToken();
    return ValueToReal(answer);
}

// Only plain reads are cached; the bracket and call forms pull every time.
double TZuMathParse::PlainRead(std::size_t arg) {
    if (ArgFetched[arg]) {
        return ArgValues[arg];
    }
    const TZu_Event point = Args[arg];
    const double value = ValueToReal(PullDataDefault(InputValue, point, nullptr));
    ArgValues[arg] = value;
    ArgFetched[arg] = true;
    return value;
}
