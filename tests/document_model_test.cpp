// The document object: its primitives keep names, records and fields paired,
// announce each change once with the right indexes, and hand out records that
// live on safely in their holders.

#include "Document.h"
#include "LayoutKeys.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Every signal of the document as one line, in the order they came.
struct SignalLog {
    QStringList lines;
    explicit SignalLog(Document& d) {
        auto log = [this](const char* what) {
            return [this, what](auto... n) {
                QStringList parts{QString::fromLatin1(what)};
                (parts.append(QString::number(n)), ...);
                lines.append(parts.join(QLatin1Char(' ')));
            };
        };
        QObject::connect(&d, &Document::categoryAboutToBeInserted, log("+cat?"));
        QObject::connect(&d, &Document::categoryInserted, log("+cat"));
        QObject::connect(&d, &Document::categoryAboutToBeRemoved, log("-cat?"));
        QObject::connect(&d, &Document::categoryRemoved, log("-cat"));
        QObject::connect(&d, &Document::categoryMoved, log("~cat"));
        QObject::connect(&d, &Document::categoryChanged, log("*cat"));
        QObject::connect(&d, &Document::fieldInserted, log("+field"));
        QObject::connect(&d, &Document::fieldRemoved, log("-field"));
        QObject::connect(&d, &Document::fieldMoved, log("~field"));
        QObject::connect(&d, &Document::fieldChanged, log("*field"));
        QObject::connect(&d, &Document::layoutValueChanged, log("layout"));
        QObject::connect(&d, &Document::reset, log("reset"));
    }
};

QStringList Names(const Document& d) {
    QStringList names;
    for (int i = 0; i < d.CategoryCount(); ++i)
        names << d.CategoryName(i);
    return names;
}

QStringList FieldNames(const Document& d, int c) {
    QStringList names;
    for (int f = 0; f < d.FieldCount(c); ++f)
        names << ToQString(d.FieldAt(c, f)->name);
    return names;
}

// A category with a record and fields "<name>1", "<name>2".
void Append(Document& d, const QString& name) {
    const int i = d.CategoryCount();
    d.InsertCategory(i, TakenCategory::Make(name));
    d.SetCategoryRecord(
        i, CategoryValues{name + QStringLiteral(".bmp"), 2.5, QStringLiteral("Intro"), 1, true});
    for (int f = 1; f <= 2; ++f)
        d.InsertField(i, f - 1, TakenField::Make(fkCheckBox, name + QString::number(f), f, 1));
}

// Taking out, putting back and moving must keep each category's name, record and fields together.
TEST(DocumentModelTest, CategoriesMoveWithTheirRecordAndFields) {
    Document d;
    for (const char* n : {"A", "B", "C"})
        Append(d, QString::fromLatin1(n));
    d.MoveCategory(0, 2);
    EXPECT_EQ(Names(d), (QStringList{"B", "C", "A"}));
    EXPECT_EQ(FieldNames(d, 2), (QStringList{"A1", "A2"}));
    EXPECT_EQ(d.CategoryRecordValues(2)->picfile, QStringLiteral("A.bmp"));

    TakenCategory taken = d.TakeCategory(1);
    EXPECT_EQ(taken.name(), QStringLiteral("C"));
    EXPECT_EQ(Names(d), (QStringList{"B", "A"}));
    d.InsertCategory(0, std::move(taken));
    EXPECT_TRUE(taken.empty());
    EXPECT_EQ(Names(d), (QStringList{"C", "B", "A"}));
    EXPECT_EQ(FieldNames(d, 0), (QStringList{"C1", "C2"}));
    EXPECT_TRUE(d.CategoryRecordValues(0)->textbelowpic);
}

