#pragma once
// The form document: the ordered categories, each a name, an optional
// CategoryRecord and a field array. Category i's name and record and element i
// of kats change only together, through this class, so they cannot drift apart.

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

    // Element i of kats is the field array of category i.
    const RecordArray<KatRef>& Kats() const { return kats; }
    // Where the arrays of categories and of fields last left their cursor.
    const KatRef* CurrentCategory() const { return akat; }
    const FieldRecord* CurrentField() const { return aprod; }

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
    const FieldArray* Fields(int i) const { return *kats.at(i); }

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
    // Releases everything the field at aprod owns (the record stays in its array).
    void DestroyAProd();
    // Releases the fields and the field array of the kats element at akat.
    void DestroyAKat();
    FieldArray* MutableFields(int i) { return *kats.at(i); }
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
    KatRef* akat = nullptr;
    FieldRecord* aprod = nullptr;
    ImageEntry* abild = nullptr;
    VariantRow* avariante = nullptr;
    VariantCell* aprop = nullptr;

    RecordArray<KatRef> kats{&akat};
};
