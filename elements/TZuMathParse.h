#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"

// Kinds of the scanner's current token.
inline constexpr std::uint8_t TokenNone = 0;      // start state, rejected or malformed text
inline constexpr std::uint8_t TokenName = 1;      // a name, lower-cased
inline constexpr std::uint8_t TokenReal = 2;      // a number with a fraction or an exponent
inline constexpr std::uint8_t TokenInteger = 3;   // a number made of digits only
inline constexpr std::uint8_t TokenDelimiter = 4; // % ( ) , [ ]
inline constexpr std::uint8_t TokenOperator = 5;  // + - * / ^ not followed by a sign
inline constexpr std::uint8_t TokenEnd = 6;       // the end mark

// Evaluates a formula each time a value arrives and sends the result on OnResult.
//
// The text is not compiled: every Calc scans it afresh with a recursive-descent parser
// that computes while it parses. Loosest to tightest: + -, then * / div mod, then ^, then
// a unary sign; two-operand operators associate to the left. Operands are numbers, pi, e,
// parenthesised sums, the functions of FunctionNames and argument references:
//   %0         the result of the previous evaluation (Default before the first);
//   %n         data point Arg n, pulled at most once per evaluation; when it is unbound,
//              the value Calc was fired with (taken over by the first such read);
//   %n[i]      item i of the array that Arg n delivers;
//   %n[i, j]   cell (i, j) of the matrix that Arg n delivers;
//   %n(x)      the answer of the element bound to Arg n when handed x.
//
// Nothing is reported: a malformed text ends the parse early and the result is what was
// computed so far. An operand without a value (an unknown name, a skipped token, a missing
// argument or accessor) counts as 0. Division, div and mod by zero leave the left operand.
// Domain and range errors give IEEE results (NaN, infinities); an integer result of NaN or
// an infinity is 0.
//
// The scan position is a 16-bit signed number, so SetExpression keeps only the first
// MaxExpressionLength bytes of a longer text; the end mark then always fits. Nesting is
// limited to MaxRuleDepth parenthesised sums; deeper operands have no value.
//
// A Calc that reaches this element while it is evaluating (through a chain of data points)
// is evaluated on its own; the outer evaluation then continues where it stood.
class TZuMathParse {
public:
    static constexpr char EndMark = '\x01';
    static constexpr std::size_t MaxExpressionLength = 32766;
    static constexpr int MaxRuleDepth = 256;

    void SetArgCount(std::int32_t count);
    void SetExpression(const std::string& text);
    void SetResultType(std::uint8_t type) { ResultType = type; }
    void SetDefault(double value);
    void SetAngleMode(bool degrees);
    void Calc(TData& value, std::uint16_t index);

    std::int32_t ArgCount = 0; // number of argument data points
    std::string TokenText;     // text of the current token
    std::uint8_t TokenKind = TokenNone;
    std::string Expression = std::string(1, EndMark); // the text followed by EndMark
    std::int16_t ScanPos = -1;     // 1-based position of the next character; -1 idle
    double LastResult = 0.0;       // result of the last evaluation, the value of %0
    double Default = 0.0;          // start value of LastResult
    double AngleFactor = 1.0;      // 1 for radians, pi/180 for degrees
    TData InputValue;              // copy of the value that came with the last Calc
    std::vector<double> ArgValues; // per argument: value read in this evaluation
    std::vector<bool> ArgFetched;  // per argument: ArgValues holds this evaluation's read
    std::vector<TZu_Event> Args;   // data points Arg1 ... ArgN
    TZu_Event OnResult;            // output: the result
    std::uint8_t ResultType = 0;   // 0 sends an integer (rounded half to even), else a real

private:
    // What an evaluation works on; an inner evaluation of the same element sets it aside.
    struct ScanState {
        std::int16_t ScanPos = -1;
        std::string TokenText;
        std::uint8_t TokenKind = TokenNone;
        TData InputValue;
        std::vector<double> ArgValues;
        std::vector<bool> ArgFetched;
    };
    ScanState TakeScanState();
    void RestoreScanState(ScanState&& state);
    double Evaluate();

    // Scanner.
    unsigned char Current() const;
    void Advance();
    void AppendAndAdvance();
    void SkipBlanks();
    void AppendDigits();
    void ReadToken();
    void ScanOperator();
    void ScanNumber();
    void ScanName();

    // Grammar rules; each returns its value, 0 when it has none.
    double Sum();
    double SumTerms();
    double Product();
    double Power();
    double Signed();
    double Operand();
    double NamedValue();
    double FunctionCall(int code);
    double OneArgumentFunction(int code, double x) const;
    double ArgumentReference();
    double AccessorRead(std::size_t arg);
    double ArrayRead(std::size_t arg, double index);
    double MatrixRead(std::size_t arg, double col);
    double CallRead(std::size_t arg);
    double PlainRead(std::size_t arg);

    int RuleDepth = 0; // Sum rules under way, across nested evaluations too
};
