#pragma once
// Writes a whole file so that the former file stays intact until the new one is
// completely on disk: the bytes go to a temporary file beside it, which then
// replaces the target in one rename. Every write and the final flush are checked,
// so a full disk fails the save instead of leaving a cut-off file behind.

#include <QByteArray>
#include <QString>

// True on success. On failure the target is untouched and *error (if given)
// names the file and the reason.
bool WriteFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);
