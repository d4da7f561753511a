// The main window's start in a stored language, and the language menu's choice
// surviving a restart.
#include "DialogAnswerer.h"
#include "DocumentEdits.h"
#include "MainWindow.h"
#include "PreparedProject.h"

#include "LanguageMenu.h"
#include "TranslationFile.h"
#include "TranslationTable.h"
#include "MessageTable.h"
#include "Translator.h"

#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<MainWindow> StartIn(const QTemporaryDir& dir) {
    auto form = std::make_unique<MainWindow>(dir.path(), QStringList());
    form->show();
    form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    return form;
}

// A German start must add the messages and the application title to the table, no window text.
TEST(MainFormLanguageTest, GermanStartWritesOnlyMessagesAndTitle) {
    QTemporaryDir dir;
    auto form = StartIn(dir);
    TranslationTable table;
    ReadTranslationBytes(ReadFile(dir.filePath(QStringLiteral("translate.dat"))), table);
    ASSERT_EQ(table.RowCount(), 30);
    // Rows hold the key: the text without its leading and trailing spaces.
    EXPECT_EQ(table.Cell(0, 0), QStringLiteral("Konte die folgende Datei nicht öffnen:"));
    EXPECT_EQ(table.Cell(28, 0), QStringLiteral("test.qlr"));
    EXPECT_EQ(table.Cell(29, 0), QStringLiteral("Quillora"));
    EXPECT_EQ(form->menuBar()->actions().first()->text(), QStringLiteral("&Datei"));
}

// A start with English stored shows the windows in English where the table has texts.
TEST(MainFormLanguageTest, EnglishStartTranslatesTheWindows) {
    QTemporaryDir dir;
    TranslationTable table;
    const std::pair<const char*, const char*> english[] = {
        {"Datei", "File"},
        {"Felder", "Fields"},
        {"Beenden", "Exit"},
        {"Torvane Quillora 1.0", "Torvane Quillora 1.0 (English)"},
        {"unbenannt", "untitled"},
        {"Kategorie", "Category"},
        {"Schriftart für Kopfzeile...", "Header font..."},
        {"Zurück...", "Back..."}};
    for (const auto& [de, en] : english) {
        std::array<QString, kTranslationColumns> row;
        row[0] = QString::fromUtf8(de);
        row[1] = QString::fromUtf8(en);
        table.AppendRow(row);
    }
    WriteFile(dir.filePath(QStringLiteral("translate.dat")), TranslationBytes(table));
    WriteFile(dir.filePath(QStringLiteral("options.dat")), QByteArray::fromHex("01000000"));
    auto form = StartIn(dir);
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Torvane Quillora 1.0 (English) - [untitled.qlr]"));
    EXPECT_EQ(form->menuBar()->actions().first()->text(), QStringLiteral("&File"));
    EXPECT_EQ(form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabText(0),
              QStringLiteral("Fields"));
    EXPECT_EQ(form->findChild<QPushButton*>(QStringLiteral("EndeBtn"))->text(),
              QStringLiteral("Exit"));
    EXPECT_EQ(form->findChild<QPushButton*>(QStringLiteral("BitBtnXP1"))->text(),
              QStringLiteral("Header font..."));
    // The dialogs that exist at start are translated too, before they are ever shown.
    EXPECT_TRUE(form->languageMenu->english->isChecked());
    form->document().MarkUnchanged();
}

// Choosing English and closing must store 01 00 00 00; the next start comes up in English.
TEST(MainFormLanguageTest, ChosenLanguageIsStoredAtClose) {
    QTemporaryDir dir;
    {
        auto form = StartIn(dir);
        AnswerMessageBox(QMessageBox::Ok, [&] { form->languageMenu->english->trigger(); });
        EXPECT_EQ(ProgramTranslator().language, 1);
        EXPECT_EQ(form->menuBar()->actions().first()->text(), QStringLiteral("&Datei"));
        EXPECT_TRUE(form->close());
    }
    EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("options.dat"))),
              QByteArray::fromHex("01000000"));
    auto again = StartIn(dir);
    EXPECT_TRUE(again->languageMenu->english->isChecked());
    EXPECT_EQ(ProgramTranslator().language, 1);
    again->document().MarkUnchanged();
}

} // namespace
