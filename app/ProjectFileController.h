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
    // window parents the dialogs and messages; programDir ends in "/".
    ProjectFileController(Document& document, QWidget* window, const QString& programDir);

    // The commands "Neu", "Öffnen...", "Speichern" and "Speichern unter...".
    void newProject();
    void openProject();
    void saveProject();
    void saveProjectAs();

    // Reads name into the document; a damaged file is named in a message and
    // leaves the document as it was. False when nothing was opened; a file that
    // cannot be opened at all is passed over without a message.
    bool LoadProject(const QString& name);
    // Asks for a file and opens it.
    bool ChooseAndLoadProject();
    // Writes the document into its file; a failure is named in a message.
    bool WriteProject();
    // Saves into the document's file, asking for one when it has none.
    bool SaveAskingNameIfNone();
    // The unsaved-changes question: true when the caller may go on.
    bool QuerySaveChanges();
    // Empties the document; layout values stay.
    void NewAll();
    // A file the user named (command line, "Zuletzt geöffnet", dropped): unlike
    // LoadProject, one that cannot be opened is named in a message. SwitchToProject asks the
    // unsaved-changes question first.
    bool LoadRequestedProject(const QString& name);
    void SwitchToProject(const QString& name);

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
    QFileDialog* OpenFileDialog();
    QFileDialog* SaveFileDialog();

  private:
    Document& doc;
    QWidget* window;
    QString programDir;
    RecentFiles* recent = nullptr;
    QFileDialog* openDialog = nullptr;
    QFileDialog* saveDialog = nullptr;
    QTimer* sampleOffer;
};
