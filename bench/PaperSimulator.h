#pragma once
// Paper as customers return it, simulated: what a hand leaves in a box (the
// usual marks and the habits that trouble a reader: pencil, a hair-thin
// light-blue line, a circled box, a stroke through an empty box) and what a
// phone camera, a flatbed or a fax machine makes of the page (a projective
// tilt, curl, light falling off, a shadow band, blur, noise, JPEG, a 204 x 98
// dpi bilevel fax). Images are RGB, the page as printed at any resolution.

#include <opencv2/imgproc.hpp>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

// What a hand leaves in a box, and what the customer meant by it.
enum class Habit {
    None,          // meant: empty
    Tick,          // blue ball pen, meant: marked
    Cross,         // black pen
    Fill,          // blue pen, box filled
    Dot,           // a dot of about 1.5 mm
    OverTick,      // a tick whose long stroke runs well out of the box
    Pencil,        // a light grey pencil tick
    ThinBlue,      // a tick one pixel wide in light blue
    RedCross,      // red pen
    Circled,       // the box circled, nothing inside: meant marked, "?" acceptable
    StrayStroke,   // a stroke that runs through an empty box: meant empty, "?" acceptable
};

inline bool HabitMeansMarked(Habit h) {
    return h != Habit::None && h != Habit::StrayStroke;
}

inline const char* HabitName(Habit h) {
    switch (h) {
    case Habit::None: return "none";
    case Habit::Tick: return "tick";
    case Habit::Cross: return "cross";
    case Habit::Fill: return "fill";
    case Habit::Dot: return "dot";
    case Habit::OverTick: return "overshooting tick";
    case Habit::Pencil: return "pencil";
    case Habit::ThinBlue: return "thin light blue";
    case Habit::RedCross: return "red cross";
    case Habit::Circled: return "circled";
    case Habit::StrayStroke: return "stray stroke";
    }
    return "";
}

// Draws habit into box (pixels of page) of a page printed at dpi; the
// random source varies the hand a little.
inline void DrawHabit(QImage& page, const QRectF& box, int dpi, Habit habit, std::mt19937& random) {
    if (habit == Habit::None) return;
    std::uniform_real_distribution<double> jitter(-0.06, 0.06);
    const QRectF r = box;
    auto at = [&](double u, double v) {
        return QPointF(r.left() + (u + jitter(random)) * r.width(),
                       r.top() + (v + jitter(random)) * r.height());
    };
    const double mm = dpi / 25.4;
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    auto pen = [&](QColor colour, double widthMm) {
        QPen pen(colour, std::max(1.0, widthMm * mm));
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
    };
    const QColor blue(25, 30, 150), black(30, 30, 35), pencil(150, 150, 150),
        lightBlue(90, 150, 235), red(200, 35, 45);
    switch (habit) {
    case Habit::Tick:
        pen(blue, 0.5);
        p.drawPolyline(QPolygonF{at(0.2, 0.55), at(0.42, 0.8), at(0.85, 0.15)});
        break;
    case Habit::Cross:
        pen(black, 0.5);
        p.drawLine(at(0.2, 0.2), at(0.8, 0.8));
        p.drawLine(at(0.8, 0.2), at(0.2, 0.8));
        break;
    case Habit::Fill:
        pen(blue, 0.5);
        p.setBrush(blue);
        p.drawRect(QRectF(at(0.2, 0.2), at(0.8, 0.8)));
        break;
    case Habit::Dot:
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(at(0.5, 0.5), 0.8 * mm, 0.7 * mm);
        break;
    case Habit::OverTick:
        pen(blue, 0.5);
        p.drawPolyline(QPolygonF{at(0.25, 0.5), at(0.45, 0.8), at(1.5, -0.6)});
        break;
    case Habit::Pencil:
        pen(pencil, 0.35);
        p.drawPolyline(QPolygonF{at(0.2, 0.55), at(0.42, 0.8), at(0.85, 0.15)});
        break;
    case Habit::ThinBlue: {
        QPen thin(lightBlue, 1.0);
        p.setPen(thin);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawPolyline(QPolygonF{at(0.2, 0.55), at(0.42, 0.8), at(0.85, 0.15)});
        break;
    }
    case Habit::RedCross:
        pen(red, 0.5);
        p.drawLine(at(0.2, 0.2), at(0.8, 0.8));
        p.drawLine(at(0.8, 0.2), at(0.2, 0.8));
        break;
    case Habit::Circled:
        pen(blue, 0.5);
        p.drawEllipse(r.center(), r.width() * 0.95, r.height() * 0.85);
        break;
    case Habit::StrayStroke:
        pen(black, 0.4);
        p.drawLine(at(-2.0, 0.2), at(3.0, 0.75));
        break;
    case Habit::None:
        break;
    }
}

