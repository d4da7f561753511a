#include "TranslationStartup.h"

#include "MessageTable.h"
#include "TranslateComponents.h"
#include "Translator.h"

#include <QGuiApplication>

QString StartupTranslation(QObject* root, std::int32_t languagesetto, Translator& translator,
                           const QString& applicationTitle) {
    TranslationBatch batch(translator);
    RegisterMessages(translator);
    translator.languagesetto = languagesetto;
    translator.language = languagesetto;
    if (languagesetto != 0) TranslateComponents(root, translator);
    const QString title = translator.TranslateText(applicationTitle);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        title != QGuiApplication::applicationDisplayName())
        QGuiApplication::setApplicationDisplayName(title);
    return title;
}

QString StartupTranslation(QObject* root, std::int32_t languagesetto) {
    return StartupTranslation(root, languagesetto, ProgramTranslator());
}
