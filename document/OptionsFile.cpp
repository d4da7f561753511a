#include "OptionsFile.h"

#include "ProgramFiles.h"

#include <QtEndian>

namespace {
const QString kOptionsFile = QStringLiteral("options.dat");
}

std::int32_t LoadOptions(const QString& progpath) {
    QByteArray bytes;
    if (!ReadProgramFile(progpath, kOptionsFile, &bytes, 4) || bytes.size() < 4) return 0;
    return qFromLittleEndian<std::int32_t>(bytes.constData());
}

bool SaveOptions(const QString& progpath, std::int32_t language) {
    char bytes[4];
    qToLittleEndian(language, bytes);
    return WriteProgramFile(progpath, kOptionsFile, QByteArray(bytes, 4));
}
