#pragma once
// Why a file could not be written, told twice: in English with the file's path
// and the system's own words, as the command line prints it; and as one of the
// program's fixed German texts, without path or number, which a window shows
// through the translation table beside the file's name.

#include <QString>

struct FileFailure {
    QString english; // "/home/anna/form.qlr: No space left on device"
    QString reason;  // "Auf dem Datenträger ist nicht genug Platz."
};

// The German reason for a write that failed with the system's error number
// (errno); 0 or a rare number gives the general reason.
QString WriteFailureReason(int errorNumber);
