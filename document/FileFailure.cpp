#include "FileFailure.h"

#include <cerrno>

QString WriteFailureReason(int errorNumber) {
    switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("In diesen Ordner kann nicht geschrieben werden.");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz.");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß für diesen Datenträger.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Den Ordner gibt es nicht.");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen gibt es schon einen Ordner.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name der Datei ist zu lang.");
    default:
        return QStringLiteral("Beim Schreiben der Datei ist ein Fehler aufgetreten.");
    }
}
