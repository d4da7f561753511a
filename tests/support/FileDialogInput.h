#pragma once
// Answering a file dialog as a user would: the full name typed into its name box,
// then the dialog accepted. (Selecting in its file list depends on the list
// having been read in the background, which makes tests flaky.)

#include <QFileDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

inline void TypeFileName(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    QMetaObject::invokeMethod(dialog, "accept");
}
