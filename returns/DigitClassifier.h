#pragma once
// The classifier of hand-written digits that reads quantities written into the
// text boxes of returned paper. Its networks and its confidence threshold are
// plain numbers in "digits.model" in the program's data folder, made by
// tools/digits/train_digits.py. Each decision carries a margin: how far the
// chosen digit leads its runner-up in the least sure of the networks. A number
// is read when each of its digits passes the bar for numbers of its length:
// the more digits, the more chances of one wrong, so the higher the bar.

#include <QImage>
#include <QString>

#include <opencv2/core.hpp>

#include <optional>
#include <vector>

struct DigitGuess {
    int digit = -1;        // 0..9, -1 when there was no ink
    double margin = 0.0;   // negative when the networks disagree
    int second = -1;       // the runner-up of the networks together
};

class DigitClassifier {
public:
    // Reads a model file; nullopt with *error set when it is missing or malformed.
    static std::optional<DigitClassifier> Load(const QString& path, QString* error = nullptr);
    // The model shipped in the data folder of the program in progpath.
    static std::optional<DigitClassifier> LoadShipped(const QString& progpath,
                                                      QString* error = nullptr);

    // grey: one character, dark ink on white paper, any size.
    DigitGuess Classify(const QImage& grey) const;
    // ink: CV_32F, 0 paper .. 1 ink.
    DigitGuess ClassifyInk(const cv::Mat& ink) const;
    // The numbers the networks see for ink (features scaled as in training);
    // false when there is no ink.
    bool Describe(const cv::Mat& ink, std::vector<double>* x) const;
    // The decision on numbers made by Describe.
    DigitGuess ClassifyFeatures(const std::vector<double>& x) const;
    // A guess at least this sure counts as read.
    double Threshold() const { return threshold_; }
    bool Confident(const DigitGuess& guess) const {
        return guess.digit >= 0 && guess.margin >= threshold_;
    }
    // The bar each digit of a number of `digits` digits must pass (the model's
    // bar for four digits for longer ones; the threshold when it has none).
    double NumberBar(int digits) const;
    // The lowest and highest of the number bars.
    double LowestBar() const;
    double HighestBar() const;
    // Whether a number whose digits have these margins is read.
    bool NumberConfident(const std::vector<double>& margins) const;

private:
    struct Network {
        std::vector<float> w1, b1, w2, b2;
    };
    std::vector<double> Logits(const Network& net, const std::vector<double>& x) const;

    int hidden_ = 0;
    double threshold_ = 0.0;
    std::vector<float> numberBars_; // for 1, 2, 3 and 4 digits; empty: the threshold
    std::vector<float> mean_, scale_;
    std::vector<Network> networks_;
};
