// The translation table shipped with the program: every text a window shows
// has its English, French and Dutch, and a fresh installation started in each
// of these languages shows no German text.

#include "DialogAnswerer.h"
#include "FontSettingButton.h"
#include "MessageTable.h"
#include "OrderWorkbook.h"
#include "ProgramWindows.h"
#include "ProjectFile.h"
#include "RecordArray.h"
#include "TranslationFile.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QString kShippedTable = QStringLiteral(QUILLORA_SHIPPED_TABLE);

// Texts the program looks up in code when something happens, beside the
// windows' texts and the numbered messages.
const QStringList kTextsLookedUpInCode = {
    // The recovery copy offered at start, and an error that ends the program.
    QStringLiteral("Das Programm wurde beim letzten Mal beendet, ohne die Änderungen zu "
                   "speichern. Es hat eine Sicherungskopie des Formulars aufbewahrt:"),
    QStringLiteral("Wiederherstellen"),
    QStringLiteral("Verwerfen"),
    QStringLiteral("Ein unerwarteter Fehler ist aufgetreten. Das Programm muss beendet werden."),
    QStringLiteral("Die Änderungen wurden gesichert und werden beim nächsten Start zum "
                   "Wiederherstellen angeboten."),
    QStringLiteral("Drucker einrichten"),
    QStringLiteral("Konnte nicht in die folgende Datei drucken: "),
    QStringLiteral("Der Drucker konnte nicht gestartet werden."),
    QStringLiteral("Drucken"),
    QStringLiteral("Abbrechen"),
    QStringLiteral("Seite wird gedruckt:"),
    QStringLiteral("von"),
    QStringLiteral("Die Datei gibt es nicht mehr; sie wurde aus der Liste entfernt:"),
    QStringLiteral("Als ausfüllbares PDF exportieren"),
    QStringLiteral("Konnte nicht in die folgende Datei exportieren: "),
    QStringLiteral("Die Übersetzungstabelle konnte nicht gespeichert werden. Ihre Änderungen "
                   "gelten nur bis zum Ende des Programms."),
    // Failed saves, exports and reads: the lead, then the reason.
    QStringLiteral("Konnte nicht in die folgende Datei speichern: "),
    QStringLiteral("Der PDF-Drucker konnte nicht gestartet werden."),
    QStringLiteral("Die Formularfelder konnten nicht in die PDF-Datei eingefügt werden."),
    QStringLiteral("In diesen Ordner kann nicht geschrieben werden."),
    QStringLiteral("Auf dem Datenträger ist nicht genug Platz."),
    QStringLiteral("Die Datei ist zu groß für diesen Datenträger."),
    QStringLiteral("Den Ordner gibt es nicht."),
    QStringLiteral("Unter diesem Namen gibt es schon einen Ordner."),
    QStringLiteral("Der Name der Datei ist zu lang."),
    QStringLiteral("Beim Schreiben der Datei ist ein Fehler aufgetreten."),
    QStringLiteral("Beim Lesen der Datei ist ein Fehler aufgetreten."),
    QStringLiteral("Nicht genug Arbeitsspeicher, um die Datei zu lesen."),
    // The window of returned orders and why a returned file is not taken.
    QStringLiteral("Bestellungen einsammeln"),
    QStringLiteral("Dateien wählen..."),
    QStringLiteral("Ordner wählen..."),
    QStringLiteral("Nicht übernommene Dateien:"),
    QStringLiteral("Trennzeichen:"),
    QStringLiteral("Komma (,)"),
    QStringLiteral("Semikolon (;)"),
    QStringLiteral("Tabulator"),
    QStringLiteral("Schließen"),
    QStringLiteral("Bestellungen werden eingelesen..."),
    QStringLiteral("Bestellungen speichern"),
    QStringLiteral("Datei"),
    QStringLiteral("Summe"),
    QStringLiteral("Die Datei kann nicht geöffnet werden."),
    QStringLiteral("Die Datei ist keine lesbare PDF-Datei."),
    QStringLiteral("Die Datei ist kein ausfüllbares Formular dieses Programms."),
    QStringLiteral("Die Datei wurde aus einem anderen Formular oder aus einer anderen Fassung "
                   "dieses Formulars erstellt."),
    QStringLiteral("Die Datei enthält keines der Felder des Formulars."),
    QStringLiteral("Die Datei enthält mehrere Felder mit demselben Namen."),
    QStringLiteral("Ein Feld der Datei enthält zu viel Text."),
    QStringLiteral("Der Ordner enthält keine PDF-Dateien."),
    QStringLiteral("Die Datei gibt es nicht."),
    QStringLiteral("Die Formularfelder fehlen (gedruckt oder flach gespeichert): Bitten Sie um "
                   "die gespeicherte Datei, oder drucken Sie sie aus und scannen Sie sie ein."),
    QStringLiteral("Die Seite ist zu groß, um gelesen zu werden."),
    // The order table as a workbook, and opening it.
    QStringLiteral("Bestellungen"),
    QStringLiteral("Nicht übernommen"),
    QStringLiteral("Grund"),
    QStringLiteral("Arbeitsmappe (*.xlsx)"),
    QStringLiteral("Tabelle öffnen"),
    QStringLiteral("Für diese Datei ist kein Programm eingerichtet:"),
    QString::fromUtf8(kTableTooLargeForWorkbook),
    // Why a scanned or photographed page is not taken.
    QStringLiteral("Die vier Eckmarken sind nicht alle auf dem Bild (abgeschnitten, verdeckt "
                   "oder zu unscharf)."),
    QStringLiteral("Die Eckmarken passen nicht zum Seitencode (ein gebogenes oder gefaltetes "
                   "Blatt?)."),
    QStringLiteral("Die Kästchen liegen nicht dort, wo die Eckmarken sie erwarten lassen."),
    QStringLiteral("Die Kästchen haben keinen gedruckten Rand, und die Seite ist zu schräg "
                   "aufgenommen oder die vier Eckmarken passen nicht genau genug, um sie zu "
                   "lesen."),
    QStringLiteral("Diese Seite dieses Bogens kam schon einmal zurück; sie wird nicht "
                   "übernommen."),
    QStringLiteral("Das HEIF-Foto kann nicht gelesen werden."),
    // Whether an order came back whole.
    QStringLiteral("Vollständig"),
    QStringLiteral("ja"),
    QStringLiteral("nein"),
    QStringLiteral("Nicht alle Seiten kamen zurück: ihre Felder sind leer"),
    // What the page beside the fields says of the selection.
    QStringLiteral("Feld"),
    QStringLiteral("Kategorie"),
    QStringLiteral("Seite"),
    // The fixed English messages of the reader, the record array and the picture drawing.
    QString::fromLatin1(kReadBeyondEndOfFile),
    QString::fromStdString(record_array::AllocFailureLead(1)),
    QString::fromStdString(record_array::AllocFailureLead(2)),
    QString::fromStdString(record_array::AllocFailureLead(3)),
    QString::fromLatin1(record_array::kAllocFailureTail),
    QStringLiteral("Could not create bitmap."),
    QStringLiteral("The device does not support the Funtkion setdibits!"),
    QStringLiteral("The device does not support the function StretchBlt!"),
};

