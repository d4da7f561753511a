#pragma once
// Text helpers of the page layout.

#include <QString>

// The text without its characters below code 32 (CR, LF, tab, ...).
QString StripControlChars(const QString& text);

// Returns the characters before the first carriage return and removes them and
// that carriage return from text. Without a carriage return, returns the whole
// text and leaves text empty. A line feed after the carriage return stays at the
// start of the remaining text.
QString CutFirstLine(QString& text);

// Capitals of the letters a to z only; every other character is left as it is.
QString UpperCaseAsciiLetters(const QString& text);