// Each primitive must announce its change once, with the indexes it used.
TEST(DocumentModelTest, EveryChangeIsAnnouncedOnce) {
    Document d;
    Append(d, QStringLiteral("A"));
    SignalLog log(d);
    d.InsertCategory(1, TakenCategory::Make(QStringLiteral("B")));
    d.MoveCategory(1, 0);
    d.SetCategoryName(0, QStringLiteral("B2"));
    d.SetCategoryName(0, QStringLiteral("B2")); // no change, no signal
    d.InsertField(1, 0, TakenField::Make(fkText, QStringLiteral("X"), 3, 1));
    d.MoveField(1, 0, 2);
    d.SetFieldValues(1, 2, FieldValues{QStringLiteral("Y"), fkText, 3, 1});
    d.SetFieldValues(1, 2, FieldValues{QStringLiteral("Y"), fkText, 3, 1});
    d.TakeField(1, 2);
    d.TakeCategory(0);
    EXPECT_EQ(log.lines,
              (QStringList{"+cat? 1", "+cat 1", "~cat 1 0", "*cat 0", "+field 1 0", "~field 1 0 2",
                           "*field 1 2", "-field 1 2", "-cat? 0", "-cat 0"}));
}

// Indexes out of range and empty holders must change nothing and announce nothing.
TEST(DocumentModelTest, OutOfRangeChangesNothing) {
    Document d;
    Append(d, QStringLiteral("A"));
    SignalLog log(d);
    d.InsertCategory(5, TakenCategory::Make(QStringLiteral("Z")));
    d.InsertCategory(-1, TakenCategory::Make(QStringLiteral("Z")));
    d.InsertCategory(0, TakenCategory());
    EXPECT_TRUE(d.TakeCategory(1).empty());
    d.MoveCategory(0, 1);
    d.MoveCategory(-1, 0);
    d.InsertField(0, 3, TakenField::Make(fkText, QStringLiteral("Z"), 1, 1));
    d.InsertField(1, 0, TakenField::Make(fkText, QStringLiteral("Z"), 1, 1));
    EXPECT_TRUE(d.TakeField(0, 2).empty());
    EXPECT_TRUE(d.TakeField(-1, 0).empty());
    d.MoveField(0, 0, 2);
    d.SetFieldValues(0, 9, FieldValues{});
    d.SetCategoryRecord(3, std::nullopt);
    d.SetLayoutValue(-1, 1.0);
    d.SetLayoutValue(LayoutKeyOf(&LayoutSettings::leftMarginMm), true); // wrong type
    d.SetLayoutValue(LayoutKeyOf(&LayoutSettings::leftMarginMm), 12.0); // same value
    EXPECT_TRUE(log.lines.isEmpty()) << log.lines.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(Names(d), QStringList{"A"});
    EXPECT_EQ(FieldNames(d, 0), (QStringList{"A1", "A2"}));
}

// A taken field must keep its texts and nested arrays and publish no cursor while held, so
// that it can go into another category, or outlive its document, without a dangling cursor.
TEST(DocumentModelTest, TakenRecordsAreWholeAndDetached) {
    auto d = std::make_unique<Document>();
    Append(*d, QStringLiteral("A"));
    Append(*d, QStringLiteral("B"));
    TakenField field = d->TakeField(0, 1);
    ASSERT_FALSE(field.empty());
    EXPECT_EQ(ToQString(field.record().name), QStringLiteral("A2"));
    EXPECT_EQ(field.record().variants->Count(), 1u);
    EXPECT_EQ(field.record().variants->CursorVariable(), nullptr);
    EXPECT_EQ(field.record().pictures->CursorVariable(), nullptr);
    d->InsertField(1, 0, std::move(field));
    const FieldRecord* moved = d->FieldAt(1, 0);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(ToQString(moved->name), QStringLiteral("A2"));
    EXPECT_NE(moved->variants->CursorVariable(), nullptr);

    TakenCategory category = d->TakeCategory(1);
    TakenField kept = d->TakeField(0, 0);
    d.reset(); // the holders outlive the document; dropping them later must be safe
    EXPECT_EQ(category.fields()->Count(), 3u);
    EXPECT_EQ(ToQString(kept.record().name), QStringLiteral("A1"));
}

