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

// The capitals of every letter by the Unicode rules (ä gives Ä, é gives É, and
// ß gives SS, as German writes it); other characters are left as they are.
QString UpperCaseLetters(const QString& text);
