#pragma once
// "options.dat": the interface language as one int32, little-endian
// (0 German, 1 English, 2 French, 3 Dutch).

#include <QString>
#include <cstdint>

// The stored language number; 0 (German) when the file is missing or shorter
// than 4 bytes. Other numbers are returned as stored.
std::int32_t LoadOptions(const QString& programDir);

// Writes language atomically; false (and nothing changed) when it cannot be written.
bool SaveOptions(const QString& programDir, std::int32_t language);