// Opening a file and "Neu" must clear the undo stack: its commands refer to the former content.
TEST(DocumentModelTest, ResetAndNewAllClearTheUndoStack) {
    Document d;
    Append(d, QStringLiteral("A"));
    d.undoStack()->push(new QUndoCommand(QStringLiteral("edit")));
    ASSERT_EQ(d.undoStack()->count(), 1);
    LayoutSettings s;
    s.headerText = QStringLiteral("Neu");
    d.Reset(std::make_unique<FormDocument>(), s);
    EXPECT_EQ(d.undoStack()->count(), 0);
    EXPECT_EQ(d.CategoryCount(), 0);
    EXPECT_EQ(d.layout().headerText, QStringLiteral("Neu"));
    Append(d, QStringLiteral("B"));
    d.undoStack()->push(new QUndoCommand(QStringLiteral("edit")));
    d.NewAll();
    EXPECT_EQ(d.undoStack()->count(), 0);
    EXPECT_EQ(d.CategoryCount(), 0);
    EXPECT_EQ(d.layout().headerText, QStringLiteral("Neu")); // layout values stay
}

// The changed state must follow the undo stack back to the saved state, while a
// change marked without an undo step stays until the next save; each flip is announced once.
TEST(DocumentModelTest, ChangedStateFollowsTheSavedStateAndMarks) {
    Document d;
    QList<bool> announced;
    QObject::connect(&d, &Document::changedStateChanged, [&](bool on) { announced.append(on); });
    QUndoStack* stack = d.undoStack();
    EXPECT_FALSE(d.IsChanged());
    stack->push(new QUndoCommand(QStringLiteral("edit")));
    EXPECT_TRUE(d.IsChanged());
    stack->undo();
    EXPECT_FALSE(d.IsChanged());
    stack->redo();
    d.MarkUnchanged(); // saved after the edit
    EXPECT_FALSE(d.IsChanged());
    stack->undo();
    EXPECT_TRUE(d.IsChanged());
    stack->redo();
    EXPECT_FALSE(d.IsChanged());
    d.MarkChanged();
    stack->undo();
    stack->redo();
    EXPECT_TRUE(d.IsChanged()); // the mark outlives the stack's return
    EXPECT_EQ(announced, (QList<bool>{true, false, true, false, true, false, true}));
    d.NewAll();
    d.MarkUnchanged();
    EXPECT_FALSE(d.IsChanged());
}

// The file name belongs to the document and is announced when it changes.
TEST(DocumentModelTest, FileNameIsKeptAndAnnounced) {
    Document d;
    QStringList names;
    QObject::connect(&d, &Document::fileNameChanged, [&](const QString& n) { names.append(n); });
    EXPECT_TRUE(d.FileName().isEmpty());
    d.SetFileName(QStringLiteral("/tmp/a.qlr"));
    d.SetFileName(QStringLiteral("/tmp/a.qlr"));
    d.SetFileName(QString());
    EXPECT_EQ(names, (QStringList{QStringLiteral("/tmp/a.qlr"), QString()}));
}

// Asking whether a value would change must leave the document alone and tell a
// signed zero apart, as a saved file does; keys out of range and wrong types change nothing.
TEST(DocumentModelTest, WouldChangeAsksWithoutChanging) {
    Document d;
    const int left = LayoutKeyOf(&LayoutSettings::leftMarginMm);
    const int frame = LayoutKeyOf(&LayoutSettings::pageFrame);
    d.SetLayoutValue(left, LayoutValue(0.0));
    EXPECT_TRUE(WouldChange(d, left, LayoutValue(-0.0)));
    EXPECT_FALSE(WouldChange(d, left, LayoutValue(0.0)));
    EXPECT_TRUE(WouldChange(d, left, LayoutValue(7.0)));
    EXPECT_EQ(d.layout().leftMarginMm, 0.0);
    EXPECT_FALSE(WouldChange(d, left, LayoutValue(true)));
    EXPECT_FALSE(WouldChange(d, -1, LayoutValue(7.0)));
    EXPECT_FALSE(WouldChange(d, static_cast<int>(LayoutKeys().size()), LayoutValue(7.0)));
    EXPECT_TRUE(WouldChange(d, frame, LayoutValue(!d.layout().pageFrame)));
}

