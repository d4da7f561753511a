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
    if (!kats.Reserve(static_cast<std::uint32_t>(n))) throw std::bad_alloc();
    items.reserve(static_cast<std::size_t>(n));
}

int FormDocument::AddCategory(const QString& name) {
    auto* fields = new FieldArray(&aprod);
    KatRef* slot = kats.Add();
    if (!slot) {
        delete fields;
        throw std::bad_alloc();
    }
    *slot = fields;
    items.push_back(Item{name, nullptr});
    return CategoryCount() - 1;
}

void FormDocument::DeleteCategory(int i) {
    if (i < 0 || i >= CategoryCount()) return;
    kats.GetObject(i);
    DestroyAKat();
    kats.Delete(i);
    FreeCategoryRecord(items[static_cast<std::size_t>(i)].record);
    items.erase(items.begin() + i);
}

void FormDocument::SwapCategories(int i, int j) {
    if (i < 0 || j < 0 || i >= CategoryCount() || j >= CategoryCount()) return;
    kats.Change(i, j);
    std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
}

FieldRecord* FormDocument::AddBareField(int category) {
    FieldArray* fields = Fields(category);
    FieldRecord* field = fields->Add();
    if (!field) throw std::bad_alloc();
    field->name = NewText(QString());
    field->descr = NewText(QString());
    field->pictures = new TDynaArray<ImageEntry>(&abild);
    field->variants = new TDynaArray<VariantRow>(&avariante);
    return field;
}

FieldRecord* FormDocument::AddField(int category, FieldKind kind, const QString& name, double width,
                                    double height) {
    FieldRecord* field = AddBareField(category);
    ReplaceText(field->name, name);
    field->kind = kind;
    field->width = width;
    field->height = height;
    field->pricecols = 0;
    AddVariantRow(*this, *field);
    Fields(category)->GetObject(static_cast<std::int32_t>(Fields(category)->count - 1));
    return aprod;
}

void FormDocument::DeleteField(int category, int f) {
    FieldArray* fields = Fields(category);
    if (f < 0 || static_cast<std::uint32_t>(f) >= fields->count) return;
    fields->GetObject(f);
    DestroyAProd();
    fields->Delete(f);
}

void FormDocument::MoveFieldToCategory(int from, int f, int to) {
    FieldArray* source = Fields(from);
    FieldArray* target = Fields(to);
    if (f < 0 || static_cast<std::uint32_t>(f) >= source->count || source == target) return;
    const FieldRecord moved = *source->GetObject(f);
    FieldRecord* slot = target->Add();
    if (!slot) return; // the field stays where it was
    *slot = moved;
    source->Delete(f);
}

void FormDocument::DestroyAProd() {
    if (!aprod) return;
    FieldRecord* field = aprod;
    FreeText(field->name);
    FreeText(field->descr);
    if (field->pictures) {
        field->pictures->First();
        while (field->pictures->WhileNext())
            FreeText(abild->filename);
        delete field->pictures;
        field->pictures = nullptr;
    }
    if (field->variants) {
        field->variants->First();
        while (field->variants->WhileNext()) {
            TDynaArray<VariantCell>* cells = avariante->cells;
            if (!cells) continue;
            cells->First();
            while (cells->WhileNext())
                FreeText(aprop->text);
            delete cells;
            avariante->cells = nullptr;
        }
        delete field->variants;
        field->variants = nullptr;
    }
}

void FormDocument::DestroyAKat() {
    if (!akat || !*akat) return;
    FieldArray* fields = *akat;
    fields->First();
    while (fields->WhileNext())
        DestroyAProd();
    delete fields;
    *akat = nullptr;
}

void FormDocument::NewAll() {
    kats.First();
    while (kats.WhileNext())
        DestroyAKat();
    kats.Clear();
    for (Item& item : items)
        FreeCategoryRecord(item.record);
    items.clear();
}

VariantRow* AddVariantRow(FormDocument& doc, FieldRecord& field) {
    VariantRow* row = field.variants->Add();
    if (!row) throw std::bad_alloc();
    row->cells = new TDynaArray<VariantCell>(&doc.aprop);
    return row;
}

VariantCell* AddVariantCell(FormDocument&, VariantRow& row, const QString& text) {
    VariantCell* cell = row.cells->Add();
    if (!cell) throw std::bad_alloc();
    cell->text = NewText(text);
    return cell;
}

ImageEntry* AddImageEntry(FormDocument&, FieldRecord& field, double number,
                          const QString& filename) {
    ImageEntry* entry = field.pictures->Add();
    if (!entry) throw std::bad_alloc();
    entry->number = number;
    entry->filename = NewText(filename);
    return entry;
}
