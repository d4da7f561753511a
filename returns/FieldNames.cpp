// Field names joined from category and label, and made unique.
#include "FieldNames.h"

#include "TextHelpers.h"

#include <QStringList>
#include <algorithm>

namespace {

// A field name from its category's name and its label, each one line.
QString JoinedFieldName(const QString& c, const QString& l) {
    QString name = c.isEmpty() ? l : l.isEmpty() ? c : c + QStringLiteral(" - ") + l;
    if (name.isEmpty()) name = QStringLiteral("Feld");
    name.replace(QLatin1Char('.'), QLatin1Char('_'));
    return name;
}

} // namespace

QString OneLineLabel(const QString& label) {
    QStringList lines;
    QString rest = label;
    do {
        const QString line = StripControlChars(CutFirstLine(rest)).trimmed();
        if (!line.isEmpty()) lines << line;
    } while (!rest.isEmpty());
    return lines.join(QLatin1Char(' '));
}

QString FormFieldName(const QString& category, const QString& label) {
    return JoinedFieldName(OneLineLabel(category), OneLineLabel(label));
}

QString UniqueNames::Take(const QString& wanted) {
    const qsizetype before = used.size();
    used.insert(wanted);
    if (used.size() != before) return wanted;
    // Names are never given back, so every number up to the last one tried
    // for this name is taken.
    int& n = lastNumber[wanted];
    QString name;
    do {
        n = std::max(n, 1) + 1;
        name = QStringLiteral("%1 %2").arg(wanted).arg(n);
    } while (used.contains(name));
    used.insert(name);
    return name;
}
