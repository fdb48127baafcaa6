// A plain, deliberately slow implementation of the expression passes and the
// evaluator, written step by step from their definitions: byte positions, a
// character test that scans from the start of the text every time, erase and
// insert on the text itself, restarts where the steps restart. The
// differential tests hold the engine's fast passes against it.
#pragma once

#include <string>
#include <vector>

namespace literal {

std::string FixPairsAndPoints(std::string text);
std::string StripAnnotations(const std::string& text, std::vector<long>* origin = nullptr);
std::string CleanExpression(std::string text);
std::string PrepareForEvaluation(std::string text);
// The separator as the step list computes it: input length minus the length
// of what follows the last "=" in the stripped copy.
long ResultSeparatorByFormula(const std::string& text);
// The input position of the last "=" that survives the strip.
long ResultSeparatorTrue(const std::string& text);
int CheckAnnotations(const std::string& text);
int CheckParentheses(const std::string& text);
int CheckSyntax(const std::string& text);
double RoundHalfUp(double x, int n);
std::string LegacyFixed(double v, int decimals);

// The calculation with its state: messages recorded, notices shown.
class CLiteralCalc {
public:
    std::string m_strCalcError;
    int m_bCalcOk = 1;
    int m_nDecimals = 2;
    std::vector<std::string> m_Notices;

    std::string PrepareExpression(const std::string& text);
    std::string ReduceFunctions(std::string text);
    double Evaluate(const std::string& text);
    std::string CalcExpressionText(const std::string& text);

private:
    void Record(int k);
    void Notice(const char* text);
    double Finite(double v);
    int m_nDepth = 0;
};

}  // namespace literal
