#include "DigitClassifier.h"

#include "DigitFeatures.h"
#include "ProgramFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>

#include <algorithm>
#include <limits>

namespace {
constexpr int kDigits = 10;
constexpr qint64 kMaxModelBytes = 64 << 20;
constexpr qsizetype kNumberLengths = 4;

// "name v1 v2 ...": the numbers of the line that starts with name, exactly count of them.
bool ReadNumbers(const QList<QByteArray>& lines, int* next, const char* name, qsizetype count,
                 std::vector<float>* out) {
    if (*next >= lines.size()) return false;
    const QList<QByteArray> words = lines[(*next)++].split(' ');
    if (words.isEmpty() || words[0] != name || words.size() - 1 != count) return false;
    out->resize(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i) {
        bool ok = false;
        (*out)[static_cast<size_t>(i)] = words[i + 1].toFloat(&ok);
        if (!ok) return false;
    }
    return true;
}

bool ReadValue(const QList<QByteArray>& lines, int* next, const char* name, double* value) {
    if (*next >= lines.size()) return false;
    const QList<QByteArray> words = lines[(*next)++].split(' ');
    bool ok = false;
    if (words.size() != 2 || words[0] != name) return false;
    *value = words[1].toDouble(&ok);
    return ok;
}
} // namespace

std::optional<DigitClassifier> DigitClassifier::Load(const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("cannot open ") + path);
    if (file.size() > kMaxModelBytes) return fail(QStringLiteral("too large: ") + path);
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || lines[0].trimmed() != "quillora-digits 1")
        return fail(QStringLiteral("not a digit model: ") + path);
    DigitClassifier model;
    int next = 1;
    double features = 0, hidden = 0, networks = 0;
    if (!ReadValue(lines, &next, "features", &features) || features != kDigitFeatureCount ||
        !ReadValue(lines, &next, "hidden", &hidden) || hidden < 1 || hidden > 4096 ||
        !ReadValue(lines, &next, "networks", &networks) || networks < 1 || networks > 16 ||
        !ReadValue(lines, &next, "threshold", &model.threshold_))
        return fail(QStringLiteral("damaged digit model header: ") + path);
    model.hidden_ = static_cast<int>(hidden);
    if (next < lines.size() && lines[next].startsWith("number-bars ") &&
        !ReadNumbers(lines, &next, "number-bars", kNumberLengths, &model.numberBars_))
        return fail(QStringLiteral("damaged digit model header: ") + path);
    const qsizetype n = kDigitFeatureCount, h = model.hidden_;
    bool ok = ReadNumbers(lines, &next, "mean", n, &model.mean_) &&
              ReadNumbers(lines, &next, "scale", n, &model.scale_);
    for (int i = 0; ok && i < static_cast<int>(networks); ++i) {
        Network net;
        ok = ReadNumbers(lines, &next, "w1", h * n, &net.w1) &&
             ReadNumbers(lines, &next, "b1", h, &net.b1) &&
             ReadNumbers(lines, &next, "w2", kDigits * h, &net.w2) &&
             ReadNumbers(lines, &next, "b2", kDigits, &net.b2);
        model.networks_.push_back(std::move(net));
    }
    if (!ok) return fail(QStringLiteral("damaged digit model: ") + path);
    for (float s : model.scale_)
        if (!(s > 0)) return fail(QStringLiteral("damaged digit model: ") + path);
    for (float bar : model.numberBars_)
        if (!(bar > 0 && bar < 1e6)) return fail(QStringLiteral("damaged digit model header: ") + path);
    return model;
}

std::optional<DigitClassifier> DigitClassifier::LoadShipped(const QString& progpath,
                                                            QString* error) {
    return Load(QDir(ProgramDataDir(progpath)).filePath(QStringLiteral("digits.model")), error);
}

double DigitClassifier::NumberBar(int digits) const {
    if (numberBars_.empty()) return threshold_;
    return numberBars_[static_cast<size_t>(std::clamp<qsizetype>(digits, 1, kNumberLengths) - 1)];
}

double DigitClassifier::LowestBar() const {
    if (numberBars_.empty()) return threshold_;
    return *std::min_element(numberBars_.begin(), numberBars_.end());
}

double DigitClassifier::HighestBar() const {
    if (numberBars_.empty()) return threshold_;
    return *std::max_element(numberBars_.begin(), numberBars_.end());
}

bool DigitClassifier::NumberConfident(const std::vector<double>& margins) const {
    if (margins.empty()) return false;
    const double bar = NumberBar(static_cast<int>(margins.size()));
    return std::all_of(margins.begin(), margins.end(), [&](double m) { return m >= bar; });
}

std::vector<double> DigitClassifier::Logits(const Network& net, const std::vector<double>& x) const {
    const size_t n = x.size();
    std::vector<double> hiddenOut(static_cast<size_t>(hidden_));
    for (size_t j = 0; j < hiddenOut.size(); ++j) {
        const float* w = net.w1.data() + j * n;
        double sum = net.b1[j];
        for (size_t i = 0; i < n; ++i) sum += w[i] * x[i];
        hiddenOut[j] = std::max(0.0, sum);
    }
    std::vector<double> z(kDigits);
    for (size_t d = 0; d < kDigits; ++d) {
        const float* w = net.w2.data() + d * hiddenOut.size();
        double sum = net.b2[d];
        for (size_t j = 0; j < hiddenOut.size(); ++j) sum += w[j] * hiddenOut[j];
        z[d] = sum;
    }
    return z;
}

bool DigitClassifier::Describe(const cv::Mat& ink, std::vector<double>* x) const {
    const cv::Mat picture = NormaliseDigitInk(ink);
    if (picture.empty()) return false;
    const std::vector<float> features = DigitFeatures(picture);
    x->resize(features.size());
    for (size_t i = 0; i < x->size(); ++i) (*x)[i] = (double(features[i]) - mean_[i]) / scale_[i];
    return true;
}

DigitGuess DigitClassifier::ClassifyInk(const cv::Mat& ink) const {
    std::vector<double> x;
    if (!Describe(ink, &x)) return {};
    return ClassifyFeatures(x);
}

DigitGuess DigitClassifier::ClassifyFeatures(const std::vector<double>& x) const {
    std::vector<std::vector<double>> logits;
    std::vector<double> sum(kDigits, 0.0);
    for (const Network& net : networks_) {
        logits.push_back(Logits(net, x));
        for (int d = 0; d < kDigits; ++d) sum[d] += logits.back()[d];
    }
    DigitGuess guess;
    guess.digit = static_cast<int>(std::max_element(sum.begin(), sum.end()) - sum.begin());
    sum[static_cast<size_t>(guess.digit)] = -std::numeric_limits<double>::infinity();
    guess.second = static_cast<int>(std::max_element(sum.begin(), sum.end()) - sum.begin());
    guess.margin = std::numeric_limits<double>::infinity();
    for (const std::vector<double>& z : logits) {
        double other = -std::numeric_limits<double>::infinity();
        for (int d = 0; d < kDigits; ++d)
            if (d != guess.digit) other = std::max(other, z[d]);
        guess.margin = std::min(guess.margin, z[guess.digit] - other);
    }
    return guess;
}

DigitGuess DigitClassifier::Classify(const QImage& image) const {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat ink(grey.height(), grey.width(), CV_32F);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* line = grey.constScanLine(y);
        float* row = ink.ptr<float>(y);
        for (int x = 0; x < grey.width(); ++x) row[x] = float(255 - line[x]) / 255.0f;
    }
    return ClassifyInk(ink);
}
