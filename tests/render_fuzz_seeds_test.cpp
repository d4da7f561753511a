// The fuzzers' seeds stay meaningful: every project seed loads and draws its
// first page, and every picture seed reads, prepares and draws.
#include "CategoryPictureCache.h"
#include "Dib.h"
#include "DibConvert.h"
#include "DibFile.h"
#include "PaintToCanvas.h"
#include "ProjectFile.h"
#include "RecordingCanvas.h"
#include "StretchDib.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString Seeds(const char* folder) {
    return QStringLiteral(QUILLORA_SOURCE_DIR "/fuzz/corpus/") + QString::fromLatin1(folder);
}

// A seed that no longer loads or draws would leave its fuzzer starting from nothing.
TEST(FuzzSeeds, EveryProjectSeedDrawsItsFirstPage) {
    const QFileInfoList seeds =
        QDir(Seeds("")).entryInfoList({QStringLiteral("*.qlr")}, QDir::Files);
    ASSERT_FALSE(seeds.isEmpty());
    for (const QFileInfo& seed : seeds) {
        QFile file(seed.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ProjectReadResult read = ReadProjectFile(bytes, LayoutSettings());
        ASSERT_TRUE(read.ok()) << seed.fileName().toStdString();
        const dib none{};
        CategoryPictureCache pictures;
        PageInput input{*read.document, read.settings};
        input.background = &none;
        input.logo = &none;
        input.pictures = &pictures;
        RecordingCanvas canvas(600);
        PaintToCanvas(canvas, input, 600, input.printer.width, input.printer.height, 1, 100, true);
        EXPECT_FALSE(canvas.Ops().empty()) << seed.fileName().toStdString();
    }
}

// Picture seeds: two bytes of lightening settings, then a picture file of each kind.
TEST(FuzzSeeds, EveryPictureSeedReadsAndDraws) {
    const QFileInfoList seeds = QDir(Seeds("pictures")).entryInfoList(QDir::Files);
    ASSERT_GE(seeds.size(), 4);
    for (const QFileInfo& seed : seeds) {
        QFile file(seed.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll().mid(2);
        QBuffer buffer(&bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        dib picture{};
        ASSERT_TRUE(ReadDib(picture, buffer)) << seed.fileName().toStdString();
        ConvertDibTo24Bit(picture);
        GrayScaleDib(picture);
        LightenDib(picture, 50, 0);
        std::vector<CanvasOp> ops;
        RecordingDibDevice device(ops);
        StretchDib(device, 0, 0, 10, 10, picture, 0, 0, DibWidth(picture), DibHeight(picture));
        EXPECT_FALSE(ops.empty()) << seed.fileName().toStdString();
        FreeDib(picture);
    }
}

} // namespace
