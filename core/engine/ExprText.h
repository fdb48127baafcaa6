// The text conventions of an expression: cleaning, preparation for
// evaluation, the result separator and the three syntax checks. These are
// pure functions of their text; CExprEngine exposes them as its operations.
#pragma once

#include <cstddef>
#include <string>

namespace exprtext {

// Cleaning pass: messages removed, ASCII letters lowered, full-width
// punctuation mapped, spaces and line feeds deleted, empty pairs and decimal
// points repaired.
std::string CleanExpression(const std::string& text);

// Evaluation pass: spaces and line feeds deleted, annotations stripped,
// empty pairs and decimal points repaired, unary minus and empty text
// repaired.
std::string PrepareForEvaluation(const std::string& text);

// A cell's expression text as the evaluator takes it: both passes.
inline std::string PrepareCleaned(const std::string& text) { return PrepareForEvaluation(CleanExpression(text)); }

// Position of the last "=" outside annotations, or the text length.
std::size_t FindResultSeparator(const std::string& text);

// The text after the result separator, or the whole text without one.
std::string ValueAfterSeparator(const std::string& text);

// The annotation strip of the evaluation pass on its own.
std::string StripAnnotations(const std::string& text);

// The empty-pair and decimal-point scan shared by both passes.
void FixPairsAndPoints(std::string& text);

int CheckAnnotations(const std::string& text);
// The bracket scan of CheckAnnotations on a text that has already been
// through PrepareForEvaluation.
int CheckPreparedBrackets(const std::string& prepared);
int CheckParentheses(const std::string& text);
int CheckSyntax(const std::string& text);

inline bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }

}  // namespace exprtext
