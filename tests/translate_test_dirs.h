#pragma once
// Scratch folders for tests of the program's own files: a program directory and
// a user configuration directory of their own, plus folders that cannot be
// written or that are nearly full.

#include "FileBytes.h"
#include "TranslationFile.h"
#include "TranslationTable.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

// Points the user's configuration directory at a fresh folder for one test.
class ProgramDirs {
  public:
    ProgramDirs() : oldConfig(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }
    ~ProgramDirs() {
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    QString ProgPath() const { return prog.path() + u'/'; }
    QString InProg(const QString& name) const { return prog.filePath(name); }

    QTemporaryDir prog, config;

  private:
    QByteArray oldConfig;
};

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A folder that cannot be written: a read-only tmpfs for root (who ignores
// permissions), otherwise a folder without write permission. Empty when
// neither can be had. contents are put in before it becomes read-only.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& name = {}, const QByteArray& contents = {}) {
        path = base.filePath(QStringLiteral("ro"));
        QDir().mkpath(path);
        if (geteuid() == 0) {
            if (::mount("tmpfs", path.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
                path.clear();
                return;
            }
            mounted = true;
            if (!name.isEmpty()) WriteAll(path + u'/' + name, contents);
            if (::mount(nullptr, path.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                        nullptr) != 0)
                path.clear();
        } else {
            if (!name.isEmpty()) WriteAll(path + u'/' + name, contents);
            ::chmod(path.toLocal8Bit().constData(), 0555);
        }
    }
    ~ReadOnlyFolder() {
        if (mounted)
            ::umount2(base.filePath(QStringLiteral("ro")).toLocal8Bit().constData(), MNT_DETACH);
        else if (!path.isEmpty())
            ::chmod(path.toLocal8Bit().constData(), 0755);
    }
    QString path; // with no trailing slash; empty when unavailable

  private:
    QTemporaryDir base;
    bool mounted = false;
};

// A 64 KiB tmpfs holding `name` with `contents` and filled up to about `freeBytes`
// of free space. Empty path when a tmpfs cannot be mounted here.
class TinyDisk {
  public:
    TinyDisk(const QString& name, const QByteArray& contents, qint64 freeBytes = 8192) {
        path = base.filePath(QStringLiteral("disk"));
        QDir().mkpath(path);
        if (::mount("tmpfs", path.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
            path.clear();
            return;
        }
        mounted = true;
        WriteAll(path + u'/' + name, contents);
        const qint64 fill = 64 * 1024 - 4096 - freeBytes - contents.size();
        if (fill > 0) WriteAll(path + QStringLiteral("/filler"), QByteArray(fill, 'x'));
    }
    ~TinyDisk() {
        if (mounted)
            ::umount2(base.filePath(QStringLiteral("disk")).toLocal8Bit().constData(), MNT_DETACH);
    }
    QString path;

  private:
    QTemporaryDir base;
    bool mounted = false;
};

// For one test: a program folder whose "translate.dat" (one row, "Datei" =
// "File") cannot be replaced, and a configuration folder that cannot be
// written. Ready() is false where no read-only folder can be made.
class UnwritableTranslationDirs {
  public:
    UnwritableTranslationDirs()
        : formerBytes(OneRowTable()), prog(QStringLiteral("translate.dat"), formerBytes) {
        if (Ready()) qputenv("XDG_CONFIG_HOME", config.path.toLocal8Bit());
    }
    bool Ready() const { return !prog.path.isEmpty() && !config.path.isEmpty(); }

    ProgramDirs dirs; // writable folders; it also restores the configuration folder
    QByteArray formerBytes;
    ReadOnlyFolder prog, config;

  private:
    static QByteArray OneRowTable() {
        TranslationTable table;
        table.AppendRow({QStringLiteral("Datei"), QStringLiteral("File")});
        return TranslationBytes(table);
    }
};
