#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Permissions for a new file: as the umask allows; an existing file keeps its own.
mode_t NewFileMode(const QByteArray& target) {
    struct stat st {};
    if (::stat(target.constData(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

QByteArray TempNameIn(const QString& folder, const QString& target) {
    const QString name = QStringLiteral(".%1.%2.part")
                             .arg(QFileInfo(target).fileName())
                             .arg(QRandomGenerator::global()->generate64(), 0, 36);
    return QFile::encodeName(QDir(folder).filePath(name));
}

void SyncFolder(const QString& folder) {
    // Makes the rename itself durable; file systems that cannot sync a folder
    // (EINVAL) have nothing to sync.
    const int dir =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const QString& path) {
    const QFileInfo info(path);
    target = info.absoluteFilePath();
    folder = info.absolutePath();
}

AtomicFileWriter::~AtomicFileWriter() {
    Abandon();
}

bool AtomicFileWriter::Fail(const QString& reason, int systemError) {
    if (error.isEmpty()) {
        error = QStringLiteral("%1: %2").arg(target, reason);
        errorNumber = systemError;
    }
    Abandon();
    return false;
}

bool AtomicFileWriter::FailErrno(int systemError) {
    return Fail(QString::fromLocal8Bit(std::strerror(systemError)), systemError);
}

bool AtomicFileWriter::Open() {
    if (fd >= 0 || Failed()) return !Failed();
    if (QFileInfo(target).isDir()) return FailErrno(EISDIR);
    const QByteArray dir = QFile::encodeName(folder);
    const mode_t mode = NewFileMode(QFile::encodeName(target));
#ifdef O_TMPFILE
    // An unnamed file in the target's folder: if the process dies before the
    // end, the file system drops it.
    fd = ::open(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0) {
        unnamed = true;
        ::fchmod(fd, mode);
        return true;
    }
    // Only a file system without unnamed files gets the named fallback; a
    // missing or read-only folder fails here as it would there.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return FailErrno(errno);
#endif
    return OpenNamed();
}

bool AtomicFileWriter::OpenNamed() {
    const mode_t mode = NewFileMode(QFile::encodeName(target));
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray name = TempNameIn(folder, target);
        fd = ::open(name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0) {
            namedTemp = name;
            ::fchmod(fd, mode);
            return true;
        }
        if (errno != EEXIST) return FailErrno(errno);
    }
    return FailErrno(EEXIST);
}

bool AtomicFileWriter::Write(const char* data, qint64 size) {
    if (Failed()) return false;
    if (fd < 0) return Fail(QStringLiteral("the file is not open"));
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return FailErrno(errno);
        }
        if (n == 0) return FailErrno(ENOSPC);
        data += n;
        size -= n;
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (Failed()) return false;
    if (fd < 0) return Fail(QStringLiteral("the file is not open"));
    // A full disk or a failing device may show up only here.
    if (::fsync(fd) != 0) return FailErrno(errno);
    if (unnamed) {
        // Give the finished file a name beside the target, then move it over.
        const QByteArray name = TempNameIn(folder, target);
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) !=
            0)
            return FailErrno(errno);
        namedTemp = name;
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return FailErrno(errno);
    if (::rename(namedTemp.constData(), QFile::encodeName(target).constData()) != 0)
        return FailErrno(errno);
    namedTemp.clear();
    SyncFolder(folder);
    return true;
}

void AtomicFileWriter::Abandon() {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
    if (!namedTemp.isEmpty()) {
        ::unlink(namedTemp.constData());
        namedTemp.clear();
    }
}

AtomicFileDevice::AtomicFileDevice(const QString& path) : writer(path) {}

AtomicFileDevice::~AtomicFileDevice() {
    writer.Abandon();
}

bool AtomicFileDevice::open(OpenMode mode) {
    if ((mode & ReadOnly) || !(mode & WriteOnly)) return false;
    if (!writer.Open()) {
        setErrorString(writer.Error());
        return false;
    }
    return QIODevice::open(mode | Unbuffered);
}

qint64 AtomicFileDevice::writeData(const char* data, qint64 size) {
    if (!writer.Write(data, size)) {
        setErrorString(writer.Error());
        return -1;
    }
    return size;
}

bool AtomicFileDevice::Commit() {
    const bool ok = writer.Commit();
    if (isOpen()) QIODevice::close();
    if (!ok) setErrorString(writer.Error());
    return ok;
}

bool WriteFileAtomically(const QString& path, const QByteArray& data, FileFailure* failure) {
    AtomicFileWriter writer(path);
    const bool ok = writer.Open() && writer.Write(data.constData(), data.size()) && writer.Commit();
    if (!ok && failure) *failure = writer.Failure();
    return ok;
}
