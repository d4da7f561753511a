// The undoable edits: each one undone gives the document of before byte for
// byte, redone the document of after; long random sequences on the sample
// undo to the sample and redo to their end; consecutive edits of one value merge.
#include "CategoryCommands.h"
#include "DocumentEdits.h"
#include "FieldCommands.h"
#include "LayoutCommands.h"
#include "ProjectFile.h"

#include <QFile>
#include <QUndoStack>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

QByteArray Bytes(const Document& doc) {
    return SerializeProject(doc.form(), doc.layout());
}

// Three categories with fields and a record, the first and third with fields.
void BuildSmallDocument(Document& doc) {
    AppendCategory(doc, QStringLiteral("Getränke"));
    AppendCategory(doc, QStringLiteral("Leer"));
    AppendCategory(doc, QStringLiteral("Speisen"));
    doc.SetCategoryRecord(2, CategoryValues{u"bild.png"_qs, 4.5, u"Einführung"_qs, 1, true});
    AppendField(doc, 0, fkText, QStringLiteral("Wasser"), 6, 1.25);
    AppendField(doc, 0, fkCheckBox, QStringLiteral("Saft"), 3, 0.5);
    AppendField(doc, 0, fkSingleChoice, QStringLiteral("Tee"), 2, 1);
    AppendField(doc, 2, fkText, QStringLiteral("Suppe"), 8, 2);
    AppendField(doc, 2, fkCheckBox, QStringLiteral("Brot"), 1, 1);
}

FieldValues With(const Document& doc, int c, int f, const std::function<void(FieldValues&)>& set) {
    FieldValues v = doc.FieldValuesAt(c, f);
    set(v);
    return v;
}

struct CommandCase {
    const char* what;
    std::function<QUndoCommand*(Document&)> make;
};

// Every kind of edit, each undone and redone, must restore the exact bytes of before and after.
TEST(EditCommandsTest, EachCommandUndoneGivesTheBytesOfBeforeAndRedoneTheBytesOfAfter) {
    const CommandCase cases[] = {
        {"add category at the end",
         [](Document& d) { return new AddCategory(d, 3, QStringLiteral("Neu")); }},
        {"add category first", [](Document& d) { return new AddCategory(d, 0, QString()); }},
        {"remove category with fields", [](Document& d) { return new RemoveCategory(d, 0); }},
        {"remove category with record", [](Document& d) { return new RemoveCategory(d, 2); }},
        {"move category up", [](Document& d) { return new MoveCategory(d, 2, 1); }},
        {"move category down", [](Document& d) { return new MoveCategory(d, 0, 1); }},
        {"rename category", [](Document& d) { return new RenameCategory(d, 1, u"Anders"_qs); }},
        {"give a record",
         [](Document& d) {
             return new SetCategoryRecord(d, 0, CategoryValues{QString(), 3, QString(), 0, false});
         }},
        {"change a record",
         [](Document& d) {
             return new SetCategoryRecord(d, 2,
                                          CategoryValues{u"x.gif"_qs, 2, u"a\nb"_qs, 0, false});
         }},
        {"drop a record", [](Document& d) { return new SetCategoryRecord(d, 2, std::nullopt); }},
        {"add field",
         [](Document& d) {
             return new AddField(d, 1, 0,
                                 TakenField::Make(fkCheckBox, u"Neues Produkt"_qs, 6, 1.25));
         }},
        {"add field in between",
         [](Document& d) {
             return new AddField(d, 0, 1, TakenField::Make(fkText, u"Mitte"_qs, 6, 1.25));
         }},
        {"remove one field", [](Document& d) { return new RemoveFields(d, 0, {1}); }},
        {"remove several fields",
         [](Document& d) {
             return new RemoveFields(d, 0, {2, 0});
         }},
        {"move field up", [](Document& d) { return new MoveField(d, 0, 2, 1); }},
        {"move field down", [](Document& d) { return new MoveField(d, 0, 0, 1); }},
        {"move fields to an empty category",
         [](Document& d) {
             return new MoveFieldsToCategory(d, 0, {0, 2}, 1);
         }},
        {"move fields to a category above",
         [](Document& d) {
             return new MoveFieldsToCategory(d, 2, {0, 1}, 0);
         }},
        {"rename field",
         [](Document& d) {
             return new ChangeFieldValues(
                 d, 0, 1, With(d, 0, 1, [](FieldValues& v) { v.name = u"Apfelsaft"_qs; }),
                 FieldPart::Name);
         }},
        {"change kind",
         [](Document& d) {
             return new ChangeFieldValues(
                 d, 2, 0, With(d, 2, 0, [](FieldValues& v) { v.kind = fkSingleChoice; }),
                 FieldPart::Kind);
         }},
        {"change width",
         [](Document& d) {
             return new ChangeFieldValues(
                 d, 0, 0, With(d, 0, 0, [](FieldValues& v) { v.width = 7.1; }), FieldPart::Width);
         }},
        {"change height",
         [](Document& d) {
             return new ChangeFieldValues(d, 2, 1,
                                          With(d, 2, 1, [](FieldValues& v) { v.height = 0.01; }),
                                          FieldPart::Height);
         }},
        {"change a layout value",
         [](Document& d) {
             return new ChangeLayoutValue(d, LayoutKeyOf(&LayoutSettings::leftMarginMm), 33.0);
         }},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.what);
        Document doc;
        BuildSmallDocument(doc);
        const QByteArray before = Bytes(doc);
        doc.undoStack()->push(c.make(doc));
        const QByteArray after = Bytes(doc);
        EXPECT_NE(after, before);
        doc.undoStack()->undo();
        EXPECT_EQ(Bytes(doc), before);
        doc.undoStack()->redo();
        EXPECT_EQ(Bytes(doc), after);
        doc.undoStack()->undo();
        EXPECT_EQ(Bytes(doc), before);
    }
}

