// The document's selection follows every edit: it never names a place that is
// gone, it moves with what it selected, and it tells the views once the
// change is complete.
#include "Document.h"
#include "DocumentEdits.h"

#include <gtest/gtest.h>
#include <functional>

namespace {
// Three categories of four fields; category 1 selected with its fields 1 and 3.
void ThreeByFour(Document& doc) {
    for (int c = 0; c < 3; ++c) {
        AppendCategory(doc, QStringLiteral("K%1").arg(c));
        for (int f = 0; f < 4; ++f)
            AppendField(doc, c, fkText, QStringLiteral("F%1").arg(f), 1, 1);
    }
    doc.selection().Select(1, {3, 1});
}
} // namespace

// Guards against a selection that keeps pointing at a place an edit moved or removed.
TEST(SelectionTest, FollowsEveryEdit) {
    const struct {
        const char* edit;
        std::function<void(Document&)> apply;
        int category;
        QList<int> fields;
    } cases[] = {
        {"category inserted before", [](Document& d) { d.InsertCategory(0, TakenCategory::Make(u"N"_qs)); }, 2, {1, 3}},
        {"category inserted after", [](Document& d) { d.InsertCategory(2, TakenCategory::Make(u"N"_qs)); }, 1, {1, 3}},
        {"selected category removed", [](Document& d) { d.TakeCategory(1); }, -1, {}},
        {"category before removed", [](Document& d) { d.TakeCategory(0); }, 0, {1, 3}},
        {"selected category moved down", [](Document& d) { d.MoveCategory(1, 2); }, 2, {1, 3}},
        {"category moved over it", [](Document& d) { d.MoveCategory(2, 0); }, 2, {1, 3}},
        {"field inserted between", [](Document& d) { d.InsertField(1, 2, TakenField::Make(fkText, u"n"_qs, 1, 1)); }, 1, {1, 4}},
        {"field inserted elsewhere", [](Document& d) { d.InsertField(0, 0, TakenField::Make(fkText, u"n"_qs, 1, 1)); }, 1, {1, 3}},
        {"selected field removed", [](Document& d) { d.TakeField(1, 3); }, 1, {1}},
        {"field before removed", [](Document& d) { d.TakeField(1, 0); }, 1, {0, 2}},
        {"selected field moved up", [](Document& d) { d.MoveField(1, 3, 0); }, 1, {0, 2}},
        {"every category gone", [](Document& d) { d.NewAll(); }, -1, {}},
        {"file opened", [](Document& d) {
             auto form = std::make_unique<FormDocument>();
             AppendCategory(*form, u"X"_qs);
             d.Reset(std::move(form), d.layout());
         }, 0, {}},
    };
    for (const auto& c : cases) {
        Document doc;
        ThreeByFour(doc);
        int told = 0;
        QObject::connect(&doc.selection(), &Selection::changed, &doc, [&] { ++told; });
        int seenDuringChange = -2;
        // A view told of the structural signal reads a place that exists already.
        QObject::connect(&doc, &Document::contentChanged, &doc,
                         [&] { seenDuringChange = doc.selection().Category(); });
        c.apply(doc);
        EXPECT_EQ(doc.selection().Category(), c.category) << c.edit;
        EXPECT_TRUE(SameRows(doc.selection().Fields(), c.fields)) << c.edit;
        EXPECT_EQ(seenDuringChange, c.category) << c.edit;
        const bool moved = c.category != 1 || !SameRows(c.fields, {1, 3});
        EXPECT_EQ(told, moved ? 1 : 0) << c.edit;
    }
}

// Guards against selecting a place that does not exist.
TEST(SelectionTest, OnlyPlacesThatExistAreSelected) {
    Document doc;
    ThreeByFour(doc);
    doc.selection().Select(7, {0});
    EXPECT_EQ(doc.selection().Category(), -1);
    EXPECT_TRUE(doc.selection().Fields().isEmpty());
    doc.selection().Select(2, {9, 2, -1, 2});
    EXPECT_EQ(doc.selection().Category(), 2);
    EXPECT_EQ(doc.selection().Fields(), QList<int>{2});
    EXPECT_EQ(doc.selection().Field(), 2);
}
