// The reading of hand-written quantities: digits the classifier never saw in
// training (whole rows of OpenCV's sample sheet, whole writers of
// scikit-learn's set), numbers made of them in other sizes, slants and pens,
// digits drawn here in fonts and with the continental 1 and 7, empty boxes and
// words. Whatever is accepted must be right; what is unsure may stay unsure.

#include "BoxNumber.h"
#include "DigitClassifier.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <random>
#include <vector>

namespace {

const QString kDigitSheet = QStringLiteral("/usr/share/doc/opencv-doc/examples/data/digits.png");
const QString kModel = QStringLiteral(QUILLORA_SOURCE_DIR "/data/digits.model");

const DigitClassifier& Classifier() {
    static const DigitClassifier classifier = [] {
        QString error;
        std::optional<DigitClassifier> loaded = DigitClassifier::Load(kModel, &error);
        if (!loaded) {
            ADD_FAILURE() << error.toStdString();
            std::abort();
        }
        return *loaded;
    }();
    return classifier;
}

// A held-out cell of the sample sheet as ink 0..1 (the sheet is white on black).
cv::Mat SheetCell(const QImage& sheet, int row, int col) {
    cv::Mat ink(20, 20, CV_32F);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ink.at<float>(y, x) = qGray(sheet.pixel(col * 20 + x, row * 20 + y)) / 255.0f;
    return ink;
}

QImage Sheet() {
    QImage sheet(kDigitSheet);
    EXPECT_FALSE(sheet.isNull()) << "install opencv-doc";
    return sheet.convertToFormat(QImage::Format_Grayscale8);
}

struct Tally {
    int seen = 0, accepted = 0, wrong = 0;
    void Count(bool accept, bool right) {
        ++seen;
        accepted += accept;
        wrong += accept && !right;
    }
    double Share() const { return seen ? double(accepted) / seen : 0.0; }
    void Report(const char* what) const {
        std::printf("%s: %d of %d accepted (%.1f %%), %d of them wrong\n", what, accepted, seen,
                    100.0 * Share(), wrong);
    }
};

// Guards: the program's features or networks differ from the training's, so
// the tested threshold means something else in the program.
TEST(DigitClassifier, ComputesWhatTheTrainingComputed) {
    const QImage sheet = Sheet();
    QFile expected(QStringLiteral(QUILLORA_SOURCE_DIR "/tests/digits/expected_guesses.txt"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    int lines = 0;
    while (!expected.atEnd()) {
        int row = 0, col = 0, digit = 0;
        double margin = 0;
        ASSERT_EQ(std::sscanf(expected.readLine().constData(), "%d %d %d %lf", &row, &col, &digit,
                              &margin), 4);
        const DigitGuess g = Classifier().ClassifyInk(SheetCell(sheet, row, col));
        EXPECT_EQ(g.digit, digit) << row << "," << col;
        EXPECT_NEAR(g.margin, margin, 1e-2) << row << "," << col;
        ++lines;
    }
    EXPECT_GE(lines, 100);
}

// Guards: too many confident mistakes on digits of writers never seen in
// training (goal: at most 1 in 500 of the accepted wrong).
TEST(DigitClassifier, HeldOutDigitsAcceptedRarelyWrong) {
    const QImage sheet = Sheet();
    Tally sheetTally, writerTally;
    for (int row = 4; row < 50; row += 5) {
        for (int col = 0; col < 100; ++col) {
            const DigitGuess g = Classifier().ClassifyInk(SheetCell(sheet, row, col));
            sheetTally.Count(Classifier().Confident(g), g.digit == row / 5);
        }
    }
    QFile writers(QStringLiteral(QUILLORA_SOURCE_DIR "/tests/digits/sklearn_heldout.txt"));
    ASSERT_TRUE(writers.open(QIODevice::ReadOnly));
    while (!writers.atEnd()) {
        const QList<QByteArray> words = writers.readLine().simplified().split(' ');
        ASSERT_EQ(words.size(), 65);
        cv::Mat small(8, 8, CV_32F), ink;
        for (int i = 0; i < 64; ++i) small.at<float>(i / 8, i % 8) = words[i + 1].toFloat() / 16.0f;
        cv::resize(small, ink, cv::Size(24, 24), 0, 0, cv::INTER_CUBIC);
        ink = cv::min(cv::max(ink, 0.0), 1.0);
        const DigitGuess g = Classifier().ClassifyInk(ink);
        writerTally.Count(Classifier().Confident(g), g.digit == words[0].toInt());
    }
    sheetTally.Report("sheet rows held out");
    writerTally.Report("writers held out");
    const Tally all{sheetTally.seen + writerTally.seen, sheetTally.accepted + writerTally.accepted,
                    sheetTally.wrong + writerTally.wrong};
    EXPECT_LE(all.wrong * 500, all.accepted);
    // Accepted today: 81.7 %, none wrong; the goal is 80 % of clearly written digits.
    EXPECT_GE(all.Share(), 0.80);
}

// A box of paper with ink laid on it (dark on light, a little paper grain).
QImage BoxWithInk(const cv::Mat& ink, std::mt19937* random) {
    QImage box(ink.cols, ink.rows, QImage::Format_Grayscale8);
    std::uniform_int_distribution<int> grain(-6, 6);
    for (int y = 0; y < ink.rows; ++y) {
        uchar* line = box.scanLine(y);
        for (int x = 0; x < ink.cols; ++x)
            line[x] = static_cast<uchar>(std::clamp(
                int(std::lround(238 - 200 * ink.at<float>(y, x))) + grain(*random), 0, 255));
    }
    return box;
}

// One held-out digit made larger, slanted and written with another pen.
cv::Mat Written(const cv::Mat& cell, double height, double slant, int pen) {
    const double scale = height / 16.0;
    cv::Mat big;
    const cv::Matx23d m(scale, -scale * slant, std::max(0.0, slant) * 20 * scale + 4, 0, scale, 4);
    const int w = int(20 * scale * (1 + std::abs(slant))) + 8, h = int(20 * scale) + 8;
    cv::warpAffine(cell, big, m, cv::Size(w, h), cv::INTER_LINEAR);
    if (pen > 0) cv::dilate(big, big, cv::getStructuringElement(cv::MORPH_ELLIPSE, {pen, pen}));
    if (pen < 0) cv::erode(big, big, cv::getStructuringElement(cv::MORPH_ELLIPSE, {2, 2}));
    return big;
}

// Guards: a number composed of clearly written digits is read as another number.
TEST(BoxNumber, ComposedNumbersReadOrUnsureNeverWrong) {
    const QImage sheet = Sheet();
    std::mt19937 random(35);
    Tally tally;
    for (int trial = 0; trial < 300; ++trial) {
        const int digits = 1 + trial % 4;
        const double height = std::uniform_real_distribution<>(30, 70)(random);
        const double slant = std::uniform_real_distribution<>(-0.25, 0.35)(random);
        const int pen = std::uniform_int_distribution<>(-1, 4)(random);
        cv::Mat box = cv::Mat::zeros(int(height * 2.0) + 16, int(height * 5.5), CV_32F);
        QString number;
        int x = int(height * 0.3);
        for (int i = 0; i < digits; ++i) {
            const int digit = std::uniform_int_distribution<>(i == 0 && digits > 1, 9)(random);
            const int col = std::uniform_int_distribution<>(0, 99)(random);
            const cv::Mat ink = Written(SheetCell(sheet, digit * 5 + 4, col), height, slant, pen);
            const cv::Rect at(x, int(height * 0.25), std::min(ink.cols, box.cols - x),
                              std::min(ink.rows, box.rows - int(height * 0.25)));
            cv::Mat target = box(at);
            cv::max(target, ink(cv::Rect(0, 0, at.width, at.height)), target);
            number += QString::number(digit);
            x += int(height * 0.95);
        }
        const BoxNumber read = ReadBoxNumber(BoxWithInk(box, &random), Classifier());
        ASSERT_NE(read.kind, BoxNumber::Kind::Empty) << number.toStdString();
        const bool accepted = read.kind == BoxNumber::Kind::Number;
        EXPECT_TRUE(!accepted || read.text == number)
            << "read " << read.text.toStdString() << " for " << number.toStdString();
        tally.Count(accepted, read.text == number);
    }
    tally.Report("composed numbers");
    EXPECT_EQ(tally.wrong, 0);
}

// A box drawn with QPainter: white paper, black ink.
QImage PaintedBox(int width, int height, const std::function<void(QPainter&)>& paint) {
    QImage box(width, height, QImage::Format_Grayscale8);
    box.fill(Qt::white);
    QPainter p(&box);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return box;
}

QImage TextBox(const QString& text, const QString& family, int pixels, bool italic, int pen) {
    return PaintedBox(pixels * 4, pixels * 2, [&](QPainter& p) {
        QFont font(family);
        font.setPixelSize(pixels);
        font.setItalic(italic);
        QPainterPath path;
        path.addText(pixels * 0.4, pixels * 1.4, font, text);
        p.setPen(pen > 0 ? QPen(Qt::black, pen) : QPen(Qt::NoPen));
        p.setBrush(Qt::black);
        p.drawPath(path);
    });
}

// The continental 1 (long up-stroke) and 7 (crossed), written as pen strokes.
QImage ContinentalBox(const QString& number, int pixels, int pen, double slant) {
    return PaintedBox(pixels * 4, pixels * 2, [&](QPainter& p) {
        p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setTransform(QTransform(1, 0, -slant, 1, slant * pixels * 1.5, 0));
        double x = pixels * 0.4;
        const double top = pixels * 0.4, bottom = pixels * 1.5, h = bottom - top;
        for (QChar c : number) {
            if (c == QLatin1Char('1')) {
                p.drawPolyline(QPolygonF{{x, top + h * 0.4}, {x + h * 0.35, top}, {x + h * 0.35, bottom}});
            } else {
                p.drawPolyline(QPolygonF{{x, top}, {x + h * 0.55, top}, {x + h * 0.15, bottom}});
                p.drawLine(QPointF(x + h * 0.12, top + h * 0.5), QPointF(x + h * 0.5, top + h * 0.5));
            }
            x += h * 0.75;
        }
    });
}

// Guards: printed-looking, script and thick-pen digits and the continental 1
// and 7 confidently read as other numbers.
TEST(BoxNumber, DrawnDigitsReadOrUnsureNeverWrong) {
    Tally tally;
    const QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Serif"),
                               QStringLiteral("DejaVu Sans"), QStringLiteral("Z003")};
    const QStringList numbers{QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("12"),
                              QStringLiteral("40"), QStringLiteral("305"), QStringLiteral("2,5"),
                              QStringLiteral("1998"), QStringLiteral("66"), QStringLiteral("83")};
    auto check = [&](const QImage& box, const QString& number, const std::string& how) {
        const BoxNumber read = ReadBoxNumber(box, Classifier());
        const bool accepted = read.kind == BoxNumber::Kind::Number;
        EXPECT_TRUE(!accepted || read.text == number)
            << "read " << read.text.toStdString() << " for " << number.toStdString() << " " << how;
        tally.Count(accepted, read.text == number);
    };
    for (const QString& family : families)
        for (const QString& number : numbers)
            for (int pixels : {40, 90})
                for (bool italic : {false, true})
                    for (int pen : {0, pixels / 12})
                        check(TextBox(number, family, pixels, italic, pen), number,
                              family.toStdString() + " " + std::to_string(pixels));
    for (const QString& number : {QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("17"),
                                  QStringLiteral("71"), QStringLiteral("117"), QStringLiteral("1771")})
        for (int pen : {2, 5, 9})
            for (double slant : {0.0, 0.2})
                check(ContinentalBox(number, 60, pen, slant), number,
                      "continental pen " + std::to_string(pen));
    tally.Report("drawn numbers");
    EXPECT_EQ(tally.wrong, 0);
}

// Guards: an empty box or one with dust reported as a number or as unsure
// (then every empty box would wait for a person).
TEST(BoxNumber, EmptyBoxIsEmpty) {
    std::mt19937 random(7);
    EXPECT_EQ(ReadBoxNumber(BoxWithInk(cv::Mat::zeros(90, 400, CV_32F), &random), Classifier()).kind,
              BoxNumber::Kind::Empty);
    cv::Mat dust = cv::Mat::zeros(90, 400, CV_32F);
    dust.at<float>(20, 30) = dust.at<float>(60, 300) = dust.at<float>(61, 300) = 1.0f;
    EXPECT_EQ(ReadBoxNumber(BoxWithInk(dust, &random), Classifier()).kind, BoxNumber::Kind::Empty);
    EXPECT_EQ(ReadBoxNumber(QImage(), Classifier()).kind, BoxNumber::Kind::Empty);
}

// Guards: a box inked all over (crossed out, blacked) taken for an empty one.
TEST(BoxNumber, BlackedOutBoxIsUnsure) {
    std::mt19937 random(8);
    EXPECT_EQ(ReadBoxNumber(BoxWithInk(cv::Mat::ones(90, 400, CV_32F), &random), Classifier()).kind,
              BoxNumber::Kind::Unsure);
}

// Guards: words, leading zeros and over-long numbers taken for quantities.
TEST(BoxNumber, WordsAndImplausibleNumbersAreUnsure) {
    for (const QString& text : {QStringLiteral("Anna"), QStringLiteral("ja"), QStringLiteral("Max"),
                                QStringLiteral("Müller"), QStringLiteral("zwei"), QStringLiteral("07"),
                                QStringLiteral("12345"), QStringLiteral("3 Stück")}) {
        for (const QString& family : {QStringLiteral("Liberation Sans"), QStringLiteral("Z003")}) {
            const BoxNumber read = ReadBoxNumber(TextBox(text, family, 60, false, 0), Classifier());
            EXPECT_EQ(read.kind, BoxNumber::Kind::Unsure)
                << text.toStdString() << " in " << family.toStdString() << " read as "
                << read.text.toStdString();
            EXPECT_FALSE(read.guess.isEmpty()) << text.toStdString();
        }
    }
}

// Guards: a long number read on digits only sure enough for a short one, or a
// digit below the model's bars counted as sure.
TEST(DigitClassifier, LongerNumbersNeedSurerDigits) {
    const DigitClassifier& c = Classifier();
    for (int digits = 2; digits <= 4; ++digits)
        EXPECT_GE(c.NumberBar(digits), c.NumberBar(digits - 1)) << digits;
    EXPECT_GT(c.LowestBar(), 0.0);
    EXPECT_EQ(c.LowestBar(), c.NumberBar(1));
    EXPECT_EQ(c.HighestBar(), c.NumberBar(4));
    struct Case {
        std::vector<double> margins;
        bool read;
    };
    const double one = c.NumberBar(1), four = c.NumberBar(4);
    const Case cases[] = {
        {{one}, true},
        {{one - 0.01}, false},
        {{four, four, four, four}, true},
        {{four, four, four - 0.01, four}, false},
        {{c.NumberBar(2), c.NumberBar(2)}, true},
        {{1e9, -1.0}, false},
        {{}, false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(c.NumberConfident(k.margins), k.read) << k.margins.size() << " digits";
}

// Guards: a damaged model file loaded as a model that then reads nonsense or crashes.
TEST(DigitClassifier, DamagedModelIsRefused) {
    QFile shipped(kModel);
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray whole = shipped.readAll();
    QTemporaryDir dir;
    const QList<QByteArray> damaged{QByteArray(), whole.left(whole.size() / 2),
                                    QByteArray(whole).replace("w2 ", "w3 "),
                                    QByteArray(whole).replace("number-bars ", "number-bars -1 "),
                                    QByteArray("quillora-digits 1\nfeatures 292\nhidden 99999999\n")};
    for (const QByteArray& bytes : damaged) {
        QFile file(dir.filePath(QStringLiteral("digits.model")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        QString error;
        EXPECT_FALSE(DigitClassifier::Load(file.fileName(), &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(DigitClassifier::Load(dir.filePath(QStringLiteral("none.model"))));
}

} // namespace
