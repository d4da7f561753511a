#pragma once
// "translate.dat": column count and row count (int32 LE), then row by row, cell 0
// first, one text record per cell: an int32 LE count n of UTF-16 code units and
// the n code units in UTF-16LE.

#include <QByteArray>

class TranslationTable;

// Appends the rows held in bytes to table. A damaged file (cut short, negative
// or impossible counts) keeps the complete rows before the damage. Returns the
// number of rows appended.
int ReadTranslationBytes(const QByteArray& bytes, TranslationTable& table);

// The whole file for table, always with 20 columns.
QByteArray TranslationBytes(const TranslationTable& table);
