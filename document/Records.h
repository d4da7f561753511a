#pragma once
// The plain records of a form document. Each record owns its texts and nested
// arrays through raw references; whoever removes a record releases them first.

#include "OwnedText.h"
#include "RecordArray.h"

#include <cstdint>

enum FieldKind : std::int32_t { fkText = 0, fkCheckBox = 1, fkSingleChoice = 2 };

// True for a kind the program knows (a damaged file may hold others): the one
// test the layout, the fillable PDF and the readers of returns all make.
// A new kind is added to FieldKind and here.
constexpr bool IsKnownFieldKind(std::int32_t kind) {
    return kind == fkText || kind == fkCheckBox || kind == fkSingleChoice;
}

struct ImageEntry {
    OwnedText filename;
    double number;
};

struct VariantCell {
    OwnedText text;
};

struct VariantRow {
    RecordArray<VariantCell>* cells;
};

struct FieldRecord {
    OwnedText name;
    OwnedText descr;
    std::int32_t kind; // a FieldKind; a damaged file may hold any other value
    double width;      // cm
    double height;     // cm
    RecordArray<ImageEntry>* pictures;
    RecordArray<VariantRow>* variants;
    std::int32_t pricecols;
};

struct CategoryRecord {
    OwnedText picfile;
    double picwidth; // cm
    OwnedText introtext;
    std::int32_t picbelow; // 0: picture before the name, 1: below it
    bool textbelowpic;
};

using FieldArray = RecordArray<FieldRecord>;
using FieldArrayRef = FieldArray*; // element of fieldArrays

// A fresh record with its own copies of the texts; release with FreeCategoryRecord.
CategoryRecord* NewCategoryRecord(const QString& picfile, double picwidth, const QString& introtext,
                                  std::int32_t picbelow, bool textbelowpic);
void FreeCategoryRecord(CategoryRecord*& record);
