#include "Document.h"

#include <QUndoStack>
#include <cstring>

Document::Document(QObject* parent)
    : QObject(parent), content(std::make_unique<FormDocument>()), undo(new QUndoStack(this)),
      selected(new Selection(*this)) {
    // Undoing back to the saved state makes the document unchanged again.
    connect(undo, &QUndoStack::cleanChanged, this, &Document::AnnounceChangedState);
}

Document::~Document() {
    // The commands hold taken records; they go before the records' document.
    undo->clear();
}

void Document::Reset(std::unique_ptr<FormDocument> form, const LayoutSettings& layout) {
    emit aboutToBeReset();
    undo->clear();
    std::unique_ptr<FormDocument> former = std::exchange(content, std::move(form));
    if (!content) content = std::make_unique<FormDocument>();
    settings = layout;
    former.reset();
    emit reset();
    emit contentChanged();
}

void Document::NewAll() {
    emit aboutToBeReset();
    undo->clear();
    content->NewAll();
    emit reset();
    emit contentChanged();
}

std::optional<CategoryValues> Document::CategoryRecordValues(int i) const {
    if (i < 0 || i >= CategoryCount()) return std::nullopt;
    const CategoryRecord* r = content->Record(i);
    if (!r) return std::nullopt;
    return CategoryValues{ToQString(r->picfile), r->picwidth, ToQString(r->introtext), r->picbelow,
                          r->textbelowpic};
}

void Document::InsertCategory(int index, TakenCategory category) {
    if (index < 0 || index > CategoryCount() || category.empty()) return;
    emit categoryAboutToBeInserted(index);
    content->InsertCategory(index, std::move(category));
    emit categoryInserted(index);
    emit contentChanged();
}

TakenCategory Document::TakeCategory(int index) {
    if (index < 0 || index >= CategoryCount()) return {};
    emit categoryAboutToBeRemoved(index);
    TakenCategory taken = content->TakeCategory(index);
    emit categoryRemoved(index);
    emit contentChanged();
    return taken;
}

void Document::MoveCategory(int from, int to) {
    const int n = CategoryCount();
    if (from < 0 || to < 0 || from >= n || to >= n || from == to) return;
    emit categoryAboutToBeMoved(from, to);
    content->MoveCategory(from, to);
    emit categoryMoved(from, to);
    emit contentChanged();
}

void Document::SetCategoryName(int index, const QString& name) {
    if (index < 0 || index >= CategoryCount() || content->CategoryName(index) == name) return;
    content->SetCategoryName(index, name);
    emit categoryChanged(index);
    emit contentChanged();
}

void Document::SetCategoryRecord(int index, const std::optional<CategoryValues>& values) {
    if (index < 0 || index >= CategoryCount()) return;
    if (CategoryRecordValues(index) == values) return;
    CategoryRecord* record = nullptr;
    if (values)
        record = NewCategoryRecord(values->picfile, values->picwidth, values->introtext,
                                   values->picbelow, values->textbelowpic);
    content->SetRecord(index, record);
    emit categoryChanged(index);
    emit contentChanged();
}

FieldValues Document::FieldValuesAt(int category, int f) const {
    const FieldRecord* field = FieldAt(category, f);
    if (!field) return {};
    return FieldValues{ToQString(field->name), field->kind, field->width, field->height};
}

void Document::InsertField(int category, int index, TakenField field) {
    if (category < 0 || category >= CategoryCount() || index < 0 || index > FieldCount(category) ||
        field.empty())
        return;
    emit fieldAboutToBeInserted(category, index);
    content->InsertField(category, index, std::move(field));
    emit fieldInserted(category, index);
    emit contentChanged();
}

TakenField Document::TakeField(int category, int f) {
    if (!FieldAt(category, f)) return {};
    emit fieldAboutToBeRemoved(category, f);
    TakenField taken = content->TakeField(category, f);
    emit fieldRemoved(category, f);
    emit contentChanged();
    return taken;
}

void Document::MoveField(int category, int from, int to) {
    const int n = FieldCount(category);
    if (from < 0 || to < 0 || from >= n || to >= n || from == to) return;
    emit fieldAboutToBeMoved(category, from, to);
    content->MoveField(category, from, to);
    emit fieldMoved(category, from, to);
    emit contentChanged();
}

void Document::SetFieldValues(int category, int f, const FieldValues& values) {
    FieldRecord* field = content->FieldAt(category, f);
    if (!field) return;
    const FieldValues former = FieldValuesAt(category, f);
    // Bitwise comparison of the sizes: a value is only ever replaced by another.
    if (former.name == values.name && former.kind == values.kind &&
        std::memcmp(&former.width, &values.width, sizeof(double)) == 0 &&
        std::memcmp(&former.height, &values.height, sizeof(double)) == 0)
        return;
    if (former.name != values.name) ReplaceText(field->name, values.name);
    field->kind = values.kind;
    field->width = values.width;
    field->height = values.height;
    emit fieldChanged(category, f);
    emit contentChanged();
}

void Document::SetLayoutValue(int key, const LayoutValue& value) {
    if (!WriteLayoutValue(settings, key, value)) return;
    emit layoutValueChanged(key);
    emit contentChanged();
}

void Document::SetFileName(const QString& name) {
    if (fileName == name) return;
    fileName = name;
    emit fileNameChanged(fileName);
}

bool Document::IsChanged() const {
    return marked || !undo->isClean();
}

void Document::MarkChanged() {
    if (marksIgnored) return;
    marked = true;
    AnnounceChangedState();
}

void Document::MarkUnchanged() {
    marked = false;
    undo->setClean();
    AnnounceChangedState();
}

void Document::Undo() {
    if (!undo->canUndo()) return;
    const QUndoCommand* command = undo->command(undo->index() - 1);
    undo->undo();
    emit undone(command);
}

void Document::Redo() {
    if (!undo->canRedo()) return;
    const QUndoCommand* command = undo->command(undo->index());
    undo->redo();
    emit redone(command);
}

void Document::AnnounceChangedState() {
    if (announced == IsChanged()) return;
    announced = IsChanged();
    emit changedStateChanged(announced);
}

bool WouldChange(const Document& document, int key, const LayoutValue& value) {
    return WouldChange(document.layout(), key, value);
}
