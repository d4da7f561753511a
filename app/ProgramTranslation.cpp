// The main window's side of the translation: start-up order, options file and
// the language menu.
#include "MainUnit.h"
#include "ProgramMessages.h"

#include "LanguageMenu.h"
#include "TranslationStartup.h"
#include "translateunit.h"

#include <QAction>
#include <QDialog>

void InitProgramTranslation(const QString& progpath) {
    ProgramTranslator().InitTranslation(progpath);
}

void LoadProgramOptions(TMainForm& form) { form.languageMenu->LoadOptions(form.progpath); }

void SaveProgramOptions(TMainForm& form) { form.languageMenu->SaveOptions(form.progpath); }

void RunStartupTranslation(TMainForm& form) {
    StartupTranslation(&form, ProgramTranslator().languagesetto);
}

void BuildLanguageMenu(TMainForm& form, QMenu* menu) {
    form.languageMenu = new LanguageMenu(menu, &form);
    QObject::connect(form.languageMenu->bersetzen1, &QAction::triggered, &form,
                     [&form] { form.ShowTranslateEditor(); });
}

void TMainForm::ShowTranslateEditor() {
    if (translateForm) translateForm->exec();
    ShowInformation(this, GetMessageText(3), GetMessageText(2));
}
