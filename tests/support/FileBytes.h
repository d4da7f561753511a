#pragma once
// A file's whole contents, and writing bytes into a file plainly (not through
// the program's writer), for tests that set a file up or check what is in it.

#include <QByteArray>
#include <QFile>
#include <QString>

// Empty when the file cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}
