// The expression engine: cleaning and preparing expression texts, the three
// syntax checks, function reduction and evaluation, and the result text of a
// calculated expression cell.
//
// All texts are GBK byte strings; positions and lengths count bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/engine/ExprText.h"

class CExprEngine {
public:
    explicit CExprEngine(CCalcState& state);

    CCalcState& State() { return m_State; }
    const CCalcState& State() const { return m_State; }

    // Text passes.
    std::string CleanExpression(const std::string& text) const;
    std::string PrepareForEvaluation(const std::string& text) const;
    std::size_t FindResultSeparator(const std::string& text) const;

    // Checks: 0 = passed.
    int CheckAnnotations(const std::string& text) const;
    int CheckParentheses(const std::string& text) const;
    int CheckSyntax(const std::string& text) const;

    // Evaluation.
    std::string PrepareExpression(const std::string& text);
    std::string ReduceFunctions(const std::string& text);
    double Evaluate(const std::string& text);
    // Every table entry in table order replaces its qualifying occurrences.
    std::string SubstituteReferences(const std::string& text) const;
    // Replaces each occurrence of name in text that stands whole between
    // operators, brackets or the ends of the text by replacement.
    static void ReplaceName(std::string& text, const std::string& name, const std::string& replacement);
    // The same text found by token through the state's table names, when
    // they describe the table, every table name is regular and no value
    // that goes in holds a letter (it could hold another name); false when
    // it declines, and SubstituteReferences is what counts.
    bool SubstituteByName(const std::string& text, std::string& out) const;

    static double ToNumber(const std::string& text);
    static std::string FormatArgument(double value);

    // Result text of an expression that belongs to no row: cleaned text, old
    // result removed, evaluated, formatted with the state's decimals and the
    // recorded message put in front.
    std::string CalcExpressionText(const std::string& text);
    // The steps after the reference table is ready: evaluate a cleaned text
    // without result part and build its result text.
    std::string EvaluateToResultText(const std::string& cleaned);

    static double RoundHalfUp(double x, int n);
    // "%s=%.Nf" of the rounded value, N = decimals (0..6).
    static std::string FormatResult(const std::string& expr, double value, int decimals);
    // printf("%.Nf")-style fixed formatting, independent of the C locale.
    static void AppendFixed(std::string& out, double value, int decimals);

    // A finite value as to_chars writes it in scientific notation with
    // precision (at most 16) digits after the point, and that text taken
    // apart; no digits when it cannot be written.
    struct SDigits {
        char m_szText[40] = {};
        bool m_bNegative = false;
        char m_Digits[17] = {};
        int m_nCount = 0;
        int m_nExponent = 0;  // of the first digit
    };
    static SDigits ScientificDigits(double value, int precision);

private:
    double ApplyOperator(char op, double a, double b);
    void ApplyStacked(char op);
    double Finite(double value);

    CCalcState& m_State;
    int m_nPrepareDepth = 0;
    // Scratch stacks of Evaluate, kept between calls to avoid allocations.
    std::vector<char> m_Ops;
    std::vector<double> m_Values;
};
