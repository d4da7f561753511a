// The prepared project as views meet it: whoever draws while the document is
// still announcing a change (told of it before the project was) must get the
// pages of the document as it is now, never pages laid out from places kept
// before the change.
#include "Document.h"
#include "DocumentEdits.h"
#include "PageImage.h"
#include "PreparedProject.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {
constexpr int kDpi = 96;

// Several pages of categories of many fields.
void LongForm(Document& doc, int categories) {
    for (int c = 0; c < categories; ++c) {
        AppendCategory(doc, QStringLiteral("Kategorie %1").arg(c));
        for (int f = 0; f < 12 + 3 * c; ++f)
            AppendField(doc, c, static_cast<FieldKind>(f % 3), QStringLiteral("Feld %1").arg(f), 4,
                        c % 2 ? 2.5 : 1);
    }
}

// Where the last field of the last category lands, and how many pages there are.
std::pair<int, int> Places(PreparedProject& project) {
    const PageInput input = project.Input();
    const Document& doc = project.document();
    const int last = doc.CategoryCount() - 1;
    const int page = last < 0 ? 1 : PageOfPlace(input, kDpi, 100, last, doc.FieldCount(last) - 1);
    return {page, PageCountUpTo(input, kDpi, 100, 1000)};
}
} // namespace

// Guards against a view that follows the selection drawing from page starts
// kept before a category moved or went, a file opened or a margin changed.
TEST(PreparedProjectTest, ADrawingDuringAChangeSeesTheDocumentAsItIsNow) {
    QTemporaryDir dir;
    const std::pair<const char*, std::function<void(Document&)>> edits[] = {
        {"first category moved down", [](Document& d) { d.MoveCategory(0, 3); }},
        {"first category removed", [](Document& d) { d.TakeCategory(0); }},
        {"tall field inserted before the selected one",
         [](Document& d) { d.InsertField(2, 0, TakenField::Make(fkText, QStringLiteral("Neu"), 4, 9)); }},
        {"another file opened",
         [](Document& d) {
             Document other;
             LongForm(other, 2);
             auto form = std::make_unique<FormDocument>();
             for (int c = 0; c < 2; ++c) {
                 AppendCategory(*form, other.CategoryName(c));
                 for (int f = 0; f < other.FieldCount(c); ++f)
                     AppendField(*form, c, fkCheckBox, QStringLiteral("x"), 3, 1);
             }
             d.Reset(std::move(form), d.layout());
         }},
        {"top margin widened",
         [](Document& d) {
             d.SetLayoutValue(LayoutKeyOf(&LayoutSettings::topMarginMm), d.layout().topMarginMm + 40);
         }},
    };
    for (const auto& [name, edit] : edits) {
        Document doc;
        LongForm(doc, 6);
        PreparedProject project(doc, dir.path());
        doc.selection().Select(2, {1});
        Places(project); // every page start kept
        std::vector<std::pair<int, int>> seen;
        auto look = [&] { seen.push_back(Places(project)); };
        // Told before the project of every change, as a view of the selection is.
        QObject::connect(&doc.selection(), &Selection::changed, &project, look);
        QObject::connect(&project, &PreparedProject::changed, &project, look);
        edit(doc);
        PreparedProject fresh(doc, dir.path());
        ASSERT_FALSE(seen.empty()) << name;
        for (const auto& places : seen)
            EXPECT_EQ(places, Places(fresh)) << name;
    }
}
