#pragma once
// The translation editor window: the whole translation table as a grid of 20
// columns, edited in place and saved at every keystroke, with a search over all
// cells and the deletion of rows.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QStatusBar;
class TranslationGridModel;
class TranslationGridView;
class Translator;

class TranslationEditor : public QDialog {
    Q_OBJECT
  public:
    explicit TranslationEditor(QWidget* parent = nullptr);
    explicit TranslationEditor(Translator& translator, QWidget* parent = nullptr);

    // Shows the table as it is now; done at every opening.
    void FillStringGrid();
    // Searches every cell, heading row first, asking after each find whether to go on.
    void searchNext();
    // Asks whether to delete the current row; saves and refills in every case.
    void deleteRow();
    void toggleFixedColumn();

    // Where the last search stopped: grid row (0 the heading row) and column;
    // -1, -1 before any find.
    int FoundRow() const { return foundRow; }
    int FoundColumn() const { return foundColumn; }

    QPushButton* backButton;
    QLineEdit* searchText;
    QPushButton* searchButton;
    QPushButton* deleteRowButton;
    QCheckBox* fixFirstColumnCheck;
    TranslationGridView* gridView;
    TranslationGridModel* grid;
    QStatusBar* statusLine;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ShowFound(int gridRow, int column);
    int Ask(int icon, const QString& title, const QString& text, int buttons);

    Translator& translator;
    int foundRow = -1;
    int foundColumn = -1;
};
