#pragma once
// TMainForm: the program's one main window. It holds the document, the layout
// controls and the two prepared pictures, and delegates the work to the units of
// document/, images/, render/, translate/ and editing/.

#include "CategoryPictureCache.h"
#include "Dib.h"
#include "FormDocument.h"
#include "LayoutControls.h"
#include "PageStartIndex.h"
#include "PaintToCanvas.h"

#include <QMainWindow>
#include <QString>
#include <memory>

class QAction;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QTimer;
class QTreeView;
class QTreeWidget;
class CategoryListModel;
class LanguageMenu;
class DibPaintBox;
class QDialog;
class QPrinter;
class QWheelEvent;
class QFileDialog;

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    // FormCreate. programPath is the executable's path (argv[0] resolved); arguments
    // are the command-line arguments after the program name.
    TMainForm(const QString& programDir, const QStringList& arguments, QWidget* parent = nullptr);
    ~TMainForm() override; // FormDestroy

    // State of the window, named as the rest of the program refers to it.
    QString progpath; // the program's directory, ending in "/"
    bool infirst = false;
    QString maincap;
    bool changed = false;
    QString afilename;
    // The interface language lives with the translation (ProgramTranslator()).
    bool donotupdate = false;
    std::unique_ptr<FormDocument> doc = std::make_unique<FormDocument>();
    dib di2{}; // background, prepared
    dib di3{}; // logo
    LayoutControls layout;

    void SetChanged();
    void SetUnChanged();
    // Empties the document; layout values stay.
    void NewAll();
    // The current layout values, as the engine and the project file read them.
    LayoutSettings Settings() const { return layout.Read(); }

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

    // The page preview and the printer it measures.
    // The printer the preview measures and printing uses, made on first use.
    QPrinter& CurrentPrinter();
    PrinterPage CurrentPrinterPage();
    PageSize PreviewPageSize();
    PageInput PreviewInput();
    void PaintBox1Paint(QPaintEvent* event);
    std::unique_ptr<QPrinter> printer;

    // Field list and selection.
    int SelectedCategory() const;
    int SelectedField() const;
    void ListProds();
    void ListView1Click();

  public slots:
    void Neu1Click();
    void OpenBtnClick();
    void SaveBtnClick();
    void SaveAsBtnClick();
    void EndeBtnClick();
    void Timer1Timer();
    void PageControl1Change(int index);
    void FilenameEdit1Change();
    void FilenameEdit2Change();
    void ListView2Change();
    void DruckenBtnClick();
    void Druckereinrichten1Click();

  protected:
    void showEvent(QShowEvent* event) override;   // FormShow
    void closeEvent(QCloseEvent* event) override; // FormCloseQuery and FormClose
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override; // the mouse wheel

  private:
    void BuildToolbarAndMenus();
    QWidget* BuildFieldsTab();
    QWidget* BuildPresetsTab();
    QWidget* BuildPreviewTab();
    QWidget* BuildLayoutTab();
    QWidget* BuildBackgroundTab();
    QWidget* BuildLogoTab();
    void BuildPagePreview();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void UpdateTitle();

    QStringList commandLine;
    QFileDialog* openDialog = nullptr;
    QFileDialog* saveDialog = nullptr;
    LayoutSettings currentSettings; // what the page being drawn reads
    bool preparingPictures = true;  // false while a file's values are given to the controls
    CategoryPictureCache pictureCache;
    PageStartIndex pageStarts; // invalidated whenever the document changes
    const QWheelEvent* lastWheel = nullptr;
    quint64 lastWheelTime = 0;

  public:
    // The other windows, created once by the program entry and owned by this one.
    QDialog* aboutBox = nullptr;
    QDialog* moveDialog = nullptr;
    QDialog* translateForm = nullptr;
    QDialog* categoryDialog = nullptr;
    LanguageMenu* languageMenu = nullptr;
    // "Übersetzen...": the translation editor, then the restart message.
    void ShowTranslateEditor();

    // Controls other units and the tests reach directly.
    QTabWidget* PageControl1 = nullptr;
    QPushButton* EndeBtn = nullptr;
    QTimer* Timer1 = nullptr;
    CategoryListModel* categories = nullptr;
    QTreeView* ListView2 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPlainTextEdit* ProdNameEd = nullptr;
    QRadioButton* TextCheck = nullptr;
    QRadioButton* CheckCheck = nullptr;
    QRadioButton* RadioCheck = nullptr;
    QDoubleSpinBox* BreitFeldEd = nullptr;
    QDoubleSpinBox* HochFeldEd = nullptr;
    QDoubleSpinBox* BreitDefEd = nullptr;
    QDoubleSpinBox* HochDefEd = nullptr;
    QSpinBox* ZoomEd = nullptr;
    QSpinBox* SeiteEd = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* PaintBox1 = nullptr;
    QLineEdit* KeyEdit = nullptr;
    DibPaintBox* PaintBox2 = nullptr;
    DibPaintBox* PaintBox3 = nullptr;
};

// The file-name part of a path: the text after the last "/", "\" or drive colon.
QString FileNamePart(const QString& path);
