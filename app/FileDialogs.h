#pragma once
// The program's file dialogs: one set-up for the project's open and save
// dialogs and for the one-off save dialogs of printing into a file and the
// exports, so that every dialog filters, names and suffixes alike.

#include <QFileDialog>
#include <QString>

// A file dialog named name (its objectName). filter is in its pipe form,
// "caption|pattern" (as the translation table holds it); suffix is added to a
// name typed without one.
QFileDialog* MakeFileDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode,
                            const QString& filter, const QString& suffix);
// Runs dialog; the chosen file, or an empty text when the user cancels.
QString ChooseFile(QFileDialog& dialog);
// Asks for a file to write with a one-off save dialog, offering offered (a
// path, or empty). title may be empty for the dialog's own.
QString AskSaveFileName(QWidget* parent, const char* name, const QString& title,
                        const QString& filter, const QString& suffix, const QString& offered);
