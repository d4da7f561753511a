#pragma once
// The tab "Felder": the category list, the field list of the selected
// category and the selected field's properties. A view of the document: the
// lists are models over it, and the editors show the selected field.

#include <QList>
#include <QWidget>

class QDoubleSpinBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeView;
class CategoryListModel;
class Document;
class FieldListModel;

class FieldsTab : public QWidget {
    Q_OBJECT
  public:
    FieldsTab(Document& document, QWidget* parent = nullptr);

    int SelectedCategory() const;
    // The first selected field, -1 for none.
    int SelectedField() const;
    // Every selected field, in list order.
    QList<int> SelectedFields() const;
    void SelectCategory(int row);

    // Lists the selected category's fields and enables the field commands.
    void ListProds();
    // Shows the selected field in the editors, or disables them.
    void ListView1Click();

    // While set, a change of the category selection does not list its fields
    // (a file being loaded, an entry being moved).
    bool donotupdate = false;

    CategoryListModel* Categories() const { return categories; }

  signals:
    // The category list changed or another category was selected: the window
    // marks the document changed.
    void categoryListChanged();

  private:
    void ListView2Change();

    Document& doc;
    CategoryListModel* categories;
    FieldListModel* fields;
    QTreeView* ListView2;
    QTreeView* ListView1;
    QPlainTextEdit* ProdNameEd;
    QRadioButton* TextCheck;
    QRadioButton* CheckCheck;
    QRadioButton* RadioCheck;
    QDoubleSpinBox* BreitFeldEd;
    QDoubleSpinBox* HochFeldEd;
    QList<QPushButton*> fieldCommands; // enabled while a category is selected
};

// The tab "Voreinstellungen": width and height given to new fields.
class PresetsTab : public QWidget {
    Q_OBJECT
  public:
    explicit PresetsTab(QWidget* parent = nullptr);
    double NewFieldWidth() const;
    double NewFieldHeight() const;

  private:
    QDoubleSpinBox* BreitDefEd;
    QDoubleSpinBox* HochDefEd;
};
