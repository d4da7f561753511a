#pragma once
// A folder for write-fault tests: a small tmpfs mounted on it (a full disk), or
// made read-only (a read-only file system for root, whom permissions do not stop).

#include <QFile>
#include <QString>

#include <sys/mount.h>
#include <unistd.h>

class SmallDisk {
  public:
    ~SmallDisk() {
        if (mounted) ::umount2(folder.toLocal8Bit().constData(), MNT_DETACH);
        if (!folder.isEmpty())
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Mounts a tmpfs of `size` (as mount takes it, "8k") on dir.
    bool Mount(const QString& dir, const char* size) {
        folder = dir;
        options = QByteArray("size=") + size;
        mounted =
            ::mount("tmpfs", dir.toLocal8Bit().constData(), "tmpfs", 0, options.constData()) == 0;
        return mounted;
    }
    // Makes the folder read-only; for root the mounted tmpfs is remounted read-only.
    bool MakeReadOnly(const QString& dir) {
        folder = dir;
        if (::geteuid() != 0) return QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
        return mounted && ::mount("tmpfs", dir.toLocal8Bit().constData(), "tmpfs",
                                  MS_REMOUNT | MS_RDONLY, options.constData()) == 0;
    }
    bool NeedsMountForReadOnly() const { return ::geteuid() == 0; }

    QString folder;
    QByteArray options;
    bool mounted = false;
};
