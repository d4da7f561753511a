#include "TranslationGridView.h"

#include "TranslationGridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <limits>

namespace {
constexpr int kColumnWidth = 250;

// Hands every change of an edited cell's text to the model at once; closing the
// editor writes nothing more unless the text still differs from the table.
class KeystrokeDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        // A cell holds texts of any length: the editor must not cut them.
        editor->setMaxLength(std::numeric_limits<int>::max());
        auto* model =
            qobject_cast<TranslationGridModel*>(const_cast<QAbstractItemModel*>(index.model()));
        const QPersistentModelIndex cell(index);
        connect(editor, &QLineEdit::textEdited, editor, [model, cell](const QString& text) {
            if (model && cell.isValid())
                model->StringGrid1SetEditText(cell.column(), cell.row() + 1, text);
        });
        return editor;
    }

    // The view hands a changed cell back to its open editor; the editor's own
    // keystroke must not reset it (and its cursor).
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (line->text() != text) line->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        const QString text = static_cast<QLineEdit*>(editor)->text();
        if (text != index.data(Qt::EditRole).toString()) model->setData(index, text);
    }

    // Escape in an edited cell ends the edit, keeping what was typed, and then
    // goes on to the window, whose cancel key it is.
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                emit commitData(editor);
                emit closeEditor(editor, NoHint);
                key->ignore();
                return false;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};
} // namespace

TranslationGridView::TranslationGridView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new KeystrokeDelegate(this));
    horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->hide(); // no fixed column of row numbers
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollMode(ScrollPerPixel);
    setSelectionBehavior(SelectItems);
    setSelectionMode(ContiguousSelection);
    setShowGrid(true);
    setWordWrap(false);
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed | SelectedClicked);
}

void TranslationGridView::SetGridModel(TranslationGridModel* model) {
    gridModel = model;
    setModel(model);
}

void TranslationGridView::SetFirstColumnFixed(bool fixed) {
    if (gridModel) gridModel->SetFirstColumnFixed(fixed);
    if (!fixed) {
        if (fixedColumn) fixedColumn->hide();
        return;
    }
    if (!fixedColumn) {
        fixedColumn = new QTableView(this);
        fixedColumn->setObjectName(QStringLiteral("FixedColumn"));
        fixedColumn->setModel(model());
        fixedColumn->setSelectionModel(selectionModel());
        fixedColumn->setFocusPolicy(Qt::NoFocus);
        fixedColumn->setEditTriggers(NoEditTriggers);
        fixedColumn->verticalHeader()->hide();
        fixedColumn->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        fixedColumn->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
        fixedColumn->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        fixedColumn->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fixedColumn->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fixedColumn->setWordWrap(false);
        fixedColumn->setStyleSheet(QStringLiteral("QTableView { border: none; }"));
        viewport()->stackUnder(fixedColumn);
        connect(fixedColumn->verticalScrollBar(), &QAbstractSlider::valueChanged,
                verticalScrollBar(), &QAbstractSlider::setValue);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged,
                fixedColumn->verticalScrollBar(), &QAbstractSlider::setValue);
        connect(model(), &QAbstractItemModel::modelReset, this,
                &TranslationGridView::HideScrollableColumns);
        HideScrollableColumns();
    }
    fixedColumn->show();
    PlaceFixedColumn();
    fixedColumn->verticalScrollBar()->setValue(verticalScrollBar()->value());
    // The cell left of the fixed column's edge comes out from under it.
    if (currentIndex().isValid()) scrollTo(currentIndex());
}

void TranslationGridView::HideScrollableColumns() {
    if (!fixedColumn || !model()) return;
    for (int c = 1; c < model()->columnCount(); ++c)
        fixedColumn->setColumnHidden(c, true);
    fixedColumn->setColumnWidth(0, columnWidth(0));
}

int TranslationGridView::FixedWidth() const {
    return FirstColumnFixed() ? columnWidth(0) : 0;
}

void TranslationGridView::PlaceFixedColumn() {
    if (!FirstColumnFixed()) return;
    fixedColumn->setColumnWidth(0, columnWidth(0));
    fixedColumn->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                             viewport()->height() + horizontalHeader()->height());
}

void TranslationGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    PlaceFixedColumn();
}

void TranslationGridView::updateGeometries() {
    QTableView::updateGeometries();
    PlaceFixedColumn();
}

void TranslationGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    if (!FirstColumnFixed() || !index.isValid() || index.column() == 0) return;
    const int hidden = FixedWidth() - visualRect(index).left();
    if (hidden > 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
}

void TranslationGridView::ScrollToTopLeft(int row, int column) {
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(row < 0 ? 0 : row);
    int x = column > 0 ? horizontalHeader()->sectionPosition(column) - FixedWidth() : 0;
    horizontalScrollBar()->setValue(std::max(0, x));
}

void TranslationGridView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        state() != EditingState) {
        event->accept();
        emit deleteRowRequested();
        return;
    }
    // Escape belongs to the window: it presses the cancel button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}
