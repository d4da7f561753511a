#pragma once
// The one way the program writes a file: the bytes go to a temporary file in the
// target's own folder (an unnamed one where the file system allows it, so that
// a process killed part-way leaves nothing behind), every write, the flush and
// the fsync are checked, and only a complete file replaces the target, in one
// rename. On any failure the former file stays as it was.

#include "FileFailure.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Writes one file in steps. Destroying a writer that was not committed throws
// the new bytes away.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const QString& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Makes the temporary file; false with Error() set when it cannot be made.
    bool Open();
    // Appends bytes; false (and every later call false) once anything failed.
    bool Write(const char* data, qint64 size);
    // Puts the complete file on disk and in place of the target.
    bool Commit();
    // Throws the new bytes away; the target is untouched.
    void Abandon();

    bool Failed() const { return !error.isEmpty(); }
    // The target's absolute path and the reason of the first failure.
    QString Error() const { return error; }
    // The first failure, in English and as the program's German reason.
    FileFailure Failure() const { return {error, WriteFailureReason(errorNumber)}; }

  private:
    bool Fail(const QString& reason, int systemError = 0);
    bool FailErrno(int systemError);
    bool OpenNamed();

    QString target;
    QString folder;
    QString error;
    int errorNumber = 0;  // errno of the first failure; 0 when the system gave none
    QByteArray namedTemp; // the fallback's temporary file, while it exists
    int fd = -1;
    bool unnamed = false;
};

// A write-only device over an AtomicFileWriter, for writers that take a
// QIODevice (PDF, pictures). Open it, let them write, then Commit().
class AtomicFileDevice : public QIODevice {
  public:
    explicit AtomicFileDevice(const QString& path);
    ~AtomicFileDevice() override;

    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    // Commits the file; false with ErrorText() set when anything failed.
    bool Commit();
    QString ErrorText() const { return writer.Error(); }
    FileFailure Failure() const { return writer.Failure(); }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    AtomicFileWriter writer;
};

// True on success. On failure the target is untouched and *failure (if given)
// names the file and the reason.
bool WriteFileAtomically(const QString& path, const QByteArray& data,
                         FileFailure* failure = nullptr);
