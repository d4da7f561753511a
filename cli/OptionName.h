#pragma once
// The name of a command-line option as the program's options are written:
// "--name", "-name", "--name=value" or "-n".

#include <QString>

// The option's name without its dashes and without an "=value"; empty for an
// argument that is no option. *inlineValue, when given, says whether it carried "=value".
inline QString OptionName(const QString& argument, bool* inlineValue = nullptr) {
    QString name = argument;
    if (name.startsWith(QLatin1String("--")))
        name.remove(0, 2);
    else if (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    else
        return {};
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    if (inlineValue) *inlineValue = equals >= 0;
    if (equals >= 0) name.truncate(equals);
    return name;
}
