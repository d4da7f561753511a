#pragma once
// A copy of the window's unsaved project in the configuration folder, so that
// an edit is not lost when the program ends without saving: killed, crashed,
// or the machine turned off. The copy is written a moment after the user stops
// typing, and within a minute of a change at the latest; the bytes go to disk
// on a worker thread, through the atomic writer. A save, "Neu", opening a file,
// a clean exit or the window going in order removes it. Each running program keeps its own copy, locked
// while it runs; the next start offers a copy whose program no longer runs
// ("Wiederherstellen" / "Verwerfen").

#include <QObject>
#include <QString>
#include <future>
#include <memory>
#include <optional>

class Document;
class QLockFile;
class QTimer;
class QWidget;

class RecoveryCopy : public QObject {
    Q_OBJECT
  public:
    explicit RecoveryCopy(Document& document, QObject* parent = nullptr);
    ~RecoveryCopy() override;

    // How long after the last change the copy is written, and at the latest
    // after the first change not yet copied (milliseconds).
    void SetDelays(int afterTyping, int atTheLatest);
    // Writes the copy now, on this thread, when the document has unsaved
    // changes; for an ending that cannot wait. True when a copy is on disk.
    bool WriteNow();
    // The copy goes: the changes were saved or thrown away on purpose.
    void Remove();
    // This program's copy, and the file holding the name of the project it is of.
    QString CopyPath() const;

    // A copy left behind by a program that no longer runs, with the name of
    // the project file it was edited from (empty for an untitled project).
    struct LeftCopy {
        QString path;
        QString projectName;
    };
    static std::optional<LeftCopy> FindLeftCopy();
    // Removes a left copy (restored or thrown away).
    static void RemoveLeftCopy(const LeftCopy& copy);
    // Offers a left copy: "Wiederherstellen" reads it into the document,
    // which keeps the name of its file and counts as changed; "Verwerfen"
    // throws it away. True when the document was restored.
    static bool OfferLeftCopy(QWidget* parent, Document& document);

  signals:
    // A copy was put on disk (for tests and the status bar).
    void written(const QString& path);

  private:
    void Schedule();
    void WriteInBackground();
    QString NamePath() const;
    void WaitForPendingWrite();

    Document& doc;
    QString folder;
    std::unique_ptr<QLockFile> lock;
    QTimer* afterTyping;
    QTimer* atTheLatest;
    std::future<void> pendingWrite; // the copy on its way to disk, at most one
};
