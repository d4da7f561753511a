#pragma once
// The translation work of the main window's first showing.

#include <QObject>
#include <QString>
#include <cstdint>

class Translator;

// Registers every message, makes storedLanguage the current language,
// translates every object below root when that language is not German, and
// looks the application title up (in every language). The translated title
// becomes the application's display name when it differs; it is returned.
// All rows appended meanwhile are written to "translate.dat" in one go.
QString StartupTranslation(QObject* root, std::int32_t storedLanguage, Translator& translator,
                           const QString& applicationTitle = QStringLiteral("Quillora"));
QString StartupTranslation(QObject* root, std::int32_t storedLanguage);
