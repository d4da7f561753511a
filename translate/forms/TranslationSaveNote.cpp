#include "TranslationSaveNote.h"

#include "Translator.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>

void ShowFailedTranslationSaves(QMainWindow* window, Translator& translator) {
    const QPointer<QMainWindow> shown(window);
    translator.SetSaveStateHandler([shown, &translator](bool saved) {
        if (!shown) return;
        QStatusBar* bar = shown->statusBar();
        const QString name = QStringLiteral("TranslationSaveNote");
        auto* note = bar->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
        if (saved) {
            if (note) note->hide();
            return;
        }
        if (!note) {
            note = new QLabel(bar);
            note->setObjectName(name);
            bar->addWidget(note, 1);
        }
        // The lookup may append the text, whose save fails again without a second note.
        note->setText(translator.TranslateText(
            QStringLiteral("Die Übersetzungstabelle konnte nicht gespeichert werden. Ihre "
                           "Änderungen gelten nur bis zum Ende des Programms.")));
        note->show();
        bar->show(); // made now, in a window already shown
    });
}
