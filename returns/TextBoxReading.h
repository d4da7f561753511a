#pragma once
// The numbers written by hand into the text boxes of a scanned page. After the
// page's check boxes are read, each text box is cut out where the page's fit
// puts it, its printed outline is found and left out, and so is its printed
// label (the strokes that lie wholly where the label is printed); what is left
// is the pen's ink, read by ReadBoxNumber (BoxNumber.h). A sure number goes into
// the box's cell and an empty box stays empty, both leaving the review; any
// other box stays for the review with the reader's best guess as a suggestion
// and its ink, so that what a person types in can teach the reader
// (LearnedDigits.h).

#include "BoxNumber.h"
#include "DigitClassifier.h"
#include "LearnedDigits.h"

#include <QImage>
#include <QString>
#include <opencv2/core.hpp>

#include <memory>
#include <vector>

class PaperForm;

// A text box's writing not surely read: the reader's guess when it is a
// quantity ("12", "2,5"; empty otherwise) and the box's inside as read, for the review.
struct TextBoxGuess {
    QString suggestion;
    QImage inside;
};
struct DrawnField;
struct ScannedPage;

// The classifier of digits with what it learned from this shop's reviews.
class HandNumberReader {
  public:
    // model: a digits.model file; learnedFolder: where corrected boxes are
    // kept (empty: in memory only). Null with *error set when the model cannot be read.
    static std::shared_ptr<HandNumberReader> Load(const QString& model,
                                                  const QString& learnedFolder,
                                                  QString* error = nullptr);
    explicit HandNumberReader(DigitClassifier model, const QString& learnedFolder);

    BoxNumber Read(const QImage& boxInside) const;
    // Keeps what a person typed in for a box's ink (BoxInside of the review).
    bool Learn(const QImage& boxInside, const QString& text, QString* error = nullptr);
    const LearnedDigits& Learned() const { return *learned; }

  private:
    DigitClassifier classifier;
    std::unique_ptr<LearnedDigits> learned;
};

// The reader scans use. Unless one was set, the program's own, made at first
// use from "digits.model" in the program's data folder and the boxes kept in
// "learned-digits" of the configuration folder; null (text boxes are then
// left for typing in) when there is no model.
std::shared_ptr<HandNumberReader> CurrentNumberReader();
// Sets the reader scans use from now on; null reads no numbers.
void UseNumberReader(std::shared_ptr<HandNumberReader> reader);

// The inside of a text box field (sheet pixels, its outline included) in ink
// (the page, dark for ink) where sheetToImage puts the sheet of dpi: its
// outline found near there and left out, at most 300 pixels an inch.
// lineWidth: the outline's width in sheet pixels. Its printed label is made paper.
QImage TextBoxInside(const cv::Mat& ink, const cv::Matx33d& sheetToImage,
                     const DrawnField& field, int dpi, double lineWidth);

// Reads the text boxes of page (out: the page as read so far, its text boxes
// still undecided) with the current reader.
void ReadTextBoxNumbers(const cv::Mat& ink, const cv::Matx33d& sheetToImage,
                        const std::vector<const DrawnField*>& fields, const PaperForm& form,
                        int dpi, ScannedPage& out);
