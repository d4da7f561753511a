#include "MessageTable.h"

#include "Translator.h"

namespace {
// Trailing spaces are part of the texts.
const char16_t* const kMessages[kMessageCount] = {
    u"Konte die folgende Datei nicht öffnen: ",
    u"Bitte schließen Sie das Program und starten Sie es neu.",
    u"Übersetzen",
    u"Importiert wird in die gewählte Kategorie. Die erste Spalte soll den Produktnamen "
    u"enthalten. Die zweite Spalte die Produktbezeichnung. ",
    u"Die dritte Spalte den Dateinamen fürs Produktbild. Die weitereren Spalten sollen den "
    u"Voreinstellungen für die Varianten-Spalten entsprechen (Reiter: Voreinstellungen).",
    u"Import",
    u"Bitte wählen Sie zunächst eine Kategorie, in welche die Produkte importiert werden sollen",
    u"Importieren",
    u"Konnte das Bild nicht laden.",
    u"Wollen Sie die folgende Kategorie und alle enthaltenden Formularfelder wirklich "
    u"endgültig löschen: ",
    u"Kategorie löschen",
    u"Die Datei wurde noch nicht gespeichert. Wollen Sie jetzt speichern?",
    u"Speichern",
    u"Name",
    u"Art. Nummer",
    u"Preis",
    u"Ab 10 Stk.",
    u"Ab 100 Stk.",
    u"Neues Produkt",
    u"Formular drucken",
    u"Wollen Sie alle Produkte alphabetisch sortieren?",
    u"Sortieren",
    u"unbenannt",
    u"Wollen Sie die Test Projektdatei öffnen lassen?",
    u"Testdatei öffnen?",
    u"Suchen",
    u"Nochmal suchen?",
    u"Wollen Sie diese Zeile löschen?",
    u"test.qlr",
};
} // namespace

QString MessageTable(int n) {
    if (n < 1 || n > kMessageCount) return {};
    return QString::fromUtf16(kMessages[n - 1]);
}

bool GetMessageText(int n, QString& text, Translator& translator) {
    if (n < 1 || n > kMessageCount) return false;
    text = translator.TranslateText(MessageTable(n));
    return true;
}

bool GetMessageText(int n, QString& text) {
    return GetMessageText(n, text, ProgramTranslator());
}

QString GetMessageText(int n) {
    QString text;
    GetMessageText(n, text);
    return text;
}

QString GetMessageText(Message message) {
    return GetMessageText(static_cast<int>(message));
}

void GetMessageText(Message message, QString& text, Translator& translator) {
    GetMessageText(static_cast<int>(message), text, translator);
}

void RegisterMessages(Translator& translator) {
    for (int n = 1; n <= kMessageCount; ++n)
        translator.TranslateText(MessageTable(n));
}

void RegisterMessages() {
    RegisterMessages(ProgramTranslator());
}
