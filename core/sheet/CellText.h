// Text rules of committed cells that do not need the sheet: line breaking,
// reference names, and reading a row's value out of its expression cell.
// All texts are GBK byte strings.
#pragma once

#include <string>

namespace celltext {

// Wrap widths of columns 1 to 5 in bytes; column 0 is never wrapped.
int WrapWidth(int col);

// Breaks a committed text into lines of about width bytes: every ";" ends a
// line, a double-byte character is never split and a number (digits and
// ".") is never broken across lines.
std::string WrapCellText(const std::string& text, int width);

// The name rules of a reference cell on an already cleaned text: only ASCII
// letters and digits, starting with a letter, at most six characters, lower
// case. Uniqueness is the sheet's business.
std::string MakeRefName(const std::string& cleaned);
// A reference name (lower case) that is also the name of a function of the
// expressions: taking it would change what that function computes.
bool IsFunctionName(const std::string& name);

// The text without line feeds (a stored reference name is wrapped).
std::string WithoutLineBreaks(const std::string& text);

// The value of a row as other rows read it: the text after the result
// separator, "0" when there is no separator or nothing after it.
std::string ValueOrZero(const std::string& formula);

// True when the text holds the circular-reference message.
bool HasCircularMessage(const std::string& text);
// Every occurrence of the circular-reference message removed.
void RemoveCircularMessage(std::string& text);
const std::string& CircularMessage();

// Whether name occurs in a prepared text in the sense of the reference
// checks: preceded by one of "*/+-()=" or the start, followed by one of
// "*/+-()=" (the end of the text does not count).
bool OccursAsOperand(const std::string& prepared, const std::string& name);

}  // namespace celltext
