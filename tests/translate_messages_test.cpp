// The numbered messages: exact texts, registration and lookup.

#include "MessageTable.h"
#include "TranslationFile.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <gtest/gtest.h>

namespace {

// Guards the texts the table must hold, trailing spaces included.
TEST(MessageTableTest, TextsAreExact) {
    const std::pair<int, QString> samples[] = {
        {1, u"Konte die folgende Datei nicht öffnen: "_qs},
        {2, u"Bitte schließen Sie das Program und starten Sie es neu."_qs},
        {3, u"Übersetzen"_qs},
        {4, u"Importiert wird in die gewählte Kategorie. Die erste Spalte soll den Produktnamen "
            u"enthalten. Die zweite Spalte die Produktbezeichnung. "_qs},
        {10, u"Wollen Sie die folgende Kategorie und alle enthaltenden Formularfelder wirklich "
             u"endgültig löschen: "_qs},
        {15, u"Art. Nummer"_qs},
        {23, u"unbenannt"_qs},
        {28, u"Wollen Sie diese Zeile löschen?"_qs},
        {29, u"test.qlr"_qs},
    };
    for (const auto& [n, text] : samples)
        EXPECT_EQ(MessageTable(n), text) << n;
    for (int n = 1; n <= kMessageCount; ++n)
        EXPECT_FALSE(MessageTable(n).isEmpty()) << n;
}

// Guards registration on an empty table: exactly the 29 messages, in order,
// each stored without its trailing space, and the file written.
TEST(MessageTableTest, RegisterAppendsAllMessagesInOrder) {
    ProgramDirs dirs;
    Translator t;
    t.InitTranslation(dirs.ProgPath());
    RegisterMessages(t);
    TranslationTable disk;
    ASSERT_EQ(ReadTranslationBytes(ReadAll(dirs.InProg("translate.dat")), disk), kMessageCount);
    for (int n = 1; n <= kMessageCount; ++n)
        EXPECT_EQ(disk.Cell(n - 1, 0), MessageTable(n).trimmed()) << n;
    RegisterMessages(t);
    EXPECT_EQ(t.RowCount(), kMessageCount);
}

// Guards GetMessageText: translated in the current language with the text's
// own trailing space; numbers outside 1..29 leave the caller's text alone.
TEST(MessageTableTest, GetMessageTextTranslatesAndIgnoresOtherNumbers) {
    ProgramDirs dirs;
    Translator t;
    t.InitTranslation(dirs.ProgPath());
    RegisterMessages(t);
    t.SetTranslationCell(0, 1, u"Could not open the following file:"_qs);
    t.language = 1;
    QString text = u"kept"_qs;
    ASSERT_TRUE(GetMessageText(1, text, t));
    EXPECT_EQ(text, u"Could not open the following file: "_qs);
    for (int n : {0, 30, -1}) {
        text = u"kept"_qs;
        EXPECT_FALSE(GetMessageText(n, text, t));
        EXPECT_EQ(text, u"kept"_qs);
    }
    EXPECT_EQ(t.RowCount(), kMessageCount);
}

} // namespace
