// Scanned returns as files, at every resolution promised (150, 300 and 600
// dpi), grey and colour, read from the file into the order table; images
// beyond the pixel cap are named too large, with their size.
#include "DocumentEdits.h"
#include "OrderCollection.h"
#include "ScanFile.h"
#include "ScannedReturns.h"

#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ScanFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const int drinks = AppendCategory(doc, QStringLiteral("Getränke"));
        for (const char* name : {"Wasser", "Saft", "Kaffee"})
            AppendField(doc, drinks, fkCheckBox, QString::fromUtf8(name), 4, 0.6);
        const int size = AppendCategory(doc, QStringLiteral("Größe"));
        for (const char* name : {"S", "M", "L"})
            AppendField(doc, size, fkSingleChoice, QString::fromUtf8(name), 3, 0.6);
        print = PrintWithMarks(doc, settings);
        ASSERT_EQ(print.pages, 1);
        form = MakeOrderForm(doc, settings);
        paper = std::make_unique<PaperForm>(form, PageInput{doc, settings});
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    // The page at dpi with a tick in Saft and in M, in colour or grey.
    QImage Scan(int dpi, bool grey) {
        QImage page = RasterisePage(print.pdf, 1, dpi);
        for (const DrawnField* field : print.fields.OnPage(1))
            if (field->label == QStringLiteral("Saft") || field->label == QStringLiteral("M"))
                DrawPenMark(page, field->box, dpi, PenMark::Tick);
        return grey ? page.convertToFormat(QImage::Format_Grayscale8) : page;
    }

    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings;
    MarkedPrint print;
    OrderForm form;
    std::unique_ptr<PaperForm> paper;
};

struct ScanFileCase {
    int dpi;
    bool grey;
    const char* format;
};

class ScanResolutionTest : public ScanFilesTest,
                           public ::testing::WithParamInterface<int> {};

// A scan refused or misread at a promised resolution: grey and colour JPEG
// (and PNG) files at the resolution are read into the exact row; a grey
// file is decoded as 8-bit grey, not as 32-bit pixels.
TEST_P(ScanResolutionTest, GreyAndColourFilesAreRead) {
    const int dpi = GetParam();
    const ScanFileCase cases[] = {{dpi, true, "jpg"}, {dpi, false, "jpg"}, {dpi, true, "png"}};
    for (const ScanFileCase& c : cases) {
        const QString what = QStringLiteral("%1 dpi %2 %3")
                                 .arg(c.dpi)
                                 .arg(c.grey ? QStringLiteral("grey") : QStringLiteral("colour"),
                                      QLatin1String(c.format));
        const QString path = Path(QStringLiteral("scan-%1-%2.%3")
                                      .arg(c.dpi)
                                      .arg(c.grey ? 1 : 0)
                                      .arg(QLatin1String(c.format)));
        QImageWriter writer(path);
        writer.setQuality(85);
        ASSERT_TRUE(writer.write(Scan(c.dpi, c.grey))) << what.toStdString();
        {
            ScanFile file(path);
            ReturnRejection why;
            ASSERT_TRUE(file.Open(&why)) << what.toStdString();
            const QImage decoded = file.Page(0, &why);
            ASSERT_FALSE(decoded.isNull())
                << what.toStdString() << ": " << why.english.toStdString();
            if (c.grey) EXPECT_EQ(decoded.format(), QImage::Format_Grayscale8) << what.toStdString();
        }
        const OrderCollection got = CollectOrders(form, {path}, {}, {}, {paper.get()});
        for (const RejectedInput& r : got.rejected)
            ADD_FAILURE() << what.toStdString() << ": " << r.rejection.english.toStdString();
        ASSERT_EQ(got.table.RowCount(), 1) << what.toStdString();
        EXPECT_EQ(got.table.Row(0).mid(1).join(u','), QStringLiteral("0,1,0,0,1,0"))
            << what.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Promised, ScanResolutionTest, ::testing::Values(150, 300, 600),
                         [](const auto& info) { return std::to_string(info.param) + "dpi"; });

// An image beyond the pixels a page may have is refused as too large, with
// its size, before it is decoded; one just within is read.
TEST_F(ScanFilesTest, TooLargeImagesSayTheirSize) {
    const struct {
        int width, height;
        bool tooLarge;
    } cases[] = {{kMaxScanSide + 1, 16, true}, {9000, 9000, true}, {8000, 9900, false}};
    for (const auto& c : cases) {
        QImage image(c.width, c.height, QImage::Format_Grayscale8);
        image.fill(255);
        const QString path = Path(QStringLiteral("big-%1x%2.png").arg(c.width).arg(c.height));
        ASSERT_TRUE(image.save(path));
        image = QImage();
        ScanFile file(path);
        ReturnRejection why;
        ASSERT_TRUE(file.Open(&why));
        const QImage page = file.Page(0, &why);
        const QString size = QStringLiteral("%1 x %2 pixels").arg(c.width).arg(c.height);
        if (c.tooLarge) {
            EXPECT_TRUE(page.isNull()) << size.toStdString();
            EXPECT_TRUE(why.english.contains(QStringLiteral("too large")) &&
                        why.english.contains(size))
                << why.english.toStdString();
            EXPECT_EQ(why.reason, QStringLiteral("Die Seite ist zu groß, um gelesen zu werden."));
        } else {
            EXPECT_EQ(page.size(), QSize(c.width, c.height)) << why.english.toStdString();
        }
    }
}

// Phone photos in HEIC were not read at all: a HEIC made by libheif's own
// encoder, found in a folder by its extension, must give the exact row; a
// cut-off HEIC and a file that only bears the name are refused with a reason.
TEST_F(ScanFilesTest, HeicPhotosAreReadAndBrokenOnesRefused) {
    const QString encoder = QStandardPaths::findExecutable(QStringLiteral("heif-enc"));
    ASSERT_FALSE(encoder.isEmpty()) << "heif-enc (libheif-examples) is not installed";
    const QString png = Path(QStringLiteral("photo.png"));
    ASSERT_TRUE(Scan(150, false).save(png));
    const QString in = Path(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    const QString heic = in + QStringLiteral("/photo.heic");
    QProcess encode;
    encode.start(encoder, {QStringLiteral("-q"), QStringLiteral("85"), QStringLiteral("-p"),
                           QStringLiteral("preset=ultrafast"), png, QStringLiteral("-o"), heic});
    ASSERT_TRUE(encode.waitForFinished(120000));
    ASSERT_EQ(encode.exitCode(), 0) << encode.readAllStandardError().constData();
    QFile whole(heic);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const struct {
        const char* name;
        QByteArray bytes;
        const char* reason;
    } broken[] = {{"cut.heic", bytes.left(bytes.size() / 2), "HEIF photo that cannot be read"},
                  {"named.heic", QByteArray(4000, 'x'), "neither a PDF file nor an image"}};
    for (const auto& b : broken) {
        QFile file(in + QLatin1Char('/') + QLatin1String(b.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(b.bytes);
    }
    const OrderCollection got = CollectOrders(form, {in}, {}, {}, {paper.get()});
    ASSERT_EQ(got.table.RowCount(), 1);
    EXPECT_EQ(got.table.Row(0).join(u','), QStringLiteral("photo.heic,0,1,0,0,1,0"));
    ASSERT_EQ(got.rejected.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(got.rejected[i].path.endsWith(QLatin1String(broken[i].name)));
        EXPECT_TRUE(got.rejected[i].rejection.english.contains(QLatin1String(broken[i].reason)))
            << got.rejected[i].rejection.english.toStdString();
    }
}

} // namespace
