#pragma once
// The translation editor's grid view: cells edited in place with every keystroke
// handed to the model, the Delete key outside editing asking for a row's
// deletion, Escape (also in an edited cell, which it ends) left to the window,
// and an optional fixed first column that stays in view.

#include <QTableView>

class TranslationGridModel;

class TranslationGridView : public QTableView {
    Q_OBJECT
  public:
    explicit TranslationGridView(QWidget* parent = nullptr);

    void SetGridModel(TranslationGridModel* model);
    TranslationGridModel* GridModel() const { return gridModel; }

    // Column 0 stays in view when scrolled sideways, and cannot be edited.
    void SetFirstColumnFixed(bool fixed);
    bool FirstColumnFixed() const { return fixedColumn && fixedColumn->isVisible(); }
    // The view that shows the fixed column; null before it was first fixed.
    QTableView* FixedColumnView() const { return fixedColumn; }

    // Scrolls so that the row is the top visible row (-1 for the heading row:
    // the top of the table) and the column the leftmost scrollable column.
    void ScrollToTopLeft(int row, int column);

  signals:
    void deleteRowRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;

  private:
    int FixedWidth() const;
    void PlaceFixedColumn();
    void HideScrollableColumns();

    TranslationGridModel* gridModel = nullptr;
    QTableView* fixedColumn = nullptr;
};