// Moving A, B, C into another category must append them as A, B, C, not reversed.
TEST(EditCommandsTest, MovedFieldsArriveInTheirOwnOrder) {
    Document doc;
    BuildSmallDocument(doc);
    doc.undoStack()->push(new MoveFieldsToCategory(doc, 0, {2, 0, 1}, 2));
    ASSERT_EQ(doc.FieldCount(2), 5);
    EXPECT_EQ(doc.FieldCount(0), 0);
    const QString expected[] = {u"Suppe"_qs, u"Brot"_qs, u"Wasser"_qs, u"Saft"_qs, u"Tee"_qs};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(doc.FieldValuesAt(2, i).name, expected[i]);
}

// Keystrokes in one field's name and the steps of one value must merge into one undo step;
// a different value or field, or a kind change, must start a new step.
TEST(EditCommandsTest, ConsecutiveChangesOfOneValueMerge) {
    Document doc;
    BuildSmallDocument(doc);
    QUndoStack& stack = *doc.undoStack();
    const QByteArray start = Bytes(doc);
    auto push = [&](int c, int f, FieldPart part, const std::function<void(FieldValues&)>& set) {
        stack.push(new ChangeFieldValues(doc, c, f, With(doc, c, f, set), part));
    };
    for (const QString& typed : {u"W"_qs, u"Wa"_qs, u"Was"_qs})
        push(0, 0, FieldPart::Name, [&](FieldValues& v) { v.name = typed; });
    EXPECT_EQ(stack.count(), 1);
    push(0, 0, FieldPart::Width, [](FieldValues& v) { v.width = 6.1; });
    push(0, 0, FieldPart::Width, [](FieldValues& v) { v.width = 6.2; });
    EXPECT_EQ(stack.count(), 2);
    push(0, 1, FieldPart::Width, [](FieldValues& v) { v.width = 3.1; });
    EXPECT_EQ(stack.count(), 3);
    push(0, 1, FieldPart::Kind, [](FieldValues& v) { v.kind = fkText; });
    push(0, 1, FieldPart::Kind, [](FieldValues& v) { v.kind = fkCheckBox; });
    EXPECT_EQ(stack.count(), 5);
    stack.setIndex(1);
    EXPECT_EQ(doc.FieldValuesAt(0, 0).name, u"Was"_qs);
    EXPECT_EQ(doc.FieldValuesAt(0, 0).width, 6);
    stack.setIndex(0);
    EXPECT_EQ(Bytes(doc), start);
}

// Records taken out by edits stay with the edits: dropping the stack with a removed category
// and removed fields, or the document with them, must neither leak nor release twice.
TEST(EditCommandsTest, TakenRecordsAreReleasedOnceWithTheirEdits) {
    auto doc = std::make_unique<Document>();
    BuildSmallDocument(*doc);
    doc->undoStack()->push(new RemoveFields(*doc, 0, {0, 1}));
    doc->undoStack()->push(new RemoveCategory(*doc, 2));
    doc->undoStack()->push(new AddField(*doc, 1, 0, TakenField::Make(fkText, u"x"_qs, 1, 1)));
    doc->undoStack()->undo(); // the added field is held by its edit again
    doc->undoStack()->clear();
    EXPECT_EQ(doc->CategoryCount(), 2);
    doc->undoStack()->push(new RemoveCategory(*doc, 0));
    doc.reset(); // the document goes with an edit still holding a category
}

