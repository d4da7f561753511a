#pragma once
// Records taken out of a document and owned until they are put back or
// dropped. An undo command keeps what it removed in one of these; dropping the
// holder releases the record's texts and nested arrays. A taken record's arrays
// publish their cursor nowhere: they belong to no document until inserted.

#include "Records.h"

#include <QString>

// Releases the field's texts and nested arrays without moving any cursor.
void ReleaseFieldContents(FieldRecord& field);
// Releases every field of the array, then the array itself.
void ReleaseFieldArray(FieldArray*& fields);

class TakenField {
  public:
    TakenField() = default;
    // Takes over the record's texts and arrays.
    explicit TakenField(const FieldRecord& record) : field(record), holds(true) {}
    // A field as the new-field commands make it: empty description, price
    // column count 0, no pictures and one variant row without cells.
    static TakenField Make(FieldKind kind, const QString& name, double width, double height);
    // A zeroed field with empty texts and empty pictures and variants, for a
    // reader to fill in place.
    static TakenField Bare();
    TakenField(TakenField&& other) noexcept;
    TakenField& operator=(TakenField&& other) noexcept;
    TakenField(const TakenField&) = delete;
    TakenField& operator=(const TakenField&) = delete;
    ~TakenField();

    bool empty() const { return !holds; }
    const FieldRecord& record() const { return field; }
    // The held record, to fill before it is inserted anywhere.
    FieldRecord& record() { return field; }
    // Hands the record over to the caller, who owns it from now on.
    FieldRecord Release();

  private:
    FieldRecord field{};
    bool holds = false;
};

// Building the nested arrays of a field that belongs to no document yet; the
// new arrays publish their cursor nowhere until the field is inserted.
VariantRow* AddVariantRow(FieldRecord& field);
VariantCell* AddVariantCell(VariantRow& row, const QString& text);
ImageEntry* AddImageEntry(FieldRecord& field, double number, const QString& filename);

class TakenCategory {
  public:
    TakenCategory() = default;
    // Takes over the record (may be null) and the field array.
    TakenCategory(QString name, CategoryRecord* record, FieldArray* fields)
        : categoryName(std::move(name)), categoryRecord(record), fieldArray(fields) {}
    // A new category: the name, no record, no fields.
    static TakenCategory Make(const QString& name);
    TakenCategory(TakenCategory&& other) noexcept;
    TakenCategory& operator=(TakenCategory&& other) noexcept;
    TakenCategory(const TakenCategory&) = delete;
    TakenCategory& operator=(const TakenCategory&) = delete;
    ~TakenCategory();

    bool empty() const { return fieldArray == nullptr; }
    const QString& name() const { return categoryName; }
    const CategoryRecord* record() const { return categoryRecord; }
    const FieldArray* fields() const { return fieldArray; }
    // Hands record and field array over to the caller.
    void Release(QString& name, CategoryRecord*& record, FieldArray*& fields);

  private:
    void Drop();
    QString categoryName;
    CategoryRecord* categoryRecord = nullptr;
    FieldArray* fieldArray = nullptr;
};
