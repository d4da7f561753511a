#pragma once
// The program's own files ("options.dat", "translate.dat") live in the program's
// directory. When that directory cannot be written (an installed program), they
// go to the user's configuration directory instead, and from then on the user's
// copy is the one read and written.

#include "FileFailure.h"

#include <QByteArray>
#include <QString>

// Where the data shipped with the program lies (the default logo, the sample
// project, the shipped translation table): the program's directory when it
// holds the default logo (a build folder), otherwise <prefix>/share/quillora
// beside an installed program's bin/ when that exists. Ends in "/".
QString ProgramDataDir(const QString& programDir);

// The user's copy of name: <configuration directory>/name.
QString UserFilePath(const QString& name);

// The file to read: the user's copy when there is one, otherwise programDir + name,
// or the shipped copy in the data directory when the program's directory has none.
QString ReadPath(const QString& programDir, const QString& name);

// Reads the program file that ReadPath names into *bytes, at most maxBytes of
// it (all when negative). Only a plain file is read: a link to a device, a
// FIFO or a folder counts as no file, so that the start never waits for ever
// or reads without end. False when there is no such file or it cannot be read.
bool ReadProgramFile(const QString& programDir, const QString& name, QByteArray* bytes,
                     qint64 maxBytes = -1);

// Writes the whole file atomically where ReadPath will find it: the user's copy
// when there is one, otherwise the program's directory, falling back to the
// user's configuration directory. False when no place could be written.
bool WriteProgramFile(const QString& programDir, const QString& name, const QByteArray& bytes,
                      FileFailure* failure = nullptr);
