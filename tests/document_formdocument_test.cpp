// The document model: category pairing, field creation and record ownership.
#include "DocumentEdits.h"
#include "FormDocument.h"

#include <gtest/gtest.h>

namespace {

QString FieldName(const FormDocument& doc, int cat, int f) {
    return ToQString(doc.Fields(cat)->at(f)->name);
}

// Names, records and field arrays of categories must stay paired through every command.
TEST(FormDocumentTest, CategoryPartsStayPairedThroughMovesAndTakes) {
    FormDocument doc;
    for (const char* n : {"A", "B", "C"}) {
        const int i = AppendCategory(doc, QString::fromLatin1(n));
        AppendField(doc, i, fkText, QStringLiteral("field of ") + QString::fromLatin1(n), 6, 1.25);
    }
    doc.SetRecord(
        1, NewCategoryRecord(QStringLiteral("b.png"), 3, QStringLiteral("intro B"), 1, true));
    doc.MoveCategory(0, 1);
    doc.MoveCategory(1, 2);
    // Now: B, C, A
    ASSERT_EQ(doc.CategoryCount(), 3);
    EXPECT_EQ(doc.FieldArrays().Count(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FieldName(doc, i, 0), QStringLiteral("field of ") + doc.CategoryName(i));
    ASSERT_NE(doc.Record(0), nullptr);
    EXPECT_EQ(ToQString(doc.Record(0)->introtext), QStringLiteral("intro B"));
    EXPECT_EQ(doc.Record(1), nullptr);
    doc.TakeCategory(1); // released as the holder goes
    EXPECT_EQ(doc.CategoryName(1), QStringLiteral("A"));
    EXPECT_EQ(FieldName(doc, 1, 0), QStringLiteral("field of A"));
    EXPECT_EQ(doc.FieldArrays().Count(), 2u);
}

// New fields carry an empty description, no price columns, no pictures and one empty variant row.
TEST(FormDocumentTest, NewFieldsHaveTheirFixedShape) {
    FormDocument doc;
    AppendCategory(doc, QStringLiteral("K"));
    const FieldKind kinds[] = {fkText, fkCheckBox, fkSingleChoice};
    for (FieldKind kind : kinds) {
        const FieldRecord* f = AppendField(doc, 0, kind, QStringLiteral("Neues Produkt"), 6, 1.25);
        EXPECT_EQ(f, doc.FieldAt(0, doc.FieldCount(0) - 1));
        EXPECT_EQ(f->kind, kind);
        EXPECT_EQ(TextView(f->descr), u"");
        EXPECT_EQ(f->pricecols, 0);
        EXPECT_EQ(f->pictures->Count(), 0u);
        ASSERT_EQ(f->variants->Count(), 1u);
        EXPECT_EQ(f->variants->at(0)->cells->Count(), 0u);
        EXPECT_DOUBLE_EQ(f->width, 6);
        EXPECT_DOUBLE_EQ(f->height, 1.25);
    }
}

// Releasing a document with nested pictures, variant rows and cells must leak nothing
// (checked by the sanitizer build) and leave the model empty.
TEST(FormDocumentTest, NewAllReleasesEverythingNested) {
    FormDocument doc;
    for (int c = 0; c < 3; ++c) {
        AppendCategory(doc, QStringLiteral("cat %1").arg(c));
        doc.SetRecord(c, NewCategoryRecord(QStringLiteral("p"), 2, QStringLiteral("t"), 0, false));
        for (int f = 0; f < 120; ++f) {
            TakenField taken = TakenField::Make(fkText, QStringLiteral("f%1").arg(f), 1, 1);
            FieldRecord& field = taken.record();
            AddImageEntry(field, f, QStringLiteral("pic.png"));
            VariantRow* row = AddVariantRow(field);
            AddVariantCell(*row, QStringLiteral("cell"));
            AddVariantCell(*field.variants->at(0), QStringLiteral("first row cell"));
            doc.InsertField(c, f, std::move(taken));
        }
    }
    doc.TakeField(1, 5); // released as the holder goes
    EXPECT_EQ(doc.Fields(1)->Count(), 119u);
    EXPECT_EQ(FieldName(doc, 1, 5), QStringLiteral("f6"));
    doc.NewAll();
    EXPECT_EQ(doc.CategoryCount(), 0);
    EXPECT_EQ(doc.FieldArrays().Count(), 0u);
    EXPECT_EQ(doc.CurrentCategory(), nullptr);
}

// Moving a field hands its owned texts and arrays to the target, nothing released twice.
TEST(FormDocumentTest, MovedFieldKeepsItsOwnedParts) {
    FormDocument doc;
    AppendCategory(doc, QStringLiteral("from"));
    AppendCategory(doc, QStringLiteral("to"));
    FieldRecord* f = AppendField(doc, 0, fkCheckBox, QStringLiteral("moving"), 2, 1);
    AddImageEntry(*f, 4.5, QStringLiteral("x.bmp"));
    doc.InsertField(1, 0, doc.TakeField(0, 0));
    EXPECT_EQ(doc.Fields(0)->Count(), 0u);
    ASSERT_EQ(doc.Fields(1)->Count(), 1u);
    const FieldRecord* moved = doc.Fields(1)->at(0);
    EXPECT_EQ(ToQString(moved->name), QStringLiteral("moving"));
    EXPECT_EQ(ToQString(moved->pictures->at(0)->filename), QStringLiteral("x.bmp"));
}

// Replacing a category record releases the former one; an empty text is a terminator, not null.
TEST(FormDocumentTest, RecordReplacementAndEmptyTexts) {
    FormDocument doc;
    AppendCategory(doc, QString());
    doc.SetRecord(0, NewCategoryRecord(QString(), 3, QString(), 0, false));
    ASSERT_NE(doc.Record(0)->picfile, nullptr);
    EXPECT_EQ(doc.Record(0)->picfile[0], u'\0');
    doc.SetRecord(0, NewCategoryRecord(QStringLiteral("new"), 3, QString(), 0, false));
    EXPECT_EQ(ToQString(doc.Record(0)->picfile), QStringLiteral("new"));
    doc.SetRecord(0, nullptr);
    EXPECT_EQ(doc.Record(0), nullptr);
}

} // namespace

// Guards against a view that asks about a place gone with an edit ending the
// program: a category or field that does not exist has no name, no record and no values.
TEST(FormDocumentTest, PlacesThatDoNotExistAreEmptyNotFatal) {
    FormDocument doc;
    AppendCategory(doc, u"A"_qs);
    AppendField(doc, 0, fkText, u"f"_qs, 1, 1);
    for (int c : {-1, 1, 1000}) {
        EXPECT_TRUE(doc.CategoryName(c).isEmpty()) << c;
        EXPECT_EQ(doc.Record(c), nullptr) << c;
        EXPECT_EQ(doc.FieldCount(c), 0) << c;
        EXPECT_EQ(doc.FieldAt(c, 0), nullptr) << c;
    }
    EXPECT_EQ(doc.FieldAt(0, 1), nullptr);
    EXPECT_EQ(doc.FieldAt(0, -1), nullptr);
}