// How a camera, a scanner or a fax machine takes the page.
struct Capture {
    double tiltDegrees = 0;   // the page plane turned away from the camera
    double turnDegrees = 0;   // turned in its own plane
    double curlMm = 0;        // the page's middle lifted this far (a sheet that curls)
    double lightFrom = 1.0;   // light across the frame, from this share...
    double lightTo = 1.0;     // ...to this share
    bool shadowBand = false;  // a soft shadow across the page at 55 % light
    double blurPixels = 0;    // Gaussian blur sigma
    double noise = 0;         // Gaussian noise sigma, grey levels
    int jpegQuality = 0;      // 0: a lossless file
    bool photo = false;       // a camera frame (else the page fills the image)
    int frameWidth = 2448, frameHeight = 3264; // a camera of 8 Mpx
};

inline cv::Mat ToMat(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    cv::Mat m(rgb.height(), rgb.width(), CV_8UC3, const_cast<uchar*>(rgb.constBits()),
              static_cast<std::size_t>(rgb.bytesPerLine()));
    return m.clone();
}

inline QImage ToImage(const cv::Mat& m) {
    QImage image(m.data, m.cols, m.rows, static_cast<qsizetype>(m.step), QImage::Format_RGB888);
    return image.copy();
}

// The camera's homography from page pixels to frame pixels: the page turned
// in its plane, tilted about an axis across it, seen through a pinhole and
// fitted into the frame with a margin.
inline cv::Matx33d CameraHomography(const cv::Size& page, const Capture& c) {
    const double w = page.width, h = page.height;
    const double f = 1.1 * std::max(w, h);
    const double t = c.tiltDegrees * M_PI / 180, r = c.turnDegrees * M_PI / 180;
    // The tilt axis runs at 30 degrees to the page's width.
    const double ax = std::cos(M_PI / 6), ay = std::sin(M_PI / 6);
    const cv::Matx33d turn(std::cos(r), -std::sin(r), 0, std::sin(r), std::cos(r), 0, 0, 0, 1);
    const cv::Matx33d K(ax * ax * (1 - std::cos(t)) + std::cos(t), ax * ay * (1 - std::cos(t)),
                        ay * std::sin(t), ax * ay * (1 - std::cos(t)),
                        ay * ay * (1 - std::cos(t)) + std::cos(t), -ax * std::sin(t),
                        -ay * std::sin(t), ax * std::sin(t), std::cos(t));
    std::vector<cv::Point2f> from, to;
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, std::pair{w, 0.0}, std::pair{w, h},
                               std::pair{0.0, h}}) {
        const cv::Vec3d p = K * (turn * cv::Vec3d(x - w / 2, y - h / 2, 0));
        const double z = p[2] + f;
        from.push_back(cv::Point2f(float(x), float(y)));
        to.push_back(cv::Point2f(float(f * p[0] / z), float(f * p[1] / z)));
    }
    // Fit the projected page into 90 % of the frame.
    const cv::Rect2f box = cv::boundingRect(to);
    const double fw = c.photo ? c.frameWidth : w, fh = c.photo ? c.frameHeight : h;
    const double s = std::min(fw * 0.9 / box.width, fh * 0.9 / box.height);
    for (cv::Point2f& p : to)
        p = cv::Point2f(float((p.x - box.x - box.width / 2) * s + fw / 2),
                        float((p.y - box.y - box.height / 2) * s + fh / 2));
    return cv::getPerspectiveTransform(from, to);
}

