#pragma once
// The tab "Felder": the category list, the field list of the selected
// category and the selected field's properties. A view of the document: the
// lists are models over it, and the editors show the selected field. The
// commands of its buttons and editors push undoable edits onto the document's
// undo stack and never change the document themselves.

#include <QList>
#include <QWidget>
#include <functional>
#include <optional>

class QDoubleSpinBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeView;
class FieldPageView;
class QUndoCommand;
class CategoryListModel;
class Document;
class FieldListModel;
class PresetsTab;
class MoveFieldsDialog;
class CategoryDialog;
struct EditSelection;
struct FieldValues;
enum class FieldPart;

class FieldsTab : public QWidget {
    Q_OBJECT
  public:
    FieldsTab(Document& document, QWidget* parent = nullptr);

    // The width and height for new fields come from the tab "Voreinstellungen".
    void ConnectPresets(PresetsTab* tab);
    // The dialogs of the category and field commands, made once with this tab.
    CategoryDialog& categoryDialog() const { return *categoryEditor; }
    MoveFieldsDialog& moveDialog() const { return *moveChooser; }

    // The document's selection, which the lists show.
    int SelectedCategory() const;
    // The first selected field, -1 for none.
    int SelectedField() const;
    // Every selected field, in list order.
    QList<int> SelectedFields() const;
    void SelectCategory(int row);
    void SelectFields(const QList<int>& rows);
    // Selects what an undone or redone edit asks for.
    void ShowSelection(const EditSelection& selection);

    // Lists the selected category's fields, none of them selected, and enables
    // the field commands.
    void ListFields();
    // Shows the selected field in the editors, or disables them. A control whose
    // shown text or check changes marks the document changed; the field itself
    // is not written.
    void ShowSelectedField();

    CategoryListModel* Categories() const { return categories; }

    // Puts the page view beside the lists; it follows the selection, and what
    // is picked on it is selected in the lists.
    void AttachPageView(FieldPageView* view);
    FieldPageView* PageView() const { return pageView; }
    void ShowPageView(bool shown);
    // What a page view points at: selects the field, or the category (and no
    // field), or selects the category and opens it in the category dialog.
    void PickField(int category, int field);
    void PickCategory(int category);
    void OpenCategory(int category);

  public slots:
    // Category commands.
    void newCategory();
    void editCategory();
    void deleteCategory();
    void moveCategoryUp();
    void moveCategoryDown();
    // Field commands.
    void newTextField();
    void newCheckBox();
    void newChoiceField();
    void deleteFields();
    void moveFieldsUp();
    void moveFieldsDown();
    void moveFieldsToCategory();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The lists and the properties share the lists pane, as they always have.
    void LayOutListsPane();
    // What the lists have selected on screen.
    int ListedCategory() const;
    QList<int> ListedFields() const;
    // The lists take the document's selection.
    void MirrorCategory();
    void MirrorFields();
    // The document's selection is another: the lists, the editors follow.
    void FollowSelection();
    // Lists the selected category's fields, keeping the selected ones.
    void RefillFields();
    void BuildCategoryPanel();
    void BuildFieldPanel();
    void BuildPropertyPanel();
    void ConnectHandlers();
    void CategorySelected();
    void NewField(int kind);
    void MoveSelectedField(int step);
    void MoveSelectedCategory(int step);
    void RenameInPlace(int row, const QString& name);
    // Property handlers; the default boxes call the size handlers too.
    void NameEdited();
    void KindChosen(int kind);
    void WidthEdited(bool fromDefaultBox);
    void HeightEdited(bool fromDefaultBox);
    // A width or height typed into its box, or a default box changed while a field is shown.
    void SizeChange(bool fromDefaultBox, double FieldValues::*size, double value, FieldPart part);
    // Pushes an edit; the editors are not refreshed from the field meanwhile.
    void Push(QUndoCommand* command);
    void FieldChangedInDocument(int category, int field);

    Document& doc;
    PresetsTab* presets = nullptr;
    CategoryDialog* categoryEditor;
    MoveFieldsDialog* moveChooser;
    // While set, a change of the category selection does not list its fields
    // (a file being loaded, an entry being moved).
    bool holdFieldList = false;
    CategoryListModel* categories;
    FieldListModel* fields;
    QSplitter* splitter = nullptr;
    QWidget* listsPane = nullptr;
    FieldPageView* pageView = nullptr;
    QWidget* categoryPanel = nullptr;
    QWidget* fieldPanel = nullptr;
    QWidget* propertyPanel = nullptr;
    QTreeView* categoryList = nullptr;
    QTreeView* fieldList = nullptr;
    QPlainTextEdit* nameEditor = nullptr;
    QRadioButton* textKindButton = nullptr;
    QRadioButton* checkBoxKindButton = nullptr;
    QRadioButton* choiceKindButton = nullptr;
    QDoubleSpinBox* widthBox = nullptr;
    QDoubleSpinBox* heightBox = nullptr;
    QList<QPushButton*> categoryButtons;
    QList<QPushButton*> fieldButtons;
    QList<QPushButton*> fieldCommands; // enabled while a category is selected
    bool showing = false;              // the editors are being set to show a field
    bool editing = false;              // an edit from the editors is being pushed
    bool mirroring = false;            // the lists are being set to show the selection
};

// A field name as the name box shows it (one LF per line break) in the form
// the document keeps it: lines broken by CR LF, which the page breaks at.
QString StoredFieldName(const QString& shown);
