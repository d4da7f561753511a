#include "ProgramFiles.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString InProgramDir(const QString& progpath, const QString& name) {
    return QDir(progpath).filePath(name);
}

QString ConfigDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}
} // namespace

QString ProgramDataDir(const QString& progpath) {
    QDir program(progpath);
    if (!program.exists(QStringLiteral("logo torvane200x200.gif"))) {
        const QDir shared(program.filePath(QStringLiteral("../share/quillora")));
        if (shared.exists()) return shared.canonicalPath() + QLatin1Char('/');
    }
    QString dir = progpath;
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QString UserFilePath(const QString& name) {
    const QString dir = ConfigDir();
    return dir.isEmpty() ? QString() : QDir(dir).filePath(name);
}

QString ReadPath(const QString& progpath, const QString& name) {
    const QString user = UserFilePath(name);
    if (!user.isEmpty() && QFileInfo(user).isFile()) return user;
    const QString own = InProgramDir(progpath, name);
    if (QFileInfo::exists(own)) return own;
    const QString shipped = QDir(ProgramDataDir(progpath)).filePath(name);
    return QFileInfo::exists(shipped) ? shipped : own;
}

bool WriteProgramFile(const QString& progpath, const QString& name, const QByteArray& bytes,
                      QString* error) {
    const QString user = UserFilePath(name);
    const bool userCopy = !user.isEmpty() && QFileInfo(user).isFile();
    if (userCopy && WriteFileAtomically(user, bytes, error)) return true;
    if (WriteFileAtomically(InProgramDir(progpath, name), bytes, error)) {
        // The user's copy would hide the file just written.
        if (userCopy) QFile::remove(user);
        return true;
    }
    if (userCopy || user.isEmpty() || !QDir().mkpath(ConfigDir())) return false;
    return WriteFileAtomically(user, bytes, error);
}
