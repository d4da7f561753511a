#include "FormDocument.h"

#include <new>
#include <utility>

FormDocument::FormDocument() = default;

FormDocument::~FormDocument() {
    NewAll();
}

void FormDocument::SetCategoryName(int i, const QString& name) {
    items.at(static_cast<std::size_t>(i)).name = name;
}

void FormDocument::SetRecord(int i, CategoryRecord* record) {
    Item& item = items.at(static_cast<std::size_t>(i));
    if (item.record == record) return;
    FreeCategoryRecord(item.record);
    item.record = record;
}

void FormDocument::ReserveCategories(int n) {
    if (n <= 0) return;
    if (!fieldArrays.Reserve(static_cast<std::uint32_t>(n))) throw std::bad_alloc();
    items.reserve(static_cast<std::size_t>(n));
}

void FormDocument::ReserveFields(int category, int n) {
    if (!ValidCategory(category) || n <= 0) return;
    if (!MutableFields(category)->ReserveExact(static_cast<std::uint32_t>(n)))
        throw std::bad_alloc();
}

void FormDocument::AttachField(FieldRecord& field, bool attach) {
    if (field.pictures) field.pictures->SetCursorVariable(attach ? &pictureCursor : nullptr);
    if (!field.variants) return;
    field.variants->SetCursorVariable(attach ? &variantCursor : nullptr);
    for (std::uint32_t r = 0; r < field.variants->Count(); ++r)
        if (RecordArray<VariantCell>* cells =
                field.variants->at(static_cast<std::int32_t>(r))->cells)
            cells->SetCursorVariable(attach ? &cellCursor : nullptr);
}

void FormDocument::AttachFields(FieldArray& fields, bool attach) {
    fields.SetCursorVariable(attach ? &fieldCursor : nullptr);
    for (std::uint32_t i = 0; i < fields.Count(); ++i)
        AttachField(*fields.at(static_cast<std::int32_t>(i)), attach);
}

void FormDocument::InsertCategory(int index, TakenCategory category) {
    if (index < 0 || index > CategoryCount() || category.empty()) return;
    FieldArrayRef* slot = fieldArrays.Insert(index);
    if (!slot) throw std::bad_alloc();
    QString name;
    CategoryRecord* record = nullptr;
    FieldArray* fields = nullptr;
    category.Release(name, record, fields);
    *slot = fields;
    AttachFields(*fields, true);
    items.insert(items.begin() + index, Item{std::move(name), record});
}

TakenCategory FormDocument::TakeCategory(int index) {
    if (!ValidCategory(index)) return {};
    FieldArray* fields = *fieldArrays.at(index);
    fieldArrays.Delete(index);
    Item item = std::move(items[static_cast<std::size_t>(index)]);
    items.erase(items.begin() + index);
    AttachFields(*fields, false);
    return TakenCategory(std::move(item.name), item.record, fields);
}

void FormDocument::MoveCategory(int from, int to) {
    if (!ValidCategory(from) || !ValidCategory(to) || from == to) return;
    const int step = to > from ? 1 : -1;
    for (int i = from; i != to; i += step)
        SwapCategories(i, i + step);
}

int FormDocument::FieldCount(int category) const {
    return ValidCategory(category) ? static_cast<int>(Fields(category)->Count()) : 0;
}

const FieldRecord* FormDocument::FieldAt(int category, int f) const {
    if (f < 0 || f >= FieldCount(category)) return nullptr;
    return Fields(category)->at(f);
}

FieldRecord* FormDocument::FieldAt(int category, int f) {
    if (f < 0 || f >= FieldCount(category)) return nullptr;
    return MutableFields(category)->at(f);
}

void FormDocument::InsertField(int category, int index, TakenField field) {
    if (!ValidCategory(category) || index < 0 || index > FieldCount(category) || field.empty())
        return;
    FieldRecord* slot = MutableFields(category)->Insert(index);
    if (!slot) throw std::bad_alloc();
    *slot = field.Release();
    AttachField(*slot, true);
}

TakenField FormDocument::TakeField(int category, int f) {
    FieldRecord* field = FieldAt(category, f);
    if (!field) return {};
    FieldRecord taken = *field;
    MutableFields(category)->Delete(f);
    AttachField(taken, false);
    return TakenField(taken);
}

void FormDocument::MoveField(int category, int from, int to) {
    const int n = FieldCount(category);
    if (from < 0 || to < 0 || from >= n || to >= n || from == to) return;
    const int step = to > from ? 1 : -1;
    for (int i = from; i != to; i += step)
        MutableFields(category)->Change(i, i + step);
}

void FormDocument::SwapCategories(int i, int j) {
    if (i < 0 || j < 0 || i >= CategoryCount() || j >= CategoryCount()) return;
    fieldArrays.Change(i, j);
    std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
}

void FormDocument::ReleaseFieldAtCursor() {
    if (fieldCursor) ReleaseFieldContents(*fieldCursor);
}

void FormDocument::ReleaseCategoryAtCursor() {
    if (!categoryCursor || !*categoryCursor) return;
    FieldArray* fields = *categoryCursor;
    fields->First();
    while (fields->WhileNext())
        ReleaseFieldAtCursor();
    delete fields;
    *categoryCursor = nullptr;
}

void FormDocument::NewAll() {
    fieldArrays.First();
    while (fieldArrays.WhileNext())
        ReleaseCategoryAtCursor();
    fieldArrays.Clear();
    for (Item& item : items)
        FreeCategoryRecord(item.record);
    items.clear();
}
