#include "OptionsFile.h"

#include "ProgramFiles.h"

#include <QtEndian>

namespace {
const QString kOptionsFile = QStringLiteral("options.dat");
}

std::int32_t LoadOptions(const QString& programDir) {
    QByteArray bytes;
    if (!ReadProgramFile(programDir, kOptionsFile, &bytes, 4) || bytes.size() < 4) return 0;
    return qFromLittleEndian<std::int32_t>(bytes.constData());
}

bool SaveOptions(const QString& programDir, std::int32_t language) {
    char bytes[4];
    qToLittleEndian(language, bytes);
    return WriteProgramFile(programDir, kOptionsFile, QByteArray(bytes, 4));
}
