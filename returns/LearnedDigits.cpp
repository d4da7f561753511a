// Samples of the shop's writers: kept as PNG files holding the number typed
// in, read back into feature vectors, consulted with the model.
#include "LearnedDigits.h"

#include "AtomicFile.h"
#include "BoxNumber.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {
const QString kNumberKey = QStringLiteral("quillora-number");
constexpr qint64 kMostBoxBytes = 4 << 20;

// The digits of a number as typed ("12", "2,5"), commas as -1; empty when the
// text is no number.
std::vector<int> TypedDigits(const QString& text) {
    std::vector<int> digits;
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 8) return {};
    for (QChar c : t) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            digits.push_back(-1);
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.push_back(c.digitValue());
        else
            return {};
    }
    return digits;
}

double Distance(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(1, a.size())));
}
} // namespace

LearnedDigits::LearnedDigits(const DigitClassifier& model, const QString& where)
    : classifier(model), folder(where) {}

bool LearnedDigits::Learn(const QImage& boxInside, const QString& text) {
    const std::vector<int> digits = TypedDigits(text);
    if (digits.empty()) return false;
    bool clean = false;
    const std::vector<cv::Mat> characters = BoxCharacters(boxInside, &clean);
    // Only where the box's characters and the typed ones pair up one to one.
    if (!clean || characters.size() != digits.size()) return false;
    std::vector<Sample> found;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if ((digits[i] < 0) != characters[i].empty()) return false;
        if (digits[i] < 0) continue;
        Sample s{{}, digits[i]};
        if (!classifier.Describe(characters[i], &s.x)) return false;
        found.push_back(std::move(s));
    }
    std::lock_guard<std::mutex> hold(lock);
    samples.insert(samples.end(), found.begin(), found.end());
    return true;
}

void LearnedDigits::Load() {
    if (folder.isEmpty()) return;
    QStringList names = QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    if (names.size() > kMostLearnedBoxes) names = names.mid(names.size() - kMostLearnedBoxes);
    for (const QString& name : names) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).size() > kMostBoxBytes) continue;
        const QImage box(path, "PNG");
        if (!box.isNull()) Learn(box, box.text(kNumberKey));
    }
}

bool LearnedDigits::Keep(const QImage& boxInside, const QString& text, QString* error) {
    if (boxInside.isNull() || TypedDigits(text).empty()) return false;
    // Kept even when its characters do not pair up with the digits typed: a
    // later reader may split them better.
    const bool learned = Learn(boxInside, text);
    if (folder.isEmpty()) return learned;
    QImage box = boxInside.convertToFormat(QImage::Format_Grayscale8);
    box.setText(kNumberKey, text.trimmed());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    box.save(&buffer, "PNG");
    // Named by the time kept, so that the names sort oldest first.
    const QString name =
        QStringLiteral("%1-%2.png")
            .arg(QDateTime::currentMSecsSinceEpoch(), 14, 10, QLatin1Char('0'))
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(12)));
    FileFailure failure;
    if (!QDir().mkpath(folder) ||
        !WriteFileAtomically(QDir(folder).filePath(name), bytes, &failure)) {
        if (error) *error = failure.english.isEmpty() ? QStringLiteral("cannot make ") + folder
                                                      : failure.english;
        return false;
    }
    return learned;
}

int LearnedDigits::SampleCount() const {
    std::lock_guard<std::mutex> hold(lock);
    return static_cast<int>(samples.size());
}

DigitGuess LearnedDigits::Adapt(const DigitGuess& model, const std::vector<double>& x) const {
    if (model.digit < 0) return model;
    const double threshold = classifier.LowestBar();
    std::lock_guard<std::mutex> hold(lock);
    // The nearest sample of each digit.
    std::vector<double> nearest(10, std::numeric_limits<double>::infinity());
    for (const Sample& s : samples)
        if (s.x.size() == x.size())
            nearest[static_cast<std::size_t>(s.digit)] =
                std::min(nearest[static_cast<std::size_t>(s.digit)], Distance(s.x, x));
    int closest = -1, within = 0;
    for (int d = 0; d < 10; ++d) {
        if (nearest[static_cast<std::size_t>(d)] > kLearnedReach) continue;
        ++within;
        if (closest < 0 || nearest[static_cast<std::size_t>(d)] < nearest[static_cast<std::size_t>(closest)])
            closest = d;
    }
    if (within == 0) return model;
    DigitGuess out = model;
    // A digit the samples decide is sure in a number of any length.
    const double decided = std::max(threshold, classifier.HighestBar());
    if (within == 1 && closest == model.digit) {
        // Samples of the model's own digit only: they confirm it.
        out.margin = std::max(model.margin, decided);
        return out;
    }
    if (model.margin >= threshold) {
        // Close samples of another digit: no longer sure.
        out.margin = std::min(model.margin, threshold / 2);
        return out;
    }
    // Unsure: samples of one digit only, the model's runner-up, decide it.
    if (within == 1 && closest == model.second) {
        out.second = model.digit;
        out.digit = closest;
        out.margin = decided;
    }
    return out;
}
