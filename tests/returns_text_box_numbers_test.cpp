// Quantities written by hand into the text boxes of a printed page, scanned
// and read back: the numbers go into the table, empty boxes stay empty, and
// what is not surely read waits for a person with the reader's guess.
#include "DocumentEdits.h"
#include "HandDigits.h"
#include "OrderCollection.h"
#include "PaperReturns.h"
#include "ScannedReturns.h"
#include "TextBoxReading.h"

#include <QPainterPath>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kModel = QStringLiteral(QUILLORA_SOURCE_DIR "/data/digits.model");

// What is written into a box: held-out digits by (digit, cell), none for an empty box.
struct Written {
    std::vector<std::pair<int, int>> digits;
    QColor pen;
    QString words = {}; // written in a script font instead
};

class TextBoxNumbersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(sheet.isNull()) << "install opencv-doc";
        ASSERT_TRUE(folder.isValid());
        reader = HandNumberReader::Load(kModel, folder.path());
        ASSERT_TRUE(reader);
        UseNumberReader(reader);
        const int order = AppendCategory(doc, QStringLiteral("Bestellung"));
        for (const char* name : {"Brot", "Brötchen", "Kuchen", "Torte", "Kekse", "Anzahl Gäste", "Name"})
            AppendField(doc, order, fkText, QString::fromUtf8(name), 5, 1.2);
        AppendField(doc, order, fkCheckBox, QStringLiteral("Abholen"), 4, 0.6);
        print = PrintWithMarks(doc, settings);
        form = MakeOrderForm(doc, settings);
        paper = std::make_unique<PaperForm>(form, PageInput{doc, settings});
    }
    void TearDown() override { UseNumberReader(nullptr); }

    // Page 1 at dpi with the text boxes written in drawing order.
    QImage Filled(int dpi, const std::vector<Written>& boxes) {
        QImage page = RasterisePage(print.pdf, 1, dpi);
        std::size_t next = 0;
        const double k = dpi / 600.0;
        for (const DrawnField* field : print.fields.OnPage(1)) {
            if (field->kind != fkText || next >= boxes.size()) continue;
            const Written& w = boxes[next++];
            std::vector<cv::Mat> inks;
            for (const auto& [digit, cell] : w.digits) inks.push_back(HeldOutDigit(sheet, digit, cell));
            const QRectF box(field->box.left * k, field->box.top * k,
                             (field->box.right - field->box.left) * k,
                             (field->box.bottom - field->box.top) * k);
            // Right of the label, most of the box's height.
            const QRectF where(box.left() + box.width() * 0.45, box.top() + box.height() * 0.18,
                               box.width() * 0.5, box.height() * 0.62);
            WriteDigits(page, where, inks, w.pen);
            if (!w.words.isEmpty()) {
                QPainter p(&page);
                p.setRenderHint(QPainter::Antialiasing);
                QFont font(QStringLiteral("Z003"));
                font.setPixelSize(static_cast<int>(where.height() * 0.8));
                // As outlines: drawn alike whatever glyph cache the environment sets.
                QPainterPath path;
                path.addText(where.left(), where.bottom() - where.height() * 0.2, font, w.words);
                p.fillPath(path, w.pen);
            }
        }
        return page;
    }
    // The text boxes' cells of a page read, in drawing order.
    QStringList TextCells(const ScannedPage& read) {
        QStringList cells;
        for (const DrawnField* field : print.fields.OnPage(1))
            if (field->kind == fkText)
                cells << read.cells[static_cast<std::size_t>(
                                        paper->ColumnOf(field->category, field->field))]
                             .value;
        return cells;
    }
    int TextColumn(int nth) {
        for (const DrawnField* field : print.fields.OnPage(1))
            if (field->kind == fkText && nth-- == 0) return paper->ColumnOf(field->category, field->field);
        return -1;
    }

    const QImage sheet = DigitSheet();
    QTemporaryDir folder;
    std::shared_ptr<HandNumberReader> reader;
    FormDocument doc;
    LayoutSettings settings;
    MarkedPrint print;
    OrderForm form;
    std::unique_ptr<PaperForm> paper;
};

