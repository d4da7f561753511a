// The messages of failures as the window shows them: a save that fails, a
// damaged project file, a block of memory that cannot be had and a picture
// that cannot be drawn, each in the language chosen in the menu, with the
// translation table the program ships.
#include "DialogAnswerer.h"
#include "FileBytes.h"
#include "LanguageMenu.h"
#include "MainFormFixture.h"
#include "ProgramMessages.h"
#include "ProjectFileController.h"
#include "RecordArray.h"
#include "StretchDib.h"
#include "Translator.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

struct FailureMessageCase {
    const char* name;
    int language;        // the entry of the menu "Sprache", 0 "Deutsch"
    const char* save;    // a save into a missing folder, %1 the file
    const char* damaged; // a project file that ends too early
    const char* memory;  // the record array's first block of 4800 bytes
    const char* picture; // the picture drawing's failed bitmap
};

// The shipped table next to the program, as an installed program has it, and
// the core's messages routed to message boxes as the program entry does.
class FailureMessageTest : public MainFormFixture,
                           public ::testing::WithParamInterface<FailureMessageCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLORA_SHIPPED_TABLE),
                                dir.filePath(QStringLiteral("translate.dat"))));
        StartForm();
        formerDibHook = SetDibMessageHook({});
        InstallCoreMessageBoxes();
    }
    void TearDown() override {
        record_array::SetBlockAllocator(nullptr);
        record_array::SetAllocFailureHandler(nullptr);
        SetDibMessageHook(formerDibHook);
        ProgramTranslator().language = 0;
        MainFormFixture::TearDown();
    }

    DibMessageHook formerDibHook;
};

struct Record48 {
    std::array<std::uint8_t, 48> bytes;
};

// Guards English in the German program (the system's words for a failed save,
// fixed English texts shown as they are) and texts that bypass the table: every
// part of these messages comes from it, in the language chosen in the menu.
TEST_P(FailureMessageTest, FailuresSpeakTheChosenLanguage) {
    const FailureMessageCase& c = GetParam();
    if (c.language != 0) {
        QAction* entry = form->languageMenu->group->actions().at(c.language);
        AnswerMessageBox(QMessageBox::Ok, [&] { entry->trigger(); });
    }
    AppendCategory(form->document(), QStringLiteral("Neu"));
    form->document().MarkChanged();
    form->document().SetFileName(dir.filePath(QStringLiteral("missing/saved.qlr")));
    const QString save = AnswerMessageBox(
        QMessageBox::Ok, [&] { QTest::mouseClick(Child<QPushButton>("SaveBtn"), Qt::LeftButton); });
    EXPECT_EQ(save,
              QString::fromUtf8(c.save).arg(QDir::toNativeSeparators(form->document().FileName())));
    EXPECT_TRUE(form->document().IsChanged());

    const QString bad = dir.filePath(QStringLiteral("bad.qlr"));
    ASSERT_TRUE(WriteRaw(bad, QByteArray::fromHex("0500000003000000")));
    const QString damaged =
        AnswerMessageBox(QMessageBox::Ok, [&] { form->files().LoadProject(bad); });
    EXPECT_EQ(damaged, QString::fromUtf8(c.damaged));

    RecordArray<Record48> records;
    record_array::SetBlockAllocator([](std::size_t) -> void* { return nullptr; });
    const QString memory = AnswerMessageBox(QMessageBox::Ok, [&] { records.Add(); });
    record_array::SetBlockAllocator(nullptr);
    EXPECT_EQ(memory, QString::fromUtf8(c.memory));

    const QString picture = AnswerMessageBox(
        QMessageBox::Ok, [] { ShowDibMessage(QStringLiteral("Could not create bitmap.")); });
    EXPECT_EQ(picture, QString::fromUtf8(c.picture));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, FailureMessageTest,
    ::testing::Values(
        FailureMessageCase{
            "German", 0,
            "Konnte nicht in die folgende Datei speichern: %1\n\nDen Ordner gibt es nicht.",
            "Read beyond end of file",
            "Error 1 while trying to allocate 4800 bytes of RAM. Not enough memory.",
            "Could not create bitmap."},
        FailureMessageCase{"English", 1,
                           "Could not save to the following file: %1\n\nThe folder does not exist.",
                           "Read beyond end of file",
                           "Error 1 while trying to allocate 4800 bytes of RAM. Not enough memory.",
                           "Could not create bitmap."},
        FailureMessageCase{"French", 2,
                           "Impossible d'enregistrer dans le fichier suivant : %1\n\n"
                           "Le dossier n'existe pas.",
                           "Lecture au-delà de la fin du fichier",
                           "Erreur 1 lors de l'allocation de 4800 octets de mémoire vive. "
                           "Mémoire insuffisante.",
                           "Impossible de créer le bitmap."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
