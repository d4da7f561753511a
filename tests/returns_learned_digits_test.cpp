// Learning from the review: the numbers people type in for boxes of one hand
// teach the reader that hand, are kept in a folder for the next run, and
// wrong ones never make other writers' clear digits read wrong.
#include "HandDigits.h"
#include "StrokeWriter.h"
#include "TextBoxReading.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

const QString kModel = QStringLiteral(QUILLORA_SOURCE_DIR "/data/digits.model");

// A hand whose long-flagged 1 and crossed 7 the model alone doubts.
const QStringList kNumbers{"17", "71", "7", "1", "117", "711", "77", "11", "171", "7"};

struct Batch {
    int typed = 0, right = 0, wrong = 0;
};

// Reads one batch of the hand's boxes, then, as the review does, learns what
// is typed in for those not read.
Batch ReadBatch(HandNumberReader& reader, unsigned seed) {
    StrokeWriter hand(seed, 0.0);
    Batch batch;
    std::vector<std::pair<QImage, QString>> typed;
    for (const QString& number : kNumbers) {
        const QImage box = hand.Box(number, 360, 110);
        const BoxNumber read = reader.Read(box);
        if (read.kind == BoxNumber::Kind::Number) {
            batch.right += read.text == number;
            batch.wrong += read.text != number;
        } else {
            typed.emplace_back(box, number);
        }
    }
    batch.typed = static_cast<int>(typed.size());
    for (const auto& [box, number] : typed) EXPECT_TRUE(reader.Learn(box, number)) << number.toStdString();
    return batch;
}

// Guards: numbers typed in during the review are not learned, not kept for
// the next run, or do not make that hand's next batch need less typing.
TEST(LearnedDigits, CorrectedHandIsReadInTheNextBatch) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("learned-digits"));
    const std::shared_ptr<HandNumberReader> reader = HandNumberReader::Load(kModel, folder);
    ASSERT_TRUE(reader);
    const Batch first = ReadBatch(*reader, 1);
    std::printf("first batch: %d typed, %d read\n", first.typed, first.right);
    EXPECT_GE(first.typed, 8);
    EXPECT_EQ(first.wrong, 0);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.png")}).size(), first.typed);
    // The next run reads the kept boxes back.
    const std::shared_ptr<HandNumberReader> later = HandNumberReader::Load(kModel, folder);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->Learned().SampleCount(), reader->Learned().SampleCount());
    const Batch second = ReadBatch(*later, 2);
    std::printf("second batch: %d typed, %d read\n", second.typed, second.right);
    EXPECT_LE(second.typed, 2);
    EXPECT_EQ(second.wrong, 0);
}

QImage OneDigitBox(const cv::Mat& cell) {
    QImage box(200, 100, QImage::Format_RGB32);
    box.fill(QColor(240, 240, 240));
    WriteDigits(box, QRectF(60, 20, 60, 60), {cell}, QColor(30, 30, 30));
    return box;
}

// Guards: a wrong number typed in (a slip, or on purpose) turning another
// writer's clearly written digit into a sure wrong number.
TEST(LearnedDigits, WrongCorrectionsNeverMisreadClearDigits) {
    const QImage sheet = DigitSheet();
    ASSERT_FALSE(sheet.isNull()) << "install opencv-doc";
    const std::shared_ptr<HandNumberReader> plain = HandNumberReader::Load(kModel, QString());
    ASSERT_TRUE(plain);
    for (int shift : {1, 3, 7}) {
        const std::shared_ptr<HandNumberReader> misled = HandNumberReader::Load(kModel, QString());
        for (int d = 0; d < 10; ++d)
            for (int col = 0; col < 40; ++col)
                misled->Learn(OneDigitBox(HeldOutDigit(sheet, d, col)), QString::number((d + shift) % 10));
        ASSERT_GT(misled->Learned().SampleCount(), 300);
        int clear = 0, stillRead = 0;
        for (int d = 0; d < 10; ++d)
            for (int col = 50; col < 100; ++col) {
                const QImage box = OneDigitBox(HeldOutDigit(sheet, d, col));
                const BoxNumber before = plain->Read(box);
                if (before.kind != BoxNumber::Kind::Number || before.text != QString::number(d)) continue;
                ++clear;
                const BoxNumber after = misled->Read(box);
                EXPECT_TRUE(after.kind != BoxNumber::Kind::Number || after.text == before.text)
                    << d << " at " << col << " read " << after.text.toStdString();
                stillRead += after.kind == BoxNumber::Kind::Number;
            }
        std::printf("taught wrong by %d: %d of %d clear digits still read\n", shift, stillRead, clear);
    }
}

// Guards: a damaged, foreign or mislabelled file in the folder, or text that
// is no number, crashing the reader or teaching it; a typed number that does
// not pair up with the box's characters lost.
TEST(LearnedDigits, BadSamplesAreNotLearned) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    StrokeWriter hand(3, 0.0);
    QFile damaged(dir.filePath(QStringLiteral("0001-damaged.png")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG\r\n\x1a\nnot really");
    damaged.close();
    ASSERT_TRUE(hand.Box(QStringLiteral("17"), 360, 110).save(dir.filePath(QStringLiteral("0002-unlabelled.png"))));
    QImage words = hand.Box(QStringLiteral("17"), 360, 110);
    words.setText(QStringLiteral("quillora-number"), QStringLiteral("Meier"));
    ASSERT_TRUE(words.save(dir.filePath(QStringLiteral("0003-words.png"))));
    QImage miscounted = hand.Box(QStringLiteral("17"), 360, 110);
    miscounted.setText(QStringLiteral("quillora-number"), QStringLiteral("170"));
    ASSERT_TRUE(miscounted.save(dir.filePath(QStringLiteral("0004-miscounted.png"))));
    const std::shared_ptr<HandNumberReader> reader = HandNumberReader::Load(kModel, dir.path());
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Learned().SampleCount(), 0);
    const qsizetype files = QDir(dir.path()).entryList(QDir::Files).size();
    for (const QString& text : {QStringLiteral("Meier"), QString()})
        EXPECT_FALSE(reader->Learn(hand.Box(QStringLiteral("17"), 360, 110), text));
    EXPECT_FALSE(reader->Learn(QImage(), QStringLiteral("1")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), files);
    // A number whose digits do not pair up with the box's characters is kept, not learned.
    EXPECT_FALSE(reader->Learn(hand.Box(QStringLiteral("17"), 360, 110), QStringLiteral("170")));
    EXPECT_EQ(reader->Learned().SampleCount(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), files + 1);
}

} // namespace
