#pragma once
// Reads the number written by hand into one text box of a returned paper form:
// the ink of the box's inside is split into characters (connected strokes,
// pieces of one character joined, touching characters cut apart), each digit
// is classified, and the number counts as read only when every digit passes
// the classifier's bar for a number of that many digits and the whole is a
// plausible quantity: one to four digits, no leading zero, optionally a
// decimal comma. Anything else stays for a person to read, with
// the classifier's best guess as a suggestion.

#include <QImage>
#include <QString>

#include <opencv2/core.hpp>

#include <vector>

class DigitClassifier;
class LearnedDigits;

struct BoxNumber {
    enum class Kind { Empty, Number, Unsure };
    Kind kind = Kind::Empty;
    QString text;        // the number read ("12", "2,5") when kind is Number
    QString guess;       // the best guess, also when unsure; '?' for a character not a digit
    double margin = 0.0; // the least sure digit's margin
    // The ink is one clean line of characters shaped like digits (a name's
    // letters are not): only then is the guess worth offering.
    bool clean = false;
};

// boxInside: the box already cut to its inside (no printed outline), dark ink on
// light paper, any format. learned (if given): the digits of this shop's
// writers that people typed in, consulted with the model (LearnedDigits.h).
BoxNumber ReadBoxNumber(const QImage& boxInside, const DigitClassifier& classifier,
                        const LearnedDigits* learned = nullptr);

// Ink is darker than the paper by this share of the paper's brightness.
inline constexpr double kInkContrast = 0.3;
// The brightness of a box's paper (8-bit grey): the level that nine in ten
// pixels do not exceed, since a box is mostly paper and a speck of glare does
// not count; at least 64.
int PaperBrightness(const cv::Mat& grey);

// The characters of boxInside as ReadBoxNumber splits them, in reading order:
// each digit's ink (CV_32F, 0 paper .. 1 ink), an empty matrix for a comma.
// *clean is false when the writing makes no clean line of characters.
std::vector<cv::Mat> BoxCharacters(const QImage& boxInside, bool* clean);
