#include "FilenameEditBox.h"

#include "DibFile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include <limits>

FilenameEditBox::FilenameEditBox(QWidget* parent)
    : QWidget(parent), edit(new QLineEdit(this)), button(new QToolButton(this)) {
    edit->setObjectName(QStringLiteral("edit"));
    edit->setAccessibleName(QStringLiteral("Dateiname:"));
    edit->setMaxLength(std::numeric_limits<int>::max()); // no name is cut

    button->setObjectName(QStringLiteral("browse"));
    button->setText(QStringLiteral("..."));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(edit, 1);
    layout->addWidget(button);
    setFocusProxy(edit);
    connect(edit, &QLineEdit::textChanged, this, &FilenameEditBox::fileNameChanged);
    connect(button, &QToolButton::clicked, this, &FilenameEditBox::browse);
}

QString FilenameEditBox::fileName() const {
    return edit->text();
}

void FilenameEditBox::setFileName(const QString& name) {
    edit->setText(name);
}

void FilenameEditBox::browse() {
    QString startDir;
    const QFileInfo current(ResolvePicturePath(fileName()));
    if (!fileName().isEmpty() && current.absoluteDir().exists())
        startDir = current.absoluteFilePath();
    QFileDialog dialog(this, title, startDir, PipeFilterToQt(pipeFilter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty()) setFileName(QDir::toNativeSeparators(chosen.first()));
}
