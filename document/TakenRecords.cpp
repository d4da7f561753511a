#include "TakenRecords.h"

#include <new>
#include <utility>

void ReleaseFieldContents(FieldRecord& field) {
    FreeText(field.name);
    FreeText(field.descr);
    if (field.pictures) {
        for (std::uint32_t i = 0; i < field.pictures->Count(); ++i)
            FreeText(field.pictures->at(static_cast<std::int32_t>(i))->filename);
        delete field.pictures;
        field.pictures = nullptr;
    }
    if (field.variants) {
        for (std::uint32_t r = 0; r < field.variants->Count(); ++r) {
            VariantRow* row = field.variants->at(static_cast<std::int32_t>(r));
            if (!row->cells) continue;
            for (std::uint32_t c = 0; c < row->cells->Count(); ++c)
                FreeText(row->cells->at(static_cast<std::int32_t>(c))->text);
            delete row->cells;
            row->cells = nullptr;
        }
        delete field.variants;
        field.variants = nullptr;
    }
}

void ReleaseFieldArray(FieldArray*& fields) {
    if (!fields) return;
    for (std::uint32_t i = 0; i < fields->Count(); ++i)
        ReleaseFieldContents(*fields->at(static_cast<std::int32_t>(i)));
    delete fields;
    fields = nullptr;
}

TakenField TakenField::Make(FieldKind kind, const QString& name, double width, double height) {
    TakenField taken = Bare();
    FieldRecord& f = taken.record();
    ReplaceText(f.name, name);
    f.kind = kind;
    f.width = width;
    f.height = height;
    AddVariantRow(f);
    return taken;
}

TakenField TakenField::Bare() {
    FieldRecord f{};
    f.name = NewText(QString());
    f.descr = NewText(QString());
    f.pictures = new RecordArray<ImageEntry>();
    f.variants = new RecordArray<VariantRow>();
    return TakenField(f);
}

VariantRow* AddVariantRow(FieldRecord& field) {
    VariantRow* row = field.variants->Add();
    if (!row) throw std::bad_alloc();
    row->cells = new RecordArray<VariantCell>();
    return row;
}

VariantCell* AddVariantCell(VariantRow& row, const QString& text) {
    VariantCell* cell = row.cells->Add();
    if (!cell) throw std::bad_alloc();
    cell->text = NewText(text);
    return cell;
}

ImageEntry* AddImageEntry(FieldRecord& field, double number, const QString& filename) {
    ImageEntry* entry = field.pictures->Add();
    if (!entry) throw std::bad_alloc();
    entry->number = number;
    entry->filename = NewText(filename);
    return entry;
}

TakenField::TakenField(TakenField&& other) noexcept
    : field(other.field), holds(std::exchange(other.holds, false)) {
    other.field = FieldRecord{};
}

TakenField& TakenField::operator=(TakenField&& other) noexcept {
    if (this == &other) return *this;
    if (holds) ReleaseFieldContents(field);
    field = std::exchange(other.field, FieldRecord{});
    holds = std::exchange(other.holds, false);
    return *this;
}

TakenField::~TakenField() {
    if (holds) ReleaseFieldContents(field);
}

FieldRecord TakenField::Release() {
    holds = false;
    return std::exchange(field, FieldRecord{});
}

TakenCategory TakenCategory::Make(const QString& name) {
    return TakenCategory(name, nullptr, new FieldArray());
}

TakenCategory::TakenCategory(TakenCategory&& other) noexcept
    : categoryName(std::move(other.categoryName)),
      categoryRecord(std::exchange(other.categoryRecord, nullptr)),
      fieldArray(std::exchange(other.fieldArray, nullptr)) {}

TakenCategory& TakenCategory::operator=(TakenCategory&& other) noexcept {
    if (this == &other) return *this;
    Drop();
    categoryName = std::move(other.categoryName);
    categoryRecord = std::exchange(other.categoryRecord, nullptr);
    fieldArray = std::exchange(other.fieldArray, nullptr);
    return *this;
}

TakenCategory::~TakenCategory() {
    Drop();
}

void TakenCategory::Drop() {
    ReleaseFieldArray(fieldArray);
    FreeCategoryRecord(categoryRecord);
}

void TakenCategory::Release(QString& name, CategoryRecord*& record, FieldArray*& fields) {
    name = std::move(categoryName);
    record = std::exchange(categoryRecord, nullptr);
    fields = std::exchange(fieldArray, nullptr);
}