// The page as the capture takes it: projected (with curl), lit, blurred,
// noisy and compressed, returned as the file's bytes (JPEG or PNG).
inline QByteArray Take(const QImage& page, const Capture& c, unsigned seed) {
    const cv::Mat source = ToMat(page);
    const cv::Matx33d hom = CameraHomography(source.size(), c);
    const cv::Matx33d inverse = hom.inv();
    const int fw = c.photo ? c.frameWidth : source.cols, fh = c.photo ? c.frameHeight : source.rows;
    const cv::Scalar table = c.photo ? cv::Scalar(70, 62, 55) : cv::Scalar(255, 255, 255);
    cv::Mat frame;
    if (c.curlMm <= 0) {
        cv::warpPerspective(source, frame, cv::Mat(hom), cv::Size(fw, fh), cv::INTER_LINEAR,
                            cv::BORDER_CONSTANT, table);
    } else {
        // The middle lifted towards the camera: seen from above the centre,
        // points move outwards from the page's middle line.
        cv::Mat mapX(fh, fw, CV_32F), mapY(fh, fw, CV_32F);
        const double curl = c.curlMm / 25.4 * 300; // page pixels at about 300 dpi
        for (int v = 0; v < fh; ++v) {
            float* mx = mapX.ptr<float>(v);
            float* my = mapY.ptr<float>(v);
            for (int u = 0; u < fw; ++u) {
                const cv::Vec3d q = inverse * cv::Vec3d(u, v, 1);
                double x = q[0] / q[2], y = q[1] / q[2];
                const double s = std::clamp(x / source.cols, 0.0, 1.0);
                const double lift = curl * std::sin(M_PI * s) / (1.1 * source.rows);
                x -= (x - source.cols / 2.0) * lift;
                y -= (y - source.rows / 2.0) * lift;
                mx[u] = float(x);
                my[u] = float(y);
            }
        }
        cv::remap(source, frame, mapX, mapY, cv::INTER_LINEAR, cv::BORDER_CONSTANT, table);
    }
    if (c.blurPixels > 0) cv::GaussianBlur(frame, frame, cv::Size(), c.blurPixels);
    // The light, computed coarsely and spread over the frame.
    const int gw = std::max(2, fw / 8), gh = std::max(2, fh / 8);
    cv::Mat gain(gh, gw, CV_32F);
    const double bandAt = 0.55 * fw, bandWidth = 0.12 * fw, soft = 0.02 * fw;
    for (int gv = 0; gv < gh; ++gv)
        for (int gu = 0; gu < gw; ++gu) {
            const double u = gu * 8.0, v = gv * 8.0;
            double light = c.lightFrom + (c.lightTo - c.lightFrom) * (u + 0.5 * v) / (1.5 * fw);
            if (c.shadowBand) {
                // A band across the page, slanting, with soft edges.
                const double d = std::abs(u + 0.3 * v - bandAt - 0.3 * fh / 2) - bandWidth / 2;
                light *= 1.0 - 0.45 * std::clamp(0.5 - d / soft, 0.0, 1.0);
            }
            gain.at<float>(gv, gu) = float(light);
        }
    cv::resize(gain, gain, cv::Size(fw, fh), 0, 0, cv::INTER_LINEAR);
    cv::Mat lit;
    frame.convertTo(lit, CV_32FC3);
    cv::Mat gains;
    cv::merge(std::vector<cv::Mat>{gain, gain, gain}, gains);
    cv::multiply(lit, gains, lit);
    if (c.noise > 0) {
        cv::Mat noise(lit.size(), CV_32FC3);
        cv::theRNG().state = seed;
        cv::randn(noise, cv::Scalar::all(0), cv::Scalar::all(c.noise));
        lit += noise;
    }
    lit.convertTo(frame, CV_8UC3);
    const QImage out = ToImage(frame);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (c.jpegQuality > 0)
        out.save(&buffer, "JPG", c.jpegQuality);
    else
        out.save(&buffer, "PNG");
    return bytes;
}

// The page faxed: 204 x 98 dpi, black and white, turned a little as the
// sheet went through, written as a Group 4 TIFF with its resolution tags at
// path. page is printed at 204 dpi.
inline bool Fax(const QImage& page, const QString& path) {
    Capture c;
    c.turnDegrees = 0.8;
    const QImage turned = QImage::fromData(Take(page, c, 1), "PNG");
    cv::Mat grey;
    cv::cvtColor(ToMat(turned), grey, cv::COLOR_RGB2GRAY);
    cv::Mat squeezed;
    cv::resize(grey, squeezed, cv::Size(grey.cols, grey.rows * 98 / 204), 0, 0, cv::INTER_AREA);
    cv::threshold(squeezed, squeezed, 150, 255, cv::THRESH_BINARY);
    TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "w");
    if (!tiff) return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, squeezed.cols);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, squeezed.rows);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 204.0);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 98.0);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, squeezed.rows);
    std::vector<uchar> line(static_cast<std::size_t>((squeezed.cols + 7) / 8));
    bool ok = true;
    for (int y = 0; y < squeezed.rows && ok; ++y) {
        std::fill(line.begin(), line.end(), 0);
        const uchar* row = squeezed.ptr<uchar>(y);
        for (int x = 0; x < squeezed.cols; ++x)
            if (row[x] == 0) line[static_cast<std::size_t>(x / 8)] |= uchar(0x80 >> (x % 8));
        ok = TIFFWriteScanline(tiff, line.data(), static_cast<uint32_t>(y), 0) >= 0;
    }
    TIFFClose(tiff);
    return ok;
}
