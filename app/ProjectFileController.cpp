#include "ProjectFileController.h"

#include "Document.h"
#include "FileDialogs.h"
#include "FileFailure.h"
#include "MessageTable.h"
#include "ProgramMessages.h"
#include "ProjectFile.h"
#include "RecentFiles.h"
#include "Translator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {
const char* const kProjectFilter = "Quillora (*.qlr)|*.qlr";
} // namespace

ProjectFileController::ProjectFileController(Document& document, QWidget* window,
                                             const QString& programDir)
    : QObject(window), doc(document), window(window), programDir(programDir) {
    sampleOffer = new QTimer(this);
    sampleOffer->setObjectName(QStringLiteral("Timer1"));
    sampleOffer->setInterval(1000);
    sampleOffer->setSingleShot(true);
    connect(sampleOffer, &QTimer::timeout, this, &ProjectFileController::OfferSampleProject);
    OpenFileDialog();
    SaveFileDialog();
}

QFileDialog* ProjectFileController::OpenFileDialog() {
    if (!openDialog)
        openDialog = MakeFileDialog(window, "OpenDialog2", QFileDialog::AcceptOpen,
                                    QString::fromLatin1(kProjectFilter), QStringLiteral("qlr"));
    return openDialog;
}

QFileDialog* ProjectFileController::SaveFileDialog() {
    if (!saveDialog)
        saveDialog = MakeFileDialog(window, "SaveDialog1", QFileDialog::AcceptSave,
                                    QString::fromLatin1(kProjectFilter), QStringLiteral("qlr"));
    return saveDialog;
}

void ProjectFileController::BuildRecentFilesMenu(QMenu* menu) {
    recent = new RecentFiles(
        menu, programDir, [this](const QString& name) { SwitchToProject(name); }, window);
}

void ProjectFileController::newProject() {
    if (QuerySaveChanges()) NewAll();
}

void ProjectFileController::openProject() {
    if (QuerySaveChanges()) ChooseAndLoadProject();
}

void ProjectFileController::saveProject() {
    SaveAskingNameIfNone();
}

void ProjectFileController::saveProjectAs() {
    const QString name = ChooseFile(*SaveFileDialog());
    if (name.isEmpty()) return;
    doc.SetFileName(name);
    if (WriteProject()) doc.MarkUnchanged();
}

void ProjectFileController::NewAll() {
    doc.NewAll();
    doc.SetFileName(QString());
    doc.MarkUnchanged();
}

bool ProjectFileController::QuerySaveChanges() {
    if (!doc.IsChanged()) return true;
    switch (AskYesNoCancel(window, GetMessageText(Message::Save), GetMessageText(Message::SaveQuestion))) {
    case Answer::Yes:
        return SaveAskingNameIfNone();
    case Answer::No:
        return true;
    case Answer::Cancel:
        return false;
    }
    return false;
}

bool ProjectFileController::LoadProject(const QString& name) {
    ProjectReadResult result = ReadProjectFileFromPath(name, doc.layout());
    if (result.status == ProjectReadStatus::CannotOpen) return false;
    if (!result.ok()) {
        // A damaged file leaves the open document, its name and its changed mark alone.
        ShowError(window, QApplication::applicationName(), TranslateText(result.reason));
        return false;
    }
    // All values arrive at once: the pictures are prepared once for them.
    doc.Reset(std::move(result.document), result.settings);
    doc.SetFileName(name);
    doc.MarkUnchanged();
    if (recent) recent->Add(name);
    return true;
}

bool ProjectFileController::ChooseAndLoadProject() {
    const QString name = ChooseFile(*OpenFileDialog());
    return name.isEmpty() ? false : LoadProject(name);
}

bool ProjectFileController::WriteProject() {
    FileFailure failure;
    if (WriteProjectFile(doc.FileName(), doc.form(), doc.layout(), &failure)) {
        if (recent) recent->Add(doc.FileName());
        return true;
    }
    ReportFileFailure(window, QStringLiteral("Konnte nicht in die folgende Datei speichern: "),
                      doc.FileName(), failure);
    return false;
}

bool ProjectFileController::SaveAskingNameIfNone() {
    if (doc.FileName().isEmpty()) {
        const QString name = ChooseFile(*SaveFileDialog());
        if (name.isEmpty()) return false;
        doc.SetFileName(name);
    }
    const bool saved = WriteProject();
    if (saved) doc.MarkUnchanged();
    return saved;
}

bool ProjectFileController::LoadRequestedProject(const QString& name) {
    QFile file(name);
    // The user asked for this file: one that cannot be read is named.
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) {
        ShowError(window, QApplication::applicationName(),
                  GetMessageText(Message::CannotOpenFile) + QDir::toNativeSeparators(name));
        return false;
    }
    file.close();
    return LoadProject(name);
}

void ProjectFileController::SwitchToProject(const QString& name) {
    if (QuerySaveChanges()) LoadRequestedProject(name);
}

void ProjectFileController::StartUp(const QStringList& commandLine) {
    // The sample project is offered only to a start without a file of its own.
    if (commandLine.isEmpty())
        sampleOffer->start();
    else
        LoadRequestedProject(commandLine.first());
}

void ProjectFileController::OfferSampleProject() {
    sampleOffer->stop();
    if (AskYesNo(window, GetMessageText(Message::OpenSample), GetMessageText(Message::OpenSampleQuestion)))
        LoadProject(GetMessageText(Message::SampleFileName));
}

QString ProjectFileController::DraggedProjectFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().first();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".qlr"), Qt::CaseInsensitive) ? path : QString();
}
