#include "ProgramSettings.h"

#include "ProgramFiles.h"

#include <QDataStream>
#include <QIODevice>

const QString ProgramSettings::kFileName = QStringLiteral("settings.dat");

namespace {
constexpr quint32 kMagic = 0x51534554; // "QSET"
constexpr qint64 kMaxBytes = 1 << 20;  // settings are small; more is a damaged file
} // namespace

ProgramSettings::ProgramSettings(const QString& path) : programDir(path) {
    QByteArray bytes;
    if (!ReadProgramFile(programDir, kFileName, &bytes, kMaxBytes)) return;
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    QVariantMap read;
    in >> magic >> read;
    if (in.status() == QDataStream::Ok && magic == kMagic) values = read;
}

bool ProgramSettings::SetValue(const QString& key, const QVariant& value) {
    values.insert(key, value);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << values;
    return WriteProgramFile(programDir, kFileName, bytes);
}
