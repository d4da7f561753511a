#pragma once
// MainWindow: the program's one main window. It holds the document and hands
// it to its views (the fields tab, the layout tabs, the preview); it keeps the
// menus, the file and print commands, the window title with its changed mark,
// and the start-up and closing order.

#include <QMainWindow>
#include <QString>
#include <memory>

class QDialog;
class QFileDialog;
class QPushButton;
class QPrinter;
class QTabWidget;
class QTimer;
class QMenu;
class Document;
class RecentFiles;
class FieldsTab;
class LanguageMenu;
class LayoutBinding;
class PreparedProject;
class PresetsTab;
class PreviewTab;
struct PrinterPage;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // FormCreate. programDir is the program's directory; arguments are the
    // command-line arguments after the program name.
    MainWindow(const QString& programDir, const QStringList& arguments, QWidget* parent = nullptr);
    ~MainWindow() override; // FormDestroy

    // State of the window, named as the rest of the program refers to it.
    QString progpath; // the program's directory, ending in "/"
    bool infirst = false;
    QString maincap;

    Document& document() const { return *doc; }
    PreparedProject& project() const { return *prepared; }
    // The document's unsaved changes. Marking does nothing before the window
    // was first shown: start-up is no change of the user's.
    bool IsChanged() const;
    void SetChanged();
    void SetUnChanged();
    // Empties the document; layout values stay.
    void NewAll();

    // Project file commands.
    bool OpenFileWithName(const QString& name);
    bool OpenFile();
    bool SaveTheFile();
    bool SaveFile();
    // The unsaved-changes question: true when the caller may go on.
    bool QuerySaveChanges();

    // The open and save dialogs, made on first use and kept, so they remember
    // the name chosen last.
    QFileDialog* OpenDialog2();
    QFileDialog* SaveDialog1();

    // The printer the preview measures and printing uses, made on first use.
    QPrinter& CurrentPrinter();
    PrinterPage CurrentPrinterPage();
    // Makes printer the current printer; the preview follows at its next paint.
    void SetCurrentPrinter(std::unique_ptr<QPrinter> printer);

    // The other windows, created once by the program entry and owned by this one.
    QDialog* aboutBox = nullptr;
    QDialog* moveDialog = nullptr;
    QDialog* translateForm = nullptr;
    QDialog* categoryDialog = nullptr;
    LanguageMenu* languageMenu = nullptr;
    // The submenu "Zuletzt geöffnet".
    RecentFiles* recentFiles = nullptr;
    // Opens a file chosen from "Zuletzt geöffnet" or dropped onto the window,
    // after the unsaved-changes question; one that cannot be read is named in a message.
    void OpenChosenFile(const QString& name);
    // "Übersetzen...": the translation editor, then the restart message.
    void ShowTranslateEditor();

  public slots:
    void newProject();
    // "Rückgängig" and "Wiederholen" in the menu "Bearbeiten": undo or redo the
    // last edit and select what it changed.
    void undo();
    void redo();
    void openProject();
    void saveProject();
    void saveProjectAs();
    void quit();
    void offerSampleProject();
    void tabChanged(int index);
    void print();
    void setUpPrinter();
    // "Als ausfüllbares PDF exportieren...": the printed pages with form fields.
    void exportFillablePdf();
    // "Drucken...": the print dialog (printer, copies, pages), then the print.
    void printWithDialog();

  protected:
    void showEvent(QShowEvent* event) override;   // FormShow
    void closeEvent(QCloseEvent* event) override; // FormCloseQuery and FormClose
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override; // a project file dragged in
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildToolbarAndMenus();
    void BuildRecentFilesMenu(QMenu* menu);
    // The window's size and position: the last run's, or centred on the first.
    void RestorePlacement();
    void StorePlacement();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void UpdateTitle();

    // True once the first show fixed the caption; the title and the changed
    // mark follow the document from then on.
    bool started = false;
    Document* doc;
    PreparedProject* prepared;
    LayoutBinding* layoutBinding;
    std::unique_ptr<QPrinter> printer;
    QStringList commandLine;
    QFileDialog* openDialog = nullptr;
    QFileDialog* saveDialog = nullptr;

    QTabWidget* tabs = nullptr;
    FieldsTab* fieldsTab = nullptr;
    PresetsTab* presetsTab = nullptr;
    PreviewTab* previewTab = nullptr;
    QPushButton* quitButton = nullptr;

  public:
    FieldsTab* Fields() const { return fieldsTab; }

  private:
    QTimer* sampleOfferTimer = nullptr;
};

// The file-name part of a path: the text after the last "/", "\" or drive colon.
QString FileNamePart(const QString& path);
