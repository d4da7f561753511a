// The commands of the tab "Felder": each reads the selection, asks what it has
// to ask, and pushes one undoable edit; the lists follow the document.
#include "FieldsTab.h"

#include "CategoryCommands.h"
#include "CategoryDialog.h"
#include "CategoryListModel.h"
#include "FieldCommands.h"
#include "FieldPageView.h"
#include "FieldListModel.h"
#include "MessageTable.h"
#include "MoveFieldsDialog.h"
#include "PresetsTab.h"
#include "ProgramMessages.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QTreeView>
#include <QUndoStack>

void FieldsTab::Push(QUndoCommand* command) {
    editing = true;
    doc.undoStack()->push(command);
    editing = false;
}

// Categories.

void FieldsTab::newCategory() {
    const int row = doc.CategoryCount();
    Push(new AddCategory(doc, row, QString()));
    ListFields();
    // The name is typed straight into the list; the selection stays where it was.
    const QModelIndex item = categories->index(row);
    categoryList->scrollTo(item);
    categoryList->setFocus();
    categoryList->edit(item);
}

void FieldsTab::RenameInPlace(int row, const QString& name) {
    // A committed name counts as a change even when it stayed.
    if (doc.CategoryName(row) != name)
        Push(new RenameCategory(doc, row, name));
    else
        doc.MarkChanged();
}

void FieldsTab::editCategory() {
    const int cat = SelectedCategory();
    CategoryDialog* dialog = categoryEditor;
    if (cat < 0) return;
    dialog->Fill(doc.CategoryName(cat), doc.CategoryRecordValues(cat));
    if (dialog->exec() != QDialog::Accepted) return;
    // Name and record change together, as one step.
    auto* group = new EditGroup(doc, QStringLiteral("Kategorie bearbeiten"));
    if (dialog->Name() != doc.CategoryName(cat))
        new RenameCategory(doc, cat, dialog->Name(), group);
    const CategoryValues values = dialog->Values();
    if (doc.CategoryRecordValues(cat) != std::optional<CategoryValues>(values))
        new SetCategoryRecord(doc, cat, values, group);
    if (group->childCount() > 0) {
        Push(group); // the list reports the changed item (CategorySelected)
        return;
    }
    delete group;
    // OK gives the item its record anew even when nothing changed, and the list
    // reports that as any change: the field list is refilled, the document marked.
    CategorySelected();
}

void FieldsTab::deleteCategory() {
    const int cat = SelectedCategory();
    if (cat < 0) return;
    const QString question =
        GetMessageText(Message::DeleteCategoryQuestion) + QLatin1Char('"') + doc.CategoryName(cat) + QLatin1Char('"');
    if (AskYesNoCancel(this, GetMessageText(Message::DeleteCategory), question) != Answer::Yes) return;
    Push(new RemoveCategory(doc, cat));
    SelectCategory(-1);
}

void FieldsTab::MoveSelectedCategory(int step) {
    holdFieldList = true;
    const int cat = SelectedCategory();
    const int to = cat + step;
    if (cat >= 0 && to >= 0 && to < doc.CategoryCount()) {
        Push(new MoveCategory(doc, cat, to));
        SelectCategory(to);
    }
    holdFieldList = false;
}

void FieldsTab::moveCategoryUp() {
    MoveSelectedCategory(-1);
}

void FieldsTab::moveCategoryDown() {
    MoveSelectedCategory(1);
}

// Fields.

void FieldsTab::NewField(int kind) {
    const int cat = SelectedCategory();
    if (cat < 0) return;
    const double width = presets ? presets->NewFieldWidth() : 6;
    const double height = presets ? presets->NewFieldHeight() : 1.25;
    const int row = doc.FieldCount(cat);
    Push(new AddField(
        doc, cat, row,
        TakenField::Make(static_cast<FieldKind>(kind), GetMessageText(Message::NewField), width, height)));
    ListFields();
    SelectFields({row});
    fieldList->scrollTo(fields->index(row, 0));
    nameEditor->selectAll();
    nameEditor->setFocus();
}

void FieldsTab::newTextField() {
    NewField(fkText);
}

void FieldsTab::newCheckBox() {
    NewField(fkCheckBox);
}

void FieldsTab::newChoiceField() {
    NewField(fkSingleChoice);
}

void FieldsTab::deleteFields() {
    const int cat = SelectedCategory();
    const QList<int> rows = SelectedFields();
    if (cat < 0 || rows.isEmpty()) return;
    Push(new RemoveFields(doc, cat, rows));
    ListFields();
}

void FieldsTab::MoveSelectedField(int step) {
    holdFieldList = true;
    const int cat = SelectedCategory();
    const int f = SelectedField();
    const int to = f + step;
    // Only the first selected field moves; it stays selected with the others.
    if (cat >= 0 && f >= 0 && to >= 0 && to < doc.FieldCount(cat))
        Push(new MoveField(doc, cat, f, to));
    holdFieldList = false;
}