QByteArray OptionsFor(int language) {
    return QByteArray(1, char(language)) + QByteArray(3, '\0');
}

struct ShippedTable {
    ShippedTable() {
        ReadTranslationBytes(ReadAll(kShippedTable), table);
        for (int r = 0; r < table.RowCount(); ++r)
            if (!rowOf.contains(table.Cell(r, 0))) rowOf.insert(table.Cell(r, 0), r);
    }
    int Row(const QString& text) const { return rowOf.value(text.trimmed(), -1); }
    TranslationTable table;
    QHash<QString, int> rowOf;
};

QString Escaped(QString text) {
    return text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\t', QStringLiteral("\\t"));
}

// Opens the first font dialog of the layout tab, lets `inside` see it, and cancels it.
void WithFontDialog(MainWindow& form, const std::function<void(QWidget*)>& inside) {
    auto* button = form.findChild<FontSettingButton*>();
    ASSERT_NE(button, nullptr);
    DialogAnswerer answer([&inside](QWidget* dialog) {
        inside(dialog);
        DialogAnswerer::RejectAnswer()(dialog);
    });
    button->click();
    answer.Verify();
}

} // namespace

// Guards against a window, dialog or message that ships with a text lacking its
// English, French or Dutch: the start in a language on an empty table looks up
// every window text (as the start-up translation does), and each must be in
// the shipped table with all three translations.
TEST(ShippedTableTest, EveryTextLookedUpHasEnglishFrenchAndDutch) {
    ProgramDirs dirs;
    ASSERT_TRUE(WriteAll(dirs.InProg("options.dat"), OptionsFor(1)));
    QStringList looked;
    {
        ProgramWindows windows(dirs.ProgPath());
        ASSERT_EQ(ProgramTranslator().language, 1);
        WithFontDialog(*windows.form, [](QWidget*) {});
        const Translator& t = ProgramTranslator();
        for (int r = 0; r < t.RowCount(); ++r)
            looked << t.Cell(r, 0);
    }
    ASSERT_GT(looked.size(), kMessageCount + 50);
    looked << kTextsLookedUpInCode;

    const ShippedTable shipped;
    ASSERT_GT(shipped.table.RowCount(), 0) << kShippedTable.toStdString();
    QStringList missing;
    for (const QString& text : looked) {
        const int row = shipped.Row(text);
        bool complete = row >= 0;
        for (int language = 1; complete && language <= 3; ++language)
            complete = !shipped.table.Cell(row, language).trimmed().isEmpty();
        if (!complete && !missing.contains(Escaped(text.trimmed())))
            missing << Escaped(text.trimmed());
    }
    EXPECT_TRUE(missing.isEmpty())
        << "Texts without English, French or Dutch in translate/table/translations.tsv:\n"
        << missing.join(u'\n').toStdString();
}

