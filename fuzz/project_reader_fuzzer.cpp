// Feeds arbitrary bytes to the project file reader. A file that loads must
// also survive a save and a second load unchanged: saving it again gives the
// same bytes.
#include "ProjectFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const LayoutSettings defaults;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ProjectReadResult first = ReadProjectFile(bytes, defaults);
    if (!first.ok()) {
        if (first.document || first.error.isEmpty()) std::abort();
        return 0;
    }
    const QByteArray saved = SerializeProject(*first.document, first.settings);
    ProjectReadResult second = ReadProjectFile(saved, defaults);
    if (!second.ok()) std::abort();
    if (SerializeProject(*second.document, second.settings) != saved) std::abort();
    return 0;
}
