// Nothing lost when the program ends without saving: the recovery copy of an
// edited project, offered at the next start after a kill or an exception, and
// gone after a save or a clean exit.
#include "DialogAnswerer.h"
#include "DocumentEdits.h"
#include "MainWindow.h"
#include "ProjectFileController.h"
#include "RecoveryCopy.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

class RecoveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(prog.isValid() && config.isValid());
        oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        // The program's name names its folder in the configuration folder.
        oldName = QApplication::applicationName();
        QApplication::setApplicationName(QStringLiteral("Quillora"));
    }
    void TearDown() override {
        if (window) window->document().MarkUnchanged();
        window.reset();
        QApplication::setApplicationName(oldName);
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    }
    // The child program with the same configuration folder; it has edited once `wait` is printed.
    void StartChild(QProcess& child, const char* mode, const QString& wait) {
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(RECOVERY_CHILD), {QString::fromLatin1(mode), prog.path()});
        ASSERT_TRUE(child.waitForStarted());
        QByteArray out;
        while (!out.contains(wait.toUtf8()) && child.waitForReadyRead(20000))
            out += child.readAllStandardOutput();
        output = QString::fromUtf8(out);
        ASSERT_TRUE(output.contains(wait)) << output.toStdString();
    }
    // A new window started as the program starts, answering the recovery offer with `button`.
    void StartWindow(const char* button) {
        DialogAnswerer answer([button](QWidget* w) {
            ASSERT_EQ(w->objectName(), QStringLiteral("RecoveryOffer"));
            w->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        });
        window = std::make_unique<MainWindow>(prog.path(), QStringList{});
        window->show();
        answer.Verify();
    }
    QStringList CopiesLeft() const {
        return QDir(config.filePath(QStringLiteral("Quillora/recovery")))
            .entryList({QStringLiteral("*.qlr")}, QDir::Files);
    }

    QTemporaryDir prog, config;
    QByteArray oldConfig;
    QString oldName, output;
    std::unique_ptr<MainWindow> window;
};

// Guards against losing every unsaved edit when the program is killed.
TEST_F(RecoveryTest, AKilledProgramsEditsAreOfferedAndRestored) {
    QProcess child;
    StartChild(child, "edit", QStringLiteral("written "));
    child.kill(); // SIGKILL: nothing of the program runs after it
    ASSERT_TRUE(child.waitForFinished());
    ASSERT_EQ(CopiesLeft().size(), 1);

    StartWindow("RestoreBtn");
    const Document& doc = window->document();
    ASSERT_EQ(doc.CategoryCount(), 1);
    EXPECT_EQ(doc.CategoryName(0), QStringLiteral("Gerettet"));
    ASSERT_EQ(doc.FieldCount(0), 1);
    EXPECT_EQ(doc.FieldValuesAt(0, 0).name, QStringLiteral("Menge"));
    EXPECT_TRUE(doc.IsChanged()); // restored, not saved
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("*]")));
    EXPECT_TRUE(CopiesLeft().isEmpty()); // the offered copy is taken
}

// Guards against a copy that comes back at every start once thrown away.
TEST_F(RecoveryTest, AThrownAwayCopyIsGone) {
    QProcess child;
    StartChild(child, "edit", QStringLiteral("written "));
    child.kill();
    ASSERT_TRUE(child.waitForFinished());
    StartWindow("DiscardBtn");
    EXPECT_EQ(window->document().CategoryCount(), 0);
    EXPECT_TRUE(CopiesLeft().isEmpty());
}

// Guards against offering the copy of a program that still runs, or an old
// copy after the edits were saved or the program closed cleanly.
TEST_F(RecoveryTest, SaveAndCleanExitRemoveTheCopyAndARunningProgramKeepsIt) {
    QProcess running;
    StartChild(running, "edit", QStringLiteral("written "));
    window = std::make_unique<MainWindow>(prog.path(), QStringList{}); // no offer: it still runs
    window->show();
    RecoveryCopy& copy = window->recoveryCopy();
    copy.SetDelays(10, 100);
    QSignalSpy written(&copy, &RecoveryCopy::written);
    AppendCategory(window->document(), QStringLiteral("K"));
    ASSERT_TRUE(written.wait(5000));
    EXPECT_TRUE(QFileInfo::exists(copy.CopyPath()));
    window->document().SetFileName(prog.filePath(QStringLiteral("saved.qlr")));
    window->files().saveProject();
    EXPECT_FALSE(QFileInfo::exists(copy.CopyPath()));

    AppendCategory(window->document(), QStringLiteral("L"));
    ASSERT_TRUE(written.wait(5000));
    DialogAnswerer no = DialogAnswerer::Press(QMessageBox::No); // do not save
    window->close();
    no.Verify();
    EXPECT_FALSE(QFileInfo::exists(copy.CopyPath()));
    EXPECT_EQ(CopiesLeft().size(), 1); // the running program's own
    running.kill();
    running.waitForFinished();
}

// Guards against an exception in an event handler ending the program silently and losing the edits.
TEST_F(RecoveryTest, AnUncaughtExceptionSavesTellsAndEndsWithAFailure) {
    QProcess child;
    StartChild(child, "throw", QStringLiteral("message "));
    ASSERT_TRUE(child.waitForFinished(20000));
    output += QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 70);
    EXPECT_TRUE(output.contains(QStringLiteral("message UncaughtExceptionMessage Ein unerwarteter Fehler")))
        << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("gesichert"))) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("still running")));

    StartWindow("RestoreBtn");
    ASSERT_EQ(window->document().CategoryCount(), 1);
    EXPECT_EQ(window->document().CategoryName(0), QStringLiteral("Gerettet"));
}
