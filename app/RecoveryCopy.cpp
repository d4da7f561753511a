#include "RecoveryCopy.h"

#include "AtomicFile.h"
#include "MessageTable.h"
#include "Document.h"
#include "ProgramFiles.h"
#include "ProjectFile.h"
#include "Translator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <future>

namespace {
QString RecoveryFolder() {
    return UserFilePath(QStringLiteral("recovery"));
}

QString SidePath(const QString& copy, const char* suffix) {
    return copy.left(copy.size() - 4) + QLatin1String(suffix);
}
} // namespace

RecoveryCopy::RecoveryCopy(Document& document, QObject* parent)
    : QObject(parent), doc(document), folder(RecoveryFolder()), afterTyping(new QTimer(this)),
      atTheLatest(new QTimer(this)) {
    afterTyping->setSingleShot(true);
    atTheLatest->setSingleShot(true);
    SetDelays(2000, 30000);
    connect(afterTyping, &QTimer::timeout, this, &RecoveryCopy::WriteInBackground);
    connect(atTheLatest, &QTimer::timeout, this, &RecoveryCopy::WriteInBackground);
    connect(&doc, &Document::contentChanged, this, &RecoveryCopy::Schedule);
    connect(&doc, &Document::changedStateChanged, this, [this](bool changed) {
        if (changed)
            Schedule();
        else
            Remove();
    });
}

RecoveryCopy::~RecoveryCopy() {
    // Ended in order (a crash or a kill never gets here): nothing to recover.
    Remove();
}

void RecoveryCopy::SetDelays(int typing, int latest) {
    afterTyping->setInterval(typing);
    atTheLatest->setInterval(latest);
}

QString RecoveryCopy::CopyPath() const {
    if (folder.isEmpty()) return {};
    return QDir(folder).filePath(QString::number(QCoreApplication::applicationPid()) +
                                 QStringLiteral(".qlr"));
}

QString RecoveryCopy::NamePath() const {
    return SidePath(CopyPath(), ".name");
}

void RecoveryCopy::Schedule() {
    afterTyping->start(); // again after every change: never while typing
    if (!atTheLatest->isActive()) atTheLatest->start();
}

void RecoveryCopy::WriteInBackground() {
    afterTyping->stop();
    atTheLatest->stop();
    if (!doc.IsChanged() || CopyPath().isEmpty()) return;
    if (!lock) {
        QDir().mkpath(folder);
        lock = std::make_unique<QLockFile>(SidePath(CopyPath(), ".lock"));
        if (!lock->tryLock(0)) {
            lock.reset();
            return;
        }
    }
    // The bytes are taken here, as the document is now; only the disk waits elsewhere.
    QByteArray bytes = SerializeProject(doc.form(), doc.layout());
    QByteArray name = doc.FileName().toUtf8();
    WaitForPendingWrite();
    pendingWrite = std::async(std::launch::async, [this, copy = CopyPath(), side = NamePath(),
                                                   bytes = std::move(bytes),
                                                   name = std::move(name)] {
        if (!WriteFileAtomically(side, name) || !WriteFileAtomically(copy, bytes)) return;
        // Announced on the window's thread; this object waits for the write before it goes.
        QMetaObject::invokeMethod(this, [this, copy] { emit written(copy); }, Qt::QueuedConnection);
    });
}

void RecoveryCopy::WaitForPendingWrite() {
    if (pendingWrite.valid()) pendingWrite.wait();
}

bool RecoveryCopy::WriteNow() {
    afterTyping->stop();
    atTheLatest->stop();
    WaitForPendingWrite();
    if (!doc.IsChanged() || CopyPath().isEmpty()) return false;
    QDir().mkpath(folder);
    return WriteFileAtomically(NamePath(), doc.FileName().toUtf8()) &&
           WriteFileAtomically(CopyPath(), SerializeProject(doc.form(), doc.layout()));
}

void RecoveryCopy::Remove() {
    afterTyping->stop();
    atTheLatest->stop();
    WaitForPendingWrite();
    if (CopyPath().isEmpty()) return;
    QFile::remove(CopyPath());
    QFile::remove(NamePath());
}

std::optional<RecoveryCopy::LeftCopy> RecoveryCopy::FindLeftCopy() {
    const QString dir = RecoveryFolder();
    if (dir.isEmpty()) return std::nullopt;
    const QString own = QString::number(QCoreApplication::applicationPid());
    const QFileInfoList copies =
        QDir(dir).entryInfoList({QStringLiteral("*.qlr")}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        if (copy.completeBaseName() == own) continue;
        // A copy whose program still runs holds its lock; a dead program's lock is stale.
        QLockFile owner(SidePath(copy.filePath(), ".lock"));
        if (!owner.tryLock(0)) continue;
        owner.unlock();
        QFile name(SidePath(copy.filePath(), ".name"));
        QString project;
        if (name.open(QIODevice::ReadOnly)) project = QString::fromUtf8(name.read(64 * 1024));
        return LeftCopy{copy.filePath(), project};
    }
    return std::nullopt;
}

void RecoveryCopy::RemoveLeftCopy(const LeftCopy& copy) {
    QFile::remove(copy.path);
    QFile::remove(SidePath(copy.path, ".name"));
    QFile::remove(SidePath(copy.path, ".lock"));
}

bool RecoveryCopy::OfferLeftCopy(QWidget* parent, Document& document) {
    const std::optional<LeftCopy> left = FindLeftCopy();
    if (!left) return false;
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                    TranslateText(QStringLiteral(
                        "Das Programm wurde beim letzten Mal beendet, ohne die Änderungen zu "
                        "speichern. Es hat eine Sicherungskopie des Formulars aufbewahrt:")) +
                        QStringLiteral("\n\n") +
                        (left->projectName.isEmpty() ? GetMessageText(Message::Untitled) + QStringLiteral(".qlr")
                                                     : QDir::toNativeSeparators(left->projectName)),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("RecoveryOffer"));
    QPushButton* restore =
        box.addButton(TranslateText(QStringLiteral("Wiederherstellen")), QMessageBox::AcceptRole);
    restore->setObjectName(QStringLiteral("RestoreBtn"));
    QPushButton* discard =
        box.addButton(TranslateText(QStringLiteral("Verwerfen")), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("DiscardBtn"));
    box.setDefaultButton(restore);
    // Closed without a choice: the copy stays for the next start.
    box.exec();
    if (box.clickedButton() == discard) {
        RemoveLeftCopy(*left);
        return false;
    }
    if (box.clickedButton() != restore) return false;
    ProjectReadResult read = ReadProjectFileFromPath(left->path, document.layout());
    if (!read.ok()) {
        RemoveLeftCopy(*left);
        return false;
    }
    document.Reset(std::move(read.document), read.settings);
    document.SetFileName(left->projectName);
    document.MarkChanged();
    RemoveLeftCopy(*left);
    return true;
}
