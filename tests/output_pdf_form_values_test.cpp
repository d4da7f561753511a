// The parts the fillable PDF's fields are made of: numbers, text strings,
// unique names and the pipeline that hands qpdf's output to the atomic writer.
#include "AtomicFile.h"
#include "FieldNames.h"
#include "PdfFormValues.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace {

// Numbers must be plain PDF numbers: no exponent, no trailing zeros, no "-0".
TEST(PdfFormValuesTest, NumbersAreShortPdfNumbers) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0"},         {1.5, "1.5"},        {2, "2"},       {-3.25, "-3.25"},
                 {-0.0001, "0"},   {12.3456, "12.346"}, {0.12, "0.12"}, {841.89, "841.89"},
                 {1e6, "1000000"}, {99.9996, "100"}};
    for (const auto& c : cases)
        EXPECT_EQ(PdfNumber(c.value), c.text) << c.value;
}

// A text string must hold the same bytes qpdf's own conversion gives, for
// the characters stored byte for byte and for every other one.
TEST(PdfFormValuesTest, TextIsEncodedAsQpdfEncodesIt) {
    auto same = [](const QString& text) {
        return PdfText(text).getStringValue() ==
               QPDFObjectHandle::newUnicodeString(text.toUtf8().toStdString()).getStringValue();
    };
    for (char16_t u = 1; u < 0x300; ++u)
        EXPECT_TRUE(same(QStringLiteral("a") + QChar(u) + QStringLiteral("z"))) << int(u);
    for (const char* text : {"Sortiment 1: Stauden und Gehölze - Art_-Nr_ 2", "Preis in €",
                             "Größe (L)", "\\back slash", "中文", "Smile 😀", ""})
        EXPECT_TRUE(same(QString::fromUtf8(text))) << text;
}

// The second "Name" must become "Name 2", the third "Name 3", whatever other
// names were taken in between, and no name may be given twice.
TEST(PdfFormValuesTest, NamesAreMadeUnique) {
    UniqueNames names({QStringLiteral("Off")});
    const char* wanted[] = {"A", "A", "A 2", "Off", "A", "B", "A 3"};
    const char* given[] = {"A", "A 2", "A 2 2", "Off 2", "A 3", "B", "A 3 2"};
    for (std::size_t i = 0; i < std::size(wanted); ++i)
        EXPECT_EQ(names.Take(QString::fromUtf8(wanted[i])), QString::fromUtf8(given[i])) << i;
}

// What qpdf writes in small pieces, large ones and between finishes (its
// writer finishes its pipelines after every stream) must reach the file
// whole and in order.
TEST(PdfFormValuesTest, PipelineWritesEveryByteInOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    AtomicFileWriter file(path);
    ASSERT_TRUE(file.Open());
    std::string expected;
    {
        AtomicPipeline pipeline(file);
        auto put = [&](const std::string& piece) {
            pipeline.write(reinterpret_cast<const unsigned char*>(piece.data()), piece.size());
            expected += piece;
        };
        for (int i = 0; i < 20000; ++i) {
            put("obj " + std::to_string(i) + " ");
            if (i % 1000 == 0) pipeline.finish();
        }
        put(std::string(200000, 'x')); // more than a block at once
        put("tail");
        pipeline.finish();
        pipeline.Flush();
    }
    ASSERT_TRUE(file.Commit());
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().toStdString() == expected);
}

} // namespace
