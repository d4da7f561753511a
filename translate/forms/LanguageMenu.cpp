#include "LanguageMenu.h"

#include "MessageTable.h"
#include "OptionsFile.h"
#include "Translator.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>

namespace {
struct EntryText {
    const char16_t* caption;
    const char* objectName;
};
constexpr std::array<EntryText, 4> kEntries = {{
    {u"Deutsch", "Deutsch1"},
    {u"English", "English1"},
    {u"Français", "Franais1"},
    {u"Nederlands", "Nederlands1"},
}};
} // namespace

LanguageMenu::LanguageMenu(QMenu* menu, QWidget* dialogParent, Translator& translator)
    : QObject(menu), dialogParent(dialogParent), translator(translator) {
    group = new QActionGroup(menu);
    group->setExclusive(true);
    QAction** entries[] = {&german, &english, &french, &dutch};
    for (std::int32_t n = 0; n < 4; ++n) {
        QAction* entry = menu->addAction(QString::fromUtf16(kEntries[std::size_t(n)].caption));
        entry->setObjectName(QString::fromLatin1(kEntries[std::size_t(n)].objectName));
        entry->setCheckable(true);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, n] { ChooseLanguage(n); });
        *entries[n] = entry;
    }
    german->setChecked(true);
    menu->addSeparator();
    translateItem = menu->addAction(QStringLiteral("Übersetzen..."));
    translateItem->setObjectName(QStringLiteral("bersetzen1"));
}

LanguageMenu::LanguageMenu(QMenu* menu, QWidget* dialogParent)
    : LanguageMenu(menu, dialogParent, ProgramTranslator()) {}

QAction* LanguageMenu::Entry(std::int32_t n) const {
    switch (n) {
    case 0:
        return german;
    case 1:
        return english;
    case 2:
        return french;
    case 3:
        return dutch;
    default:
        return nullptr;
    }
}

void LanguageMenu::CheckLanguage(std::int32_t n) {
    dontchlang = true;
    QAction* entry = Entry(n);
    (entry ? entry : german)->setChecked(true);
    dontchlang = false;
}

void LanguageMenu::LoadOptions(const QString& programDir) {
    translator.storedLanguage = 0;
    translator.language = 0;
    CheckLanguage(0);
    translator.storedLanguage = ::LoadOptions(programDir);
    CheckLanguage(translator.storedLanguage);
}

bool LanguageMenu::SaveOptions(const QString& programDir) const {
    return ::SaveOptions(programDir, translator.language);
}

void LanguageMenu::ChooseLanguage(std::int32_t n) {
    if (dontchlang) return;
    if (QAction* entry = Entry(n)) entry->setChecked(true);
    translator.language = n;
    QString title, text;
    GetMessageText(Message::Translate, title, translator);
    GetMessageText(Message::RestartProgram, text, translator);
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, dialogParent);
    box.exec();
}
