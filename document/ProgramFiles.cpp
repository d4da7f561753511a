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

QString UserFilePath(const QString& name) {
    const QString dir = ConfigDir();
    return dir.isEmpty() ? QString() : QDir(dir).filePath(name);
}

QString ReadPath(const QString& progpath, const QString& name) {
    const QString user = UserFilePath(name);
    if (!user.isEmpty() && QFileInfo(user).isFile()) return user;
    return InProgramDir(progpath, name);
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
