#include "AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace {
bool Fail(QString* error, const QString& path, const QString& reason) {
    if (error) *error = QStringLiteral("%1: %2").arg(QFileInfo(path).absoluteFilePath(), reason);
    return false;
}
} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    QSaveFile file(path);
    // Never fall back to writing the target in place: that is what loses files.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return Fail(error, path, file.errorString());
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = file.write(data.constData() + written, data.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return Fail(error, path, reason);
        }
        written += n;
    }
    // Push Qt's buffer to the system and the system's to the disk, checking both:
    // a full disk shows up here, not in commit().
    if (!file.flush() || file.error() != QFileDevice::NoError || ::fsync(file.handle()) != 0 ||
        file.size() != data.size()) {
        const QString reason =
            file.errorString().isEmpty() ? QStringLiteral("write failed") : file.errorString();
        file.cancelWriting();
        return Fail(error, path, reason);
    }
    if (!file.commit()) return Fail(error, path, file.errorString());
    return true;
}