void FieldsTab::moveFieldsUp() {
    MoveSelectedField(-1);
}

void FieldsTab::moveFieldsDown() {
    MoveSelectedField(1);
}

void FieldsTab::moveFieldsToCategory() {
    const int cat = SelectedCategory();
    const QList<int> rows = SelectedFields();
    MoveFieldsDialog* dialog = moveChooser;
    if (cat < 0 || rows.isEmpty()) return;
    dialog->categoryBox->clear();
    for (int i = 0; i < doc.CategoryCount(); ++i)
        if (i != cat) dialog->categoryBox->addItem(doc.CategoryName(i));
    dialog->categoryBox->setCurrentIndex(dialog->categoryBox->count() > 0 ? 0 : -1);
    if (dialog->exec() != QDialog::Accepted) return;
    const int chosen = dialog->categoryBox->currentIndex();
    if (chosen < 0) return;
    // The chosen entry's place among the other categories (names need not be unique).
    const int target = chosen < cat ? chosen : chosen + 1;
    if (target >= doc.CategoryCount()) return;
    Push(new MoveFieldsToCategory(doc, cat, rows, target));
    ListFields();
}

// Properties of the selected field. Each writes only the value the user edited.

void FieldsTab::NameEdited() {
    if (showing) return;
    const int cat = SelectedCategory();
    const int f = SelectedField();
    if (!doc.FieldAt(cat, f)) return;
    FieldValues values = doc.FieldValuesAt(cat, f);
    values.name = StoredFieldName(nameEditor->toPlainText());
    if (values != doc.FieldValuesAt(cat, f))
        Push(new ChangeFieldValues(doc, cat, f, values, FieldPart::Name));
    else
        doc.MarkChanged(); // an edit that changed nothing still counts
}

void FieldsTab::KindChosen(int kind) {
    if (showing) return;
    const int cat = SelectedCategory();
    const int f = SelectedField();
    if (!doc.FieldAt(cat, f)) return;
    FieldValues values = doc.FieldValuesAt(cat, f);
    values.kind = kind;
    if (values != doc.FieldValuesAt(cat, f))
        Push(new ChangeFieldValues(doc, cat, f, values, FieldPart::Kind));
    else
        doc.MarkChanged(); // an edit that changed nothing still counts
}

void FieldsTab::WidthEdited(bool fromDefaultBox) {
    SizeChange(fromDefaultBox, &FieldValues::width, widthBox->value(), FieldPart::Width);
}

void FieldsTab::HeightEdited(bool fromDefaultBox) {
    SizeChange(fromDefaultBox, &FieldValues::height, heightBox->value(), FieldPart::Height);
}

void FieldsTab::SizeChange(bool fromDefaultBox, double FieldValues::*size, double value,
                           FieldPart part) {
    if (showing) return;
    const int cat = SelectedCategory();
    const int f = SelectedField();
    if (!doc.FieldAt(cat, f)) return;
    // A default box changes no field, but still counts as a change while a field is shown.
    if (!fromDefaultBox) {
        FieldValues values = doc.FieldValuesAt(cat, f);
        values.*size = value;
        if (values != doc.FieldValuesAt(cat, f)) {
            Push(new ChangeFieldValues(doc, cat, f, values, part));
            return;
        }
    }
    doc.MarkChanged();
}

// The page beside the lists.

namespace {
// Wide enough for the field buttons and the kind choices beside each other.
constexpr int kListsMinimumWidth = 470;
} // namespace

void FieldsTab::AttachPageView(FieldPageView* view) {
    pageView = view;
    splitter->addWidget(view);
    // The lists keep room for their buttons and editors; the page takes every
    // pixel beyond that, also when the window grows.
    listsPane->setMinimumWidth(kListsMinimumWidth);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    connect(view, &FieldPageView::fieldPicked, this, &FieldsTab::PickField);
    connect(view, &FieldPageView::categoryPicked, this, &FieldsTab::PickCategory);
    connect(view, &FieldPageView::categoryOpened, this, &FieldsTab::OpenCategory);
}

void FieldsTab::ShowPageView(bool shown) {
    if (pageView) pageView->setVisible(shown);
}

void FieldsTab::PickField(int category, int field) {
    if (SelectedCategory() != category) SelectCategory(category);
    SelectFields({field});
    fieldList->scrollTo(fields->index(field, 0));
}

void FieldsTab::PickCategory(int category) {
    if (SelectedCategory() != category) SelectCategory(category);
    SelectFields({});
    categoryList->scrollTo(categories->index(category));
}

void FieldsTab::OpenCategory(int category) {
    PickCategory(category);
    if (SelectedCategory() == category) editCategory();
}
