#include "TranslateFUnit.h"

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

TTranslateForm::TTranslateForm(QWidget* parent) : TTranslateForm(ProgramTranslator(), parent) {}

TTranslateForm::TTranslateForm(Translator& translator, QWidget* parent)
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
    BackBtn = AddButton(row1, panel1, "BackBtn", QStringLiteral("Zurück..."));
    connect(BackBtn, &QPushButton::clicked, this, &QDialog::accept);
    row1->addStretch(1);
    column->addWidget(panel1);

    auto* panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFixedHeight(40);
    auto* row2 = new QHBoxLayout(panel2);
    row2->setContentsMargins(0, 0, 0, 0);
    FilterEdit = new QLineEdit(panel2);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setAccessibleName(QStringLiteral("Suchen"));
    row2->addWidget(FilterEdit);
    FilterBtn = AddButton(row2, panel2, "FilterBtn", QStringLiteral("Suchen"));
    DeleteRowBtn = AddButton(row2, panel2, "DeleteRowBtn", QStringLiteral("Zeile löchen"));
    FixedColCheck = new QCheckBox(QStringLiteral("Erste Spalte fixieren"), panel2);
    FixedColCheck->setObjectName(QStringLiteral("FixedColCheck"));
    row2->addWidget(FixedColCheck);
    row2->addStretch(1);
    column->addWidget(panel2);

    grid = new TranslationGridModel(translator, this);
    StringGrid1 = new TranslationGridView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Übersetzen"));
    StringGrid1->SetGridModel(grid);
    column->addWidget(StringGrid1, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    column->addWidget(StatusBar1);

    connect(FilterBtn, &QPushButton::clicked, this, &TTranslateForm::FilterBtnClick);
    connect(FilterEdit, &QLineEdit::returnPressed, this, &TTranslateForm::FilterBtnClick);
    connect(DeleteRowBtn, &QPushButton::clicked, this, &TTranslateForm::DeleteRowBtnClick);
    connect(FixedColCheck, &QCheckBox::toggled, this, &TTranslateForm::FixedColCheckClick);
    connect(StringGrid1, &TranslationGridView::deleteRowRequested, this,
            &TTranslateForm::DeleteRowBtnClick);
    // A found heading stays marked until another cell becomes current.
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { grid->MarkHeading(-1); });
}

void TTranslateForm::FillStringGrid() {
    grid->FillStringGrid();
}

void TTranslateForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return; // a restored window, not an opening
    const QModelIndex former = StringGrid1->currentIndex();
    const int row = former.isValid() ? former.row() : 0;
    const int column = former.isValid() ? former.column() : 0;
    FillStringGrid();
    if (grid->rowCount() > 0)
        StringGrid1->setCurrentIndex(grid->index(std::min(row, grid->rowCount() - 1), column));
    StringGrid1->setFocus();
}

void TTranslateForm::keyPressEvent(QKeyEvent* event) {
    // Escape presses the window's cancel button, which is the delete button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        DeleteRowBtnClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

int TTranslateForm::Ask(int icon, const QString& title, const QString& text, int buttons) {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, text,
                    static_cast<QMessageBox::StandardButtons>(buttons), this);
    const int answer = box.exec();
    grid->SyncRowCount(); // the lookups of the box's texts may have appended rows
    return answer;
}

void TTranslateForm::ShowFound(int gridRow, int column) {
    foundRow = gridRow;
    foundColumn = column;
    if (gridRow == 0) {
        // A heading is no cell that can be selected: it is marked instead, and
        // the view keeps no current cell, so that row 0 is the current row
        // until the user moves to a cell.
        StringGrid1->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        grid->MarkHeading(column);
        StringGrid1->ScrollToTopLeft(-1, column);
        return;
    }
    const QModelIndex cell = grid->index(gridRow - 1, column);
    StringGrid1->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    grid->MarkHeading(-1);
    StringGrid1->ScrollToTopLeft(gridRow - 1, column);
}

void TTranslateForm::FilterBtnClick() {
    const QString wanted = FoldAsciiLetters(FilterEdit->text());
    if (wanted.isEmpty()) return;
    for (int r = 0; r < grid->GridRowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (!FoldAsciiLetters(grid->GridCell(r, c)).contains(wanted)) continue;
            ShowFound(r, c);
            QString title, text;
            GetMessageText(26, title, translator);
            GetMessageText(27, text, translator);
            if (Ask(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No) !=
                QMessageBox::Yes)
                return;
        }
    }
}

void TTranslateForm::DeleteRowBtnClick() {
    // Without a current cell the current row is the heading row 0.
    const QModelIndex current = StringGrid1->currentIndex();
    const int r = current.isValid() ? current.row() + 1 : 0;
    const int column = current.isValid() ? current.column() : 0;
    const int heading = grid->MarkedHeading();
    if (r >= 1 && r <= translator.RowCount()) {
        QString title;
        GetMessageText(28, title, translator);
        const int answer = Ask(QMessageBox::Question, title, translator.Cell(r - 1, 0),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes) translator.DeleteTranslationRow(r - 1);
    }
    translator.SaveTranslation();
    FillStringGrid();
    if (r == 0 && heading >= 0)
        grid->MarkHeading(heading); // the found heading stays the current row
    else if (r >= 1 && r <= grid->GridRowCount() - 1)
        StringGrid1->setCurrentIndex(grid->index(r - 1, column));
}

void TTranslateForm::FixedColCheckClick() {
    StringGrid1->SetFirstColumnFixed(FixedColCheck->isChecked());
}