// A random walk of edits over the sample.
class RandomEdits {
  public:
    RandomEdits(Document& document, unsigned seed) : doc(document), random(seed) {}

    void PushOne() {
        for (;;) {
            if (QUndoCommand* c = Make(Pick(12))) {
                doc.undoStack()->push(c);
                return;
            }
        }
    }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    int AnyCategory() { return doc.CategoryCount() > 0 ? Pick(doc.CategoryCount()) : -1; }

    QUndoCommand* Make(int what) {
        const int n = doc.CategoryCount();
        const int c = AnyCategory();
        const int fields = c >= 0 ? doc.FieldCount(c) : 0;
        const int f = fields > 0 ? Pick(fields) : -1;
        switch (what) {
        case 0:
            return new AddCategory(doc, Pick(n + 1), QStringLiteral("K%1").arg(Pick(100)));
        case 1:
            return n > 1 && Pick(3) == 0 ? new RemoveCategory(doc, c) : nullptr;
        case 2:
            return n > 1 ? new MoveCategory(doc, c, (c + 1 + Pick(n - 1)) % n) : nullptr;
        case 3:
            return c >= 0 ? new RenameCategory(doc, c, QStringLiteral("N%1").arg(Pick(1000)))
                          : nullptr;
        case 4:
            if (c < 0) return nullptr;
            if (Pick(4) == 0) return new SetCategoryRecord(doc, c, std::nullopt);
            return new SetCategoryRecord(doc, c,
                                         CategoryValues{QStringLiteral("p%1.png").arg(Pick(9)),
                                                        0.5 * Pick(20), QStringLiteral("t"),
                                                        Pick(2), Pick(2) == 1});
        case 5:
            return c >= 0 ? new AddField(doc, c, Pick(fields + 1),
                                         TakenField::Make(static_cast<FieldKind>(Pick(3)),
                                                          QStringLiteral("F%1").arg(Pick(100)),
                                                          0.1 * Pick(100), 0.25 * Pick(8)))
                          : nullptr;
        case 6: {
            if (f < 0) return nullptr;
            QList<int> rows{f};
            for (int i = 0; i < 2; ++i)
                rows.append(Pick(fields));
            return new RemoveFields(doc, c, rows);
        }
        case 7:
            return fields > 1 ? new MoveField(doc, c, f, (f + 1 + Pick(fields - 1)) % fields)
                              : nullptr;
        case 8: {
            if (f < 0 || n < 2) return nullptr;
            const int target = (c + 1 + Pick(n - 1)) % n;
            return new MoveFieldsToCategory(doc, c, {f, Pick(fields)}, target);
        }
        case 9:
        case 10: {
            if (f < 0) return nullptr;
            const auto part = static_cast<FieldPart>(Pick(4));
            FieldValues v = doc.FieldValuesAt(c, f);
            v.name += QLatin1Char('x');
            v.kind = Pick(3);
            v.width += 0.1;
            v.height = 0.5 * Pick(5);
            FieldValues now = doc.FieldValuesAt(c, f);
            if (part == FieldPart::Name) now.name = v.name;
            if (part == FieldPart::Kind) now.kind = v.kind;
            if (part == FieldPart::Width) now.width = v.width;
            if (part == FieldPart::Height) now.height = v.height;
            return new ChangeFieldValues(doc, c, f, now, part);
        }
        default:
            return new ChangeLayoutValue(doc, LayoutKeyOf(&LayoutSettings::topMarginMm),
                                         static_cast<double>(Pick(50)));
        }
    }

    Document& doc;
    std::mt19937 random;
};

// A few hundred random edits on the sample, undone to the start, must give the sample's
// bytes again, and redone to the end the bytes of the end.
TEST(EditCommandsTest, RandomEditsOnTheSampleUndoToTheSampleAndRedoToTheEnd) {
    QFile sample(QStringLiteral(QUILLORA_SOURCE_DIR "/samples/test.qlr"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray sampleBytes = sample.readAll();
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        ProjectReadResult read = ReadProjectFile(sampleBytes, LayoutSettings());
        ASSERT_TRUE(read.ok());
        Document doc;
        doc.Reset(std::move(read.document), read.settings);
        ASSERT_EQ(Bytes(doc), sampleBytes);
        RandomEdits edits(doc, seed);
        for (int i = 0; i < 300; ++i)
            edits.PushOne();
        const QByteArray end = Bytes(doc);
        QUndoStack& stack = *doc.undoStack();
        ASSERT_GT(stack.count(), 100);
        while (stack.canUndo())
            stack.undo();
        EXPECT_EQ(Bytes(doc), sampleBytes);
        while (stack.canRedo())
            stack.redo();
        EXPECT_EQ(Bytes(doc), end);
    }
}

} // namespace
