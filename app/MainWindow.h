#pragma once
// The program's main window. It arranges: it builds its menus and tool bar
// from its table of commands, hands the document to its views (the fields tab,
// the layout tabs, the preview), shows the title with the changed mark, and
// keeps the start-up and closing order. Project files and printing have their
// own controllers beside it.

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <vector>

class AboutBox;
class Document;
class FieldsTab;
class LanguageMenu;
class LayoutBinding;
class PreparedProject;
class PresetsTab;
class PreviewTab;
class PrintController;
class ProjectFileController;
class QAction;
class QTabWidget;
class RecoveryCopy;
class TranslationEditor;
struct WindowCommand;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // programDir is the program's directory; arguments are the command-line
    // arguments after the program name.
    MainWindow(const QString& directory, const QStringList& arguments, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The program's directory, ending in "/".
    const QString& ProgramDir() const { return programDir; }
    // The title as the start-up translation left it; the file name and the
    // changed mark follow it. Empty until the first show.
    const QString& BaseTitle() const { return baseTitle; }

    Document& document() const { return *doc; }
    PreparedProject& project() const { return *prepared; }
    ProjectFileController& files() const { return *fileController; }
    PrintController& printing() const { return *printController; }
    FieldsTab* Fields() const { return fieldsTab; }
    AboutBox& aboutBox() const { return *about; }
    TranslationEditor& translationEditor() const { return *translationDialog; }
    RecoveryCopy& recoveryCopy() const { return *recovery; }

    // The menu "Sprache".
    LanguageMenu* languageMenu = nullptr;
    // "Übersetzen...": the translation editor, then the restart message.
    void ShowTranslateEditor();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override; // a project file dragged in
    void dropEvent(QDropEvent* event) override;

  private:
    QString programDir;
    QString baseTitle;

    // The window's commands: the menus, their entries and the tool bar buttons.
    std::vector<WindowCommand> Commands();
    void BuildViews();
    // "Bestellungen einsammeln...": the window of returned orders.
    void showOrdersWindow();
    // "Seitenansicht neben den Feldern": checkable, kept in the program settings.
    void SetUpPageViewEntry(QAction* action);
    // The window's size and position: the last run's, or centred on the first.
    void RestorePlacement();
    void StorePlacement();
    // The first show: placement, translation, then the file or the sample offer.
    void FirstShow();
    void UpdateTitle();
    void tabChanged(int index);

    // True once the first show fixed the caption; the title and the changed
    // mark follow the document from then on.
    bool started = false;
    Document* doc;
    PreparedProject* prepared;
    LayoutBinding* layoutBinding;
    ProjectFileController* fileController;
    PrintController* printController;
    RecoveryCopy* recovery;
    QStringList commandLine;
    AboutBox* about;
    TranslationEditor* translationDialog;

    // "Seitenansicht neben den Feldern": whether the tab "Felder" shows its page.
    QAction* pageViewAction = nullptr;
    QTabWidget* tabs = nullptr;
    FieldsTab* fieldsTab = nullptr;
    PresetsTab* presetsTab = nullptr;
    PreviewTab* previewTab = nullptr;
};

// The file-name part of a path: the text after the last "/", "\" or drive colon.
QString FileNamePart(const QString& path);