class FreshInstallationTest : public ::testing::TestWithParam<int> {};

// Guards against German left in a fresh installation started in English, French
// or Dutch: the program folder holds only the program, the shipped table lies
// in share/quillora, and every window, dialog and message shows the language.
TEST_P(FreshInstallationTest, ShowsNoGermanText) {
    const int language = GetParam();
    ProgramDirs dirs;
    const QString bin = dirs.prog.filePath(QStringLiteral("bin"));
    const QString share = dirs.prog.filePath(QStringLiteral("share/quillora"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
    ASSERT_TRUE(QFile::copy(kShippedTable, share + QStringLiteral("/translate.dat")));
    ASSERT_TRUE(WriteAll(bin + QStringLiteral("/options.dat"), OptionsFor(language)));
    const ShippedTable shipped;

    ProgramWindows windows(bin + u'/');
    MainWindow& form = *windows.form;
    ASSERT_EQ(ProgramTranslator().language, language);
    QStringList shown = ShownTexts(&form);
    WithFontDialog(form, [&shown](QWidget* dialog) { shown << ShownTexts(dialog); });
    for (int n = 1; n <= kMessageCount; ++n)
        shown << GetMessageText(n);
    for (const QString& text : kTextsLookedUpInCode)
        shown << TranslateText(text);

    // The walk reached the menus, the dialogs and the font dialog.
    for (const char* text : {"Datei", "Abbrechen", "Kategorie bearbeiten", "Farbe:"})
        EXPECT_TRUE(
            shown.contains(shipped.table.Cell(shipped.Row(QString::fromUtf8(text)), language)))
            << text;

    QStringList german;
    for (const QString& text : shown) {
        const int row = shipped.Row(text);
        if (row < 0) continue;
        if (shipped.table.Cell(row, language).trimmed() != text.trimmed()) german << text.trimmed();
    }
    german.removeDuplicates();
    EXPECT_TRUE(german.isEmpty()) << "German texts shown in language " << language << ":\n"
                                  << german.join(u'\n').toStdString();
    // Qt's own buttons and dialogs speak the language too.
    const char* const cancel[] = {"Abbrechen", "Cancel", "Annuler", "Annuleren"};
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
              QString::fromUtf8(cancel[language]));
    // Nothing the start looked up was missing from the shipped table.
    EXPECT_EQ(ProgramTranslator().RowCount(), shipped.table.RowCount());
    EXPECT_FALSE(QFile::exists(bin + QStringLiteral("/translate.dat")));
}

INSTANTIATE_TEST_SUITE_P(EnglishFrenchDutch, FreshInstallationTest, ::testing::Values(1, 2, 3));
