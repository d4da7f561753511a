#pragma once
// The numbered German texts of the program's messages and box titles.

#include <QString>

constexpr int kMessageCount = 29;

// Entry n (1..29) in German; empty for other numbers.
QString MessageTable(int n);

class Translator;

// Message n translated into the current language. For a number outside 1..29
// nothing happens and text keeps its value; the result says whether it was set.
bool GetMessageText(int n, QString& text, Translator& translator);
bool GetMessageText(int n, QString& text);
// Message n translated; the empty text for a number outside 1..29.
QString GetMessageText(int n);

// Looks every message up once, 1 to 29, so that each has a row in the table.
void RegisterMessages(Translator& translator);
void RegisterMessages();
