#include "TranslationEditor.h"

#include "MessageTable.h"
#include "TranslationGridModel.h"
#include "TranslationGridView.h"
#include "Translator.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
// Folds a to z to A to Z and nothing else: an umlaut keeps its case.
QString FoldAsciiLetters(const QString& text) {
    QString folded = text;
    for (QChar& c : folded)
        if (c.unicode() >= u'a' && c.unicode() <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
    return folded;
}

QPushButton* AddButton(QBoxLayout* row, QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Return in the search box searches; it never closes the window or deletes a row.
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}
} // namespace

TranslationEditor::TranslationEditor(QWidget* parent) : TranslationEditor(ProgramTranslator(), parent) {}

TranslationEditor::TranslationEditor(Translator& translator, QWidget* parent)
    : QDialog(parent), translator(translator) {
    setObjectName(QStringLiteral("TranslateForm"));
    setWindowTitle(QStringLiteral("Übersetzen"));
    resize(705, 453);
    auto* column = new QVBoxLayout(this);

    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(35);
    auto* row1 = new QHBoxLayout(panel1);
    row1->setContentsMargins(0, 0, 0, 0);
    backButton = AddButton(row1, panel1, "BackBtn", QStringLiteral("Zurück..."));
    connect(backButton, &QPushButton::clicked, this, &QDialog::accept);
    row1->addStretch(1);
    column->addWidget(panel1);

    auto* panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFixedHeight(40);
    auto* row2 = new QHBoxLayout(panel2);
    row2->setContentsMargins(0, 0, 0, 0);
    searchText = new QLineEdit(panel2);
    searchText->setObjectName(QStringLiteral("FilterEdit"));
    searchText->setAccessibleName(QStringLiteral("Suchen"));
    row2->addWidget(searchText);
    searchButton = AddButton(row2, panel2, "FilterBtn", QStringLiteral("Suchen"));
    deleteRowButton = AddButton(row2, panel2, "DeleteRowBtn", QStringLiteral("Zeile löchen"));
    fixFirstColumnCheck = new QCheckBox(QStringLiteral("Erste Spalte fixieren"), panel2);
    fixFirstColumnCheck->setObjectName(QStringLiteral("FixedColCheck"));
    row2->addWidget(fixFirstColumnCheck);
    row2->addStretch(1);
    column->addWidget(panel2);

    grid = new TranslationGridModel(translator, this);
    gridView = new TranslationGridView(this);
    gridView->setObjectName(QStringLiteral("StringGrid1"));
    gridView->setAccessibleName(QStringLiteral("Übersetzen"));
    gridView->SetGridModel(grid);
    column->addWidget(gridView, 1);

    statusLine = new QStatusBar(this);
    statusLine->setObjectName(QStringLiteral("StatusBar1"));
    column->addWidget(statusLine);

    connect(searchButton, &QPushButton::clicked, this, &TranslationEditor::searchNext);
    connect(searchText, &QLineEdit::returnPressed, this, &TranslationEditor::searchNext);
    connect(deleteRowButton, &QPushButton::clicked, this, &TranslationEditor::deleteRow);
    connect(fixFirstColumnCheck, &QCheckBox::toggled, this, &TranslationEditor::toggleFixedColumn);
    connect(gridView, &TranslationGridView::deleteRowRequested, this,
            &TranslationEditor::deleteRow);
    // A found heading stays marked until another cell becomes current.
    connect(gridView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { grid->MarkHeading(-1); });
}

void TranslationEditor::FillStringGrid() {
    grid->FillStringGrid();
}

void TranslationEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return; // a restored window, not an opening
    const QModelIndex former = gridView->currentIndex();
    const int row = former.isValid() ? former.row() : 0;
    const int column = former.isValid() ? former.column() : 0;
    FillStringGrid();
    if (grid->rowCount() > 0)
        gridView->setCurrentIndex(grid->index(std::min(row, grid->rowCount() - 1), column));
    gridView->setFocus();
}

void TranslationEditor::keyPressEvent(QKeyEvent* event) {
    // Escape presses the window's cancel button, which is the delete button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        deleteRow();
        return;
    }
    QDialog::keyPressEvent(event);
}

int TranslationEditor::Ask(int icon, const QString& title, const QString& text, int buttons) {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, text,
                    static_cast<QMessageBox::StandardButtons>(buttons), this);
    const int answer = box.exec();
    grid->SyncRowCount(); // the lookups of the box's texts may have appended rows
    return answer;
}

void TranslationEditor::ShowFound(int gridRow, int column) {
    foundRow = gridRow;
    foundColumn = column;
    if (gridRow == 0) {
        // A heading is no cell that can be selected: it is marked instead, and
        // the view keeps no current cell, so that row 0 is the current row
        // until the user moves to a cell.
        gridView->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        grid->MarkHeading(column);
        gridView->ScrollToTopLeft(-1, column);
        return;
    }
    const QModelIndex cell = grid->index(gridRow - 1, column);
    gridView->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    grid->MarkHeading(-1);
    gridView->ScrollToTopLeft(gridRow - 1, column);
}

void TranslationEditor::searchNext() {
    const QString wanted = FoldAsciiLetters(searchText->text());
    if (wanted.isEmpty()) return;
    for (int r = 0; r < grid->GridRowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (!FoldAsciiLetters(grid->GridCell(r, c)).contains(wanted)) continue;
            ShowFound(r, c);
            QString title, text;
            GetMessageText(Message::Search, title, translator);
            GetMessageText(Message::SearchAgain, text, translator);
            if (Ask(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No) !=
                QMessageBox::Yes)
                return;
        }
    }
}

void TranslationEditor::deleteRow() {
    // Without a current cell the current row is the heading row 0.
    const QModelIndex current = gridView->currentIndex();
    const int r = current.isValid() ? current.row() + 1 : 0;
    const int column = current.isValid() ? current.column() : 0;
    const int heading = grid->MarkedHeading();
    if (r >= 1 && r <= translator.RowCount()) {
        QString title;
        GetMessageText(Message::DeleteRowQuestion, title, translator);
        const int answer = Ask(QMessageBox::Question, title, translator.Cell(r - 1, 0),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes) translator.DeleteTranslationRow(r - 1);
    }
    translator.SaveTranslation();
    FillStringGrid();
    if (r == 0 && heading >= 0)
        grid->MarkHeading(heading); // the found heading stays the current row
    else if (r >= 1 && r <= grid->GridRowCount() - 1)
        gridView->setCurrentIndex(grid->index(r - 1, column));
}

void TranslationEditor::toggleFixedColumn() {
    gridView->SetFirstColumnFixed(fixFirstColumnCheck->isChecked());
}
