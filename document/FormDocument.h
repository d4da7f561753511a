#pragma once
// The form document: the ordered categories, each a name, an optional
// CategoryRecord and a field array. Category i's name and record and element i
// of fieldArrays change only together, through this class, so they cannot drift apart.

#include "Records.h"
#include "TakenRecords.h"

#include <QString>
#include <vector>

class FormDocument {
  public:
    FormDocument();
    ~FormDocument();
    FormDocument(const FormDocument&) = delete;
    FormDocument& operator=(const FormDocument&) = delete;

    // Element i of fieldArrays is the field array of category i.
    const RecordArray<FieldArrayRef>& FieldArrays() const { return fieldArrays; }
    // Where the arrays of categories and of fields last left their cursor.
    const FieldArrayRef* CurrentCategory() const { return categoryCursor; }
    const FieldRecord* CurrentField() const { return fieldCursor; }

    int CategoryCount() const { return static_cast<int>(items.size()); }
    // The empty text for a category that does not exist.
    QString CategoryName(int i) const {
        return ValidCategory(i) ? items[static_cast<std::size_t>(i)].name : QString();
    }
    void SetCategoryName(int i, const QString& name);
    // May be null: a category that never went through the category dialog, or
    // one that does not exist.
    const CategoryRecord* Record(int i) const {
        return ValidCategory(i) ? items[static_cast<std::size_t>(i)].record : nullptr;
    }
    // Takes ownership of record (may be null); the former record is released.
    void SetRecord(int i, CategoryRecord* record);
    const FieldArray* Fields(int i) const { return *fieldArrays.at(i); }

    // Makes room for n categories at once (readers, after checking n against the file).
    void ReserveCategories(int n);
    // Gives an empty category a block of exactly n fields (readers, after
    // checking n against the file), so that a small category takes little memory.
    void ReserveFields(int category, int n);

    // The primitives every edit goes through. Indexes are checked: an index out
    // of range changes nothing (and a Take returns an empty holder).
    // Inserts a taken category before index (index == CategoryCount() appends).
    void InsertCategory(int index, TakenCategory category);
    TakenCategory TakeCategory(int index);
    // Moves category from to position to (both 0 .. CategoryCount()-1).
    void MoveCategory(int from, int to);
    int FieldCount(int category) const;
    const FieldRecord* FieldAt(int category, int f) const;
    FieldRecord* FieldAt(int category, int f);
    void InsertField(int category, int index, TakenField field);
    TakenField TakeField(int category, int f);
    void MoveField(int category, int from, int to);

    // Empties the document: every category with its fields and record.
    void NewAll();

  private:
    // Releases everything the field at fieldCursor owns (the record stays in its array).
    void ReleaseFieldAtCursor();
    // Releases the fields and the field array of the fieldArrays element at categoryCursor.
    void ReleaseCategoryAtCursor();
    FieldArray* MutableFields(int i) { return *fieldArrays.at(i); }
    // Points a field's or a field array's cursors at this document's cursor
    // variables, or at none (a taken record).
    void AttachField(FieldRecord& field, bool attach);
    void AttachFields(FieldArray& fields, bool attach);
    bool ValidCategory(int i) const { return i >= 0 && i < CategoryCount(); }
    void SwapCategories(int i, int j);

    struct Item {
        QString name;
        CategoryRecord* record = nullptr;
    };
    std::vector<Item> items;

    // Cursor variables, one per record type, shared by all arrays of that type.
    // The category and field cursors walk the release in NewAll; the picture,
    // variant and cell cursors are read by nothing: they only give the arrays of
    // fields in this document a place of their own (a taken field has none).
    FieldArrayRef* categoryCursor = nullptr;
    FieldRecord* fieldCursor = nullptr;
    ImageEntry* pictureCursor = nullptr;
    VariantRow* variantCursor = nullptr;
    VariantCell* cellCursor = nullptr;

    RecordArray<FieldArrayRef> fieldArrays{&categoryCursor};
};
