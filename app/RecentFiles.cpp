#include "RecentFiles.h"

#include "ProgramMessages.h"
#include "ProgramSettings.h"
#include "Translator.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {
const QString kRecentKey = QStringLiteral("recentFiles");
} // namespace

RecentFiles::RecentFiles(QMenu* recentMenu, const QString& programPath,
                         std::function<void(const QString&)> openFile, QWidget* parent)
    : QObject(parent), menu(recentMenu), programDir(programPath), open(std::move(openFile)),
      window(parent) {
    setObjectName(QStringLiteral("RecentFiles"));
    const ProgramSettings settings(programDir);
    for (const QString& file : settings.Value(kRecentKey).toStringList())
        if (!file.isEmpty() && !files.contains(file) && files.size() < kMaxFiles) files << file;
    Rebuild();
}

void RecentFiles::Add(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    files.removeAll(file);
    files.prepend(file);
    while (files.size() > kMaxFiles)
        files.removeLast();
    Store();
}

void RecentFiles::Remove(const QString& path) {
    files.removeAll(path);
    Store();
}

void RecentFiles::Choose(const QString& path) {
    if (QFileInfo(path).isFile()) {
        open(path);
        return;
    }
    Remove(path);
    ShowError(window, QApplication::applicationName(),
              TranslateText(QStringLiteral(
                  "Die Datei gibt es nicht mehr; sie wurde aus der Liste entfernt:")) +
                  QStringLiteral("\n") + QDir::toNativeSeparators(path));
}

void RecentFiles::Store() {
    ProgramSettings(programDir).SetValue(kRecentKey, files);
    Rebuild();
}

void RecentFiles::Rebuild() {
    // The entry chosen may be the one running: the old entries go when it is done.
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->setObjectName(QString());
        old->deleteLater();
    }
    for (int i = 0; i < files.size(); ++i) {
        QString shown = QDir::toNativeSeparators(files[i]);
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        action->setObjectName(QStringLiteral("ZuletztGeoeffnetDatei%1").arg(i + 1));
        // A file name is no text for the translation table.
        action->setProperty("quilloraFileName", true);
        const QString file = files[i];
        connect(action, &QAction::triggered, this, [this, file] { Choose(file); });
    }
    menu->setEnabled(!files.isEmpty());
}
