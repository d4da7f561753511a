#include "ProgramFiles.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString InProgramDir(const QString& programDir, const QString& name) {
    return QDir(programDir).filePath(name);
}

QString ConfigDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}
} // namespace

QString ProgramDataDir(const QString& programDir) {
    QDir program(programDir);
    if (!program.exists(QStringLiteral("logo torvane200x200.gif"))) {
        const QDir shared(program.filePath(QStringLiteral("../share/quillora")));
        if (shared.exists()) return shared.canonicalPath() + QLatin1Char('/');
    }
    QString dir = programDir;
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QString UserFilePath(const QString& name) {
    const QString dir = ConfigDir();
    return dir.isEmpty() ? QString() : QDir(dir).filePath(name);
}

QString ReadPath(const QString& programDir, const QString& name) {
    const QString user = UserFilePath(name);
    if (!user.isEmpty() && QFileInfo(user).isFile()) return user;
    const QString own = InProgramDir(programDir, name);
    if (QFileInfo::exists(own)) return own;
    const QString shipped = QDir(ProgramDataDir(programDir)).filePath(name);
    return QFileInfo::exists(shipped) ? shipped : own;
}

bool WriteProgramFile(const QString& programDir, const QString& name, const QByteArray& bytes,
                      FileFailure* failure) {
    const QString user = UserFilePath(name);
    const bool userCopy = !user.isEmpty() && QFileInfo(user).isFile();
    if (userCopy && WriteFileAtomically(user, bytes, failure)) return true;
    if (WriteFileAtomically(InProgramDir(programDir, name), bytes, failure)) {
        // The user's copy would hide the file just written.
        if (userCopy) QFile::remove(user);
        return true;
    }
    if (userCopy || user.isEmpty() || !QDir().mkpath(ConfigDir())) return false;
    return WriteFileAtomically(user, bytes, failure);
}

bool ReadProgramFile(const QString& programDir, const QString& name, QByteArray* bytes,
                     qint64 maxBytes) {
    bytes->clear();
    const QByteArray path = QFile::encodeName(ReadPath(programDir, name));
    // Opened without waiting (a FIFO would block the open itself), then checked
    // on the open file, so that nothing can be swapped in between.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    qint64 want = st.st_size;
    if (maxBytes >= 0 && want > maxBytes) want = maxBytes;
    QByteArray data;
    data.resize(static_cast<qsizetype>(want));
    qint64 got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, data.data() + got, static_cast<size_t>(want - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break; // the file became shorter: take what is there
        got += n;
    }
    ::close(fd);
    data.truncate(static_cast<qsizetype>(got));
    *bytes = std::move(data);
    return true;
}
