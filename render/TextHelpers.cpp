#include "TextHelpers.h"

QString StripControlChars(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 32) result.append(c);
    return result;
}

QString CutFirstLine(QString& text) {
    const qsizetype cr = text.indexOf(QChar(13));
    if (cr < 0) {
        QString line = text;
        text.clear();
        return line;
    }
    QString line = text.left(cr);
    text.remove(0, cr + 1);
    return line;
}

QString UpperCaseLetters(const QString& text) {
    return text.toUpper();
}
