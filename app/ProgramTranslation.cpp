// The main window's side of the translation: start-up order, options file and
// the language menu.
#include "ProgramTranslation.h"
#include "MainWindow.h"
#include "ProgramMessages.h"
#include "TranslationEditor.h"

#include "LanguageMenu.h"
#include "MessageTable.h"
#include "TranslationSaveNote.h"
#include "TranslationStartup.h"
#include "Translator.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QLibraryInfo>
#include <QTranslator>

void InitProgramTranslation(const QString& programDir) {
    ProgramTranslator().InitTranslation(programDir);
}

void LoadProgramOptions(MainWindow& form) {
    form.languageMenu->LoadOptions(form.ProgramDir());
}

void SaveProgramOptions(MainWindow& form) {
    form.languageMenu->SaveOptions(form.ProgramDir());
}

namespace {
// Qt's own texts (the buttons of message boxes, the file dialogs) in the start language.
// English is the toolkit's own language and needs none.
void InstallToolkitTranslation(std::int32_t language) {
    static const char* const suffixes[] = {"de", nullptr, "fr", "nl"};
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    if (language < 0 || language > 3 || !suffixes[language]) return;
    if (translator.load(QStringLiteral("qtbase_") + QLatin1String(suffixes[language]),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}
} // namespace

void RunStartupTranslation(MainWindow& form) {
    StartupTranslation(&form, ProgramTranslator().storedLanguage);
    InstallToolkitTranslation(ProgramTranslator().storedLanguage);
}

void BuildLanguageMenu(MainWindow& form, QMenu* menu) {
    form.languageMenu = new LanguageMenu(menu, &form);
    QObject::connect(form.languageMenu->translateItem, &QAction::triggered, &form,
                     [&form] { form.ShowTranslateEditor(); });
    ShowFailedTranslationSaves(&form, ProgramTranslator());
}

void MainWindow::ShowTranslateEditor() {
    translationDialog->exec();
    ShowInformation(this, GetMessageText(Message::Translate), GetMessageText(Message::RestartProgram));
}
