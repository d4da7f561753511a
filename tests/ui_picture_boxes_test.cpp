// The file-name box with its browse button, and the picture preview box.
#include "DialogAnswerer.h"
#include "FileDialogInput.h"

#include "DibFile.h"
#include "DibPaintBox.h"
#include "FilenameEditBox.h"

#include <QFileDialog>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Browsing takes the chosen file; cancelling keeps the name the box showed before.
TEST(FilenameEditBoxTest, BrowseTakesTheChoiceAndCancelKeepsTheName) {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("pic.png"));
    ASSERT_TRUE(QImage(2, 2, QImage::Format_RGB32).save(picture));
    FilenameEditBox box;
    box.setFilter(PictureOpenFilter());
    box.setFileName(QStringLiteral("before.bmp"));
    int changes = 0;
    QObject::connect(&box, &FilenameEditBox::fileNameChanged, [&] { ++changes; });

    DialogAnswerer cancel(DialogAnswerer::RejectAnswer());
    box.browse();
    cancel.Verify();
    EXPECT_EQ(box.fileName(), QStringLiteral("before.bmp"));
    EXPECT_EQ(changes, 0);

    DialogAnswerer choose([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->nameFilters().isEmpty());
        TypeFileName(dialog, picture);
    });
    box.browse();
    choose.Verify();
    EXPECT_EQ(box.fileName(), picture);
    EXPECT_EQ(changes, 1);
}

// The preview box takes the picture's own size and shows its pixels; empty shows nothing.
TEST(DibPaintBoxTest, ShowsThePictureAtItsOwnSize) {
    QTemporaryDir dir;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    image.setPixel(4, 2, qRgb(250, 0, 0));
    const QString path = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(image.save(path));
    dib record{};
    ASSERT_TRUE(OpenDibFile(record, path));
    DibPaintBox box;
    box.setDib(&record);
    box.pictureChanged();
    EXPECT_EQ(box.size(), QSize(5, 3));
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(10, 200, 30));
    EXPECT_EQ(shown.pixel(4, 2), qRgb(250, 0, 0));
    FreeDib(record);
    box.pictureChanged();
    box.grab(); // an empty record draws nothing and must not touch freed memory
}

} // namespace
