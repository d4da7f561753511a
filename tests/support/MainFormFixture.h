#pragma once
// A main window in a fresh program directory, shown, with its dialogs and with
// the sample-project offer switched off (it is tested on its own).

#include "CategoryDialog.h"
#include "DocumentEdits.h"
#include "MainWindow.h"
#include "MoveFieldsDialog.h"
#include "PreparedProject.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

class MainFormFixture : public ::testing::Test {
  protected:
    void SetUp() override { StartForm(); }
    void TearDown() override {
        if (!form) return;
        form->document().MarkUnchanged(); // no unsaved-changes question while closing
        form.reset();
    }
    void StartForm(const QStringList& arguments = {}) {
        ASSERT_TRUE(dir.isValid());
        form = std::make_unique<MainWindow>(dir.path(), arguments);
        form->show();
        form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    }
    // The default logo next to the program, so that pages draw a picture.
    void PutDefaultLogo() {
        QFile::copy(QStringLiteral(QUILLORA_SOURCE_DIR "/images/logo torvane200x200.gif"),
                    dir.filePath(QStringLiteral("logo torvane200x200.gif")));
    }
    template <typename T> T* Child(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> form;
};