// Every key must read and write its own value, and only values of its own type.
TEST(DocumentModelTest, EveryLayoutKeyReadsAndWritesItsValue) {
    LayoutSettings s;
    for (int key = 0; key < static_cast<int>(LayoutKeys().size()); ++key) {
        const LayoutValue before = ReadLayoutValue(s, key);
        LayoutValue other = before;
        std::visit(
            [](auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, FontRecord>)
                    v.size += 3;
                else if constexpr (std::is_same_v<V, QString>)
                    v += QStringLiteral("x");
                else if constexpr (std::is_same_v<V, bool>)
                    v = !v;
                else
                    v = v + 1;
            },
            other);
        EXPECT_TRUE(WouldChange(s, key, other)) << LayoutKeys()[key].name;
        EXPECT_TRUE(ReadLayoutValue(s, key) == before) << LayoutKeys()[key].name;
        EXPECT_TRUE(WriteLayoutValue(s, key, other)) << LayoutKeys()[key].name;
        EXPECT_TRUE(ReadLayoutValue(s, key) == other) << LayoutKeys()[key].name;
        EXPECT_FALSE(WouldChange(s, key, other)) << LayoutKeys()[key].name;
        EXPECT_FALSE(WriteLayoutValue(s, key, other)) << LayoutKeys()[key].name;
        const LayoutValue wrongType = other.index() == 1 ? LayoutValue(1.0) : LayoutValue(true);
        EXPECT_FALSE(WriteLayoutValue(s, key, wrongType)) << LayoutKeys()[key].name;
    }
    // Each key changed exactly its own value: all of them differ from the defaults now.
    const LayoutSettings defaults;
    for (int key = 0; key < static_cast<int>(LayoutKeys().size()); ++key)
        EXPECT_FALSE(ReadLayoutValue(s, key) == ReadLayoutValue(defaults, key))
            << LayoutKeys()[key].name;
}

// A settings row copied with its member left as it was would show one value in two
// controls and leave the value it was meant for without a key.
TEST(DocumentModelTest, EveryLayoutMemberHasOneKey) {
    for (int key = 0; key < static_cast<int>(LayoutKeys().size()); ++key)
        EXPECT_EQ(LayoutKeyIndex(LayoutKeys()[static_cast<std::size_t>(key)].member), key)
            << LayoutKeys()[static_cast<std::size_t>(key)].name;
}

// Values from a damaged file must reach the pages as the controls would hold them.
TEST(DocumentModelTest, DrawnValuesStayWithinTheControlsRanges) {
    LayoutSettings s;
    s.leftMarginMm = 5000;
    s.topMarginMm = -3;
    s.rightMarginMm = std::numeric_limits<double>::quiet_NaN();
    s.tileBrightness = 150;
    s.tileSaturation = -20.6;
    s.tileWidthCm = std::numeric_limits<double>::infinity();
    const LayoutSettings in = WithinRanges(s);
    EXPECT_EQ(in.leftMarginMm, 1000);
    EXPECT_EQ(in.topMarginMm, 0);
    EXPECT_EQ(in.rightMarginMm, 1000);
    EXPECT_EQ(in.tileBrightness, 100);
    EXPECT_EQ(in.tileSaturation, -21);
    EXPECT_EQ(in.tileWidthCm, 10000);
    EXPECT_EQ(in.lineWidthMm, 0.6); // values within range are kept exactly
}

} // namespace