const QColor kBlue(20, 30, 140), kBlack(25, 25, 25), kPencil(110, 110, 110);

// The held-out cell of digit that is the nth the classifier reads right and
// surely (sure) or right but unsure (not sure).
int Cell(const QImage& sheet, int digit, int nth, bool sure) {
    static const DigitClassifier classifier = *DigitClassifier::Load(kModel);
    for (int col = 0; col < 100; ++col) {
        const DigitGuess g = classifier.ClassifyInk(HeldOutDigit(sheet, digit, col));
        const bool clear = g.margin >= classifier.Threshold() * 1.5;
        const bool doubted = g.margin > 0 && g.margin < classifier.Threshold() * 0.25;
        if (g.digit == digit && (sure ? clear : doubted) && nth-- == 0) return col;
    }
    ADD_FAILURE() << "no such cell of " << digit;
    return 0;
}

// The boxes of the page: clear numbers in three pens, an empty box, an
// unsure digit (a held-out 3 that the classifier doubts) and a name.
std::vector<Written> Boxes(const QImage& sheet) {
    const auto sure = [&](int digit, int nth) { return std::pair{digit, Cell(sheet, digit, nth, true)}; };
    return {{{sure(1, 0), sure(2, 0)}, kBlue},
            {{sure(5, 1)}, kBlack},
            {{}, kBlue},
            {{sure(2, 3), sure(5, 3), sure(0, 2)}, kPencil},
            {{sure(7, 5)}, kBlue},
            {{{3, Cell(sheet, 3, 0, false)}}, kBlack},
            {{}, kBlue, QStringLiteral("Meier")}};
}

// Guards: the printed outline or label read as writing, a number not put into
// its cell, an empty box sent to the review, an unsure box read on a guess, or
// a name offered as a number.
TEST_F(TextBoxNumbersTest, WrittenNumbersReachTheirCells) {
    struct ScanCase {
        Distortion distortion;
        int dpi;
    };
    const ScanCase scans[] = {
        {{"as printed", 0, 1, {0, 0}, 0}, 300},
        {{"skewed, JPEG 70, grey", 2.5, 1.02, {20, -15}, 70, 0, Distortion::Colours::Grey}, 300},
        {{"upside down, 200 dpi", 180.8, 0.99, {5, 5}, 80}, 200},
    };
    for (const ScanCase& scan : scans) {
        SCOPED_TRACE(scan.distortion.name);
        const ScannedPage read = ReadScannedPage(Distort(Filled(scan.dpi, Boxes(sheet)), scan.distortion), *paper);
        ASSERT_TRUE(read.ok) << read.rejection.english.toStdString();
        EXPECT_EQ(TextCells(read), (QStringList{"12", "5", "", "250", "7", "", ""}));
        // Only the unsure box and the name wait, the box with its guess.
        ASSERT_EQ(read.undecided.size(), 2u);
        EXPECT_TRUE(read.undecided[0].text && read.undecided[1].text);
        EXPECT_EQ(read.undecided[0].column, TextColumn(5));
        EXPECT_EQ(read.undecided[1].column, TextColumn(6));
        ASSERT_EQ(read.guesses.count(TextColumn(6)), 1u);
        EXPECT_TRUE(read.guesses.at(TextColumn(6)).suggestion.isEmpty());
        ASSERT_EQ(read.guesses.count(TextColumn(5)), 1u);
        // The guess is the reader's own on the box's ink: one digit, maybe not the 3.
        const TextBoxGuess& guess = read.guesses.at(TextColumn(5));
        ASSERT_FALSE(guess.inside.isNull());
        EXPECT_EQ(guess.suggestion, reader->Read(guess.inside).guess);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]$")).match(guess.suggestion).hasMatch())
            << guess.suggestion.toStdString();
    }
}

} // namespace
