#include "TranslationStartup.h"

#include "MessageTable.h"
#include "TranslateComponents.h"
#include "Translator.h"

#include <QGuiApplication>

QString StartupTranslation(QObject* root, std::int32_t storedLanguage, Translator& translator,
                           const QString& applicationTitle) {
    TranslationBatch batch(translator);
    RegisterMessages(translator);
    translator.storedLanguage = storedLanguage;
    translator.language = storedLanguage;
    if (storedLanguage != 0) TranslateComponents(root, translator);
    const QString title = translator.TranslateText(applicationTitle);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        title != QGuiApplication::applicationDisplayName())
        QGuiApplication::setApplicationDisplayName(title);
    return title;
}

QString StartupTranslation(QObject* root, std::int32_t storedLanguage) {
    return StartupTranslation(root, storedLanguage, ProgramTranslator());
}
