#include "FileDialogs.h"

#include <QFileInfo>
#include <memory>

QFileDialog* MakeFileDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode,
                            const QString& filter, const QString& suffix) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setDefaultSuffix(suffix);
    // The filter text is kept in its pipe form so that the translation can reach it.
    dialog->setProperty("quilloraFilter", filter);
    dialog->setNameFilter(filter.section(QLatin1Char('|'), 0, 0));
    return dialog;
}

QString ChooseFile(QFileDialog& dialog) {
    const QStringList parts = dialog.property("quilloraFilter").toString().split(QLatin1Char('|'));
    if (parts.size() >= 2) dialog.setNameFilter(parts.at(0));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString AskSaveFileName(QWidget* parent, const char* name, const QString& title,
                        const QString& filter, const QString& suffix, const QString& offered) {
    const std::unique_ptr<QFileDialog> dialog(
        MakeFileDialog(parent, name, QFileDialog::AcceptSave, filter, suffix));
    if (!title.isEmpty()) dialog->setWindowTitle(title);
    if (!offered.isEmpty()) {
        const QFileInfo info(offered);
        if (info.isAbsolute()) {
            dialog->setDirectory(info.absolutePath());
            dialog->selectFile(info.fileName());
        } else {
            dialog->selectFile(offered);
        }
    }
    return ChooseFile(*dialog);
}
