#pragma once
// Windows-1252, the code page of every text in a project file except the font
// names. All 256 bytes read: 0x80-0x9F as their typographic characters (0x80 is
// the euro sign), the five bytes the code page leaves free as the C1 controls of
// the same number, so that every byte comes back unchanged when written again.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

QString Cp1252ToUnicode(QByteArrayView bytes);

// One byte per character; a character without a Windows-1252 form becomes "?"
// (a surrogate pair is one character and gives one "?").
QByteArray UnicodeToCp1252(const QString& text);
