// Reading scanned paper returns: a form of about three A4 pages with a
// gradient background (BenchDocuments.h), printed with marks, rasterised at
// 300 dpi, every other box ticked, crossed or filled by "pen", skewed by up
// to 3 degrees, scaled by up to 2 %, speckled and saved as JPEG (quality 70).
// BM_ReadScannedPage times the reader on one decoded page (goal: under 0.3 s
// on one core); BM_CollectScans reads the JPEG files as --collect does and
// reports the peak memory, which must not grow with the number of pages
// (compare the runs), and the decisions: wrong ones (goal 0) and "?" (goal
// at most 1 %).

#include "BenchDocuments.h"
#include "BenchMain.h"
#include "FieldMap.h"
#include "OrderCollection.h"
#include "PaperReturns.h"
#include "PrintRun.h"

#include <poppler/qt6/poppler-qt6.h>

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <random>
#include <sys/resource.h>

namespace {

constexpr int kDpi = 300;
constexpr int kMostPages = 40;

struct Fixture {
    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings = OrderFormSettings(true);
    FieldMap fields;
    OrderForm form;
    int pages = 0;
    std::vector<QImage> scans;   // the scans of the form's pages, decoded
    std::vector<QString> files;  // kMostPages JPEG files, the form's pages in turn
    std::map<std::pair<int, int>, QString> expected; // by page and column
    int boxes = 0;

    Fixture() {
        const QString picture = WritePatternPicture(QDir(dir.path()));
        PageInput in{doc, settings};
        in.printer = PaperPdfSetup().Page();
        FillToAboutPages(doc, in, 3, picture);
        form = MakeOrderForm(doc, settings);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        PrintPages marked;
        marked.marks = form.identity;
        in.fields = &fields;
        pages = PrintToPdfDevice(PaperPdfSetup(), in, QStringLiteral("Form"), buffer, marked, {},
                                 nullptr, nullptr);
        in.fields = nullptr;
        PaperForm paper(form, PageInput{doc, settings});
        const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(pdf);
        document->setRenderHint(Poppler::Document::Antialiasing);
        std::mt19937 random(11);
        int n = 0;
        for (int page = 1; page <= pages; ++page) {
            QImage image = document->page(page - 1)->renderToImage(kDpi, kDpi).convertToFormat(
                QImage::Format_RGB32);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            QPen pen(QColor(20, 20, 140), 0.5 / 25.4 * kDpi);
            p.setPen(pen);
            std::map<int, bool> groupTaken;
            for (const DrawnField* f : fields.OnPage(page)) {
                if (f->kind == fkText) continue;
                const int column = paper.ColumnOf(f->category, f->field);
                const OrderColumn& c = form.columns[static_cast<std::size_t>(column)];
                bool tick = (n++ % 2) == 0;
                if (c.kind == fkSingleChoice) {
                    if (groupTaken[c.group]) tick = false;
                    if (tick) groupTaken[c.group] = true;
                }
                expected[{page, column}] = tick ? QStringLiteral("1") : QStringLiteral("0");
                ++boxes;
                if (!tick) continue;
                const double k = kDpi / 600.0;
                const QRectF r(f->box.left * k, f->box.top * k, (f->box.right - f->box.left) * k,
                               (f->box.bottom - f->box.top) * k);
                auto at = [&](double u, double v) {
                    return QPointF(r.left() + u * r.width(), r.top() + v * r.height());
                };
                switch (n % 3) {
                case 0:
                    p.drawPolyline(QPolygonF{at(0.2, 0.55), at(0.42, 0.8), at(0.85, 0.15)});
                    break;
                case 1:
                    p.drawLine(at(0.2, 0.2), at(0.8, 0.8));
                    p.drawLine(at(0.8, 0.2), at(0.2, 0.8));
                    break;
                default:
                    p.fillRect(QRectF(at(0.25, 0.25), at(0.75, 0.75)), pen.color());
                }
            }
            p.end();
            // Skewed, scaled, shifted, speckled.
            QImage scan(image.size(), QImage::Format_RGB32);
            scan.fill(Qt::white);
            QPainter s(&scan);
            s.setRenderHint(QPainter::SmoothPixmapTransform);
            std::uniform_real_distribution<double> skew(-3, 3), scale(0.98, 1.02);
            s.translate(image.width() / 2.0 + 20, image.height() / 2.0 - 15);
            s.rotate(skew(random));
            const double z = scale(random);
            s.scale(z, z);
            s.translate(-image.width() / 2.0, -image.height() / 2.0);
            s.drawImage(0, 0, image);
            s.resetTransform();
            std::uniform_int_distribution<int> x(0, scan.width() - 3), y(0, scan.height() - 3);
            for (int i = 0; i < 1500; ++i)
                s.fillRect(x(random), y(random), 2, 2, Qt::black);
            s.end();
            QByteArray jpeg;
            QBuffer out(&jpeg);
            out.open(QIODevice::WriteOnly);
            scan.save(&out, "JPG", 70);
            scans.push_back(QImage::fromData(jpeg, "JPG"));
            const QString file = QDir(dir.path()).filePath(QStringLiteral("page%1.jpg").arg(page));
            QFile f(file);
            f.open(QIODevice::WriteOnly);
            f.write(jpeg);
        }
        for (int i = 0; i < kMostPages; ++i)
            files.push_back(QDir(dir.path()).filePath(QStringLiteral("page%1.jpg").arg(i % pages + 1)));
    }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void BM_ReadScannedPage(benchmark::State& state) {
    Fixture& f = Shared();
    PaperForm paper(f.form, PageInput{f.doc, f.settings});
    int wrong = 0, undecided = 0, read = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        const QImage& scan = f.scans[i++ % f.scans.size()];
        const ScannedPage page = ReadScannedPage(scan, paper);
        if (!page.ok) {
            state.SkipWithError("a page was not read");
            return;
        }
        for (const auto& [key, value] : f.expected) {
            if (key.first != page.page) continue;
            const QString& got = page.cells[static_cast<std::size_t>(key.second)].value;
            ++read;
            if (got == kUndecidedMark)
                ++undecided;
            else if (got != value)
                ++wrong;
        }
    }
    state.counters["boxes_read"] = read;
    state.counters["wrong"] = wrong;
    state.counters["undecided_pct"] = read ? 100.0 * undecided / read : 0;
}
BENCHMARK(BM_ReadScannedPage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// Argument: how many page files are collected.
void BM_CollectScans(benchmark::State& state) {
    Fixture& f = Shared();
    const int n = static_cast<int>(state.range(0));
    PaperForm paper(f.form, PageInput{f.doc, f.settings});
    QStringList files;
    for (int i = 0; i < n; ++i)
        files << f.files[static_cast<std::size_t>(i)];
    int rows = 0;
    for (auto _ : state) {
        const OrderCollection collection =
            CollectOrders(f.form, files, {}, [](const QStringList&) {}, {&paper});
        rows = collection.table.RowCount();
    }
    state.counters["pages"] = n;
    state.counters["rows"] = rows;
    state.counters["peak_MB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
}
BENCHMARK(BM_CollectScans)->Arg(10)->Arg(kMostPages)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, [] {});
}
