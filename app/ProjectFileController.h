#pragma once
// The project files of the window's document: new, open, save and save as,
// the unsaved-changes question, the submenu "Zuletzt geöffnet", files dropped
// onto the window and the sample project offered at start-up. The window's
// commands call it; the views follow the document it opens.

#include <QObject>
#include <QString>
#include <QStringList>

class QFileDialog;
class QMenu;
class QMimeData;
class QTimer;
class QWidget;
class Document;
class RecentFiles;

class ProjectFileController : public QObject {
    Q_OBJECT
  public:
    // window parents the dialogs and messages; progpath ends in "/".
    ProjectFileController(Document& document, QWidget* window, const QString& progpath);

    // The commands "Neu", "Öffnen...", "Speichern" and "Speichern unter...".
    void newProject();
    void openProject();
    void saveProject();
    void saveProjectAs();

    // Reads name into the document; a damaged file is named in a message and
    // leaves the document as it was. False when nothing was opened.
    bool OpenFileWithName(const QString& name);
    // Asks for a file and opens it.
    bool OpenFile();
    // Writes the document into its file; a failure is named in a message.
    bool SaveTheFile();
    // Saves into the document's file, asking for one when it has none.
    bool SaveFile();
    // The unsaved-changes question: true when the caller may go on.
    bool QuerySaveChanges();
    // Empties the document; layout values stay.
    void NewAll();
    // A file the user named (command line, "Zuletzt geöffnet", dropped): one
    // that cannot be read is named in a message. OpenChosenFile asks the
    // unsaved-changes question first.
    bool OpenNamedFile(const QString& name);
    void OpenChosenFile(const QString& name);

    // Start-up: opens the file named on the command line, or after a moment
    // offers the sample project.
    void StartUp(const QStringList& commandLine);
    void OfferSampleProject();

    // The project file among dragged data: one local file ending in ".qlr".
    static QString DraggedProjectFile(const QMimeData* data);

    // Fills the submenu "Zuletzt geöffnet".
    void BuildRecentFilesMenu(QMenu* menu);
    RecentFiles* recentFiles() const { return recent; }
    // The open and save dialogs, made on first use and kept, so that they
    // remember the folder and name chosen last.
    QFileDialog* OpenDialog2();
    QFileDialog* SaveDialog1();

  private:
    Document& doc;
    QWidget* window;
    QString progpath;
    RecentFiles* recent = nullptr;
    QFileDialog* openDialog = nullptr;
    QFileDialog* saveDialog = nullptr;
    QTimer* sampleOffer;
};
