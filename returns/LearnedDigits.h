#pragma once
// The digits of a shop's or club's own writers, learned from the review: every
// number a person types in for a text box with ink is kept with the box's
// image in a folder of the configuration directory, and each of its
// characters becomes a sample. When a digit lies close to samples of one
// digit only, and the model had that digit first or second, the samples
// decide an unsure digit; close samples of another digit make a sure digit
// unsure. They never turn a sure digit into another sure digit, so a wrong
// correction cannot make other writers' clear digits read wrong.

#include "DigitClassifier.h"

#include <QImage>
#include <QString>

#include <mutex>
#include <vector>

class LearnedDigits {
  public:
    // folder: where the boxes are kept (made when the first is kept); empty
    // keeps them in memory only.
    LearnedDigits(const DigitClassifier& classifier, const QString& folder);
    LearnedDigits(const LearnedDigits&) = delete;
    LearnedDigits& operator=(const LearnedDigits&) = delete;

    // Reads the kept boxes of the folder (a damaged file is passed over).
    void Load();
    // Keeps the box and what a person read in it when the text is a number,
    // and learns its digits when they pair up with the box's characters.
    // True when learned (and, with a folder, written; *error says why not).
    bool Keep(const QImage& boxInside, const QString& text, QString* error = nullptr);
    int SampleCount() const;

    // The model's guess on x (the classifier's Describe) weighed with the
    // samples. The model's digit is sure from the classifier's lowest bar;
    // a digit the samples decide becomes sure for a number of any length,
    // one they doubt falls below every bar.
    DigitGuess Adapt(const DigitGuess& model, const std::vector<double>& x) const;

  private:
    struct Sample {
        std::vector<double> x;
        int digit;
    };
    bool Learn(const QImage& boxInside, const QString& text);

    const DigitClassifier& classifier;
    QString folder;
    mutable std::mutex lock;
    std::vector<Sample> samples;
};

// Samples at most this far apart (features scaled as the model scales them,
// per feature) count as the same writer's same digit.
inline constexpr double kLearnedReach = 0.45;
// At most this many boxes are kept; the oldest go first.
inline constexpr int kMostLearnedBoxes = 2000;
