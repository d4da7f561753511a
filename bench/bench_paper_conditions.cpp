// Paper as customers return it: the order form of about three A4 pages
// (BenchDocuments.h) printed with marks, its boxes marked the ways people
// mark them, then scanned, faxed or photographed under the conditions of
// PaperSimulator.h and read back from the file's bytes as --collect reads
// them. Each condition reports its boxes right, wrong, "?" and on rejected
// pages, against what the customer meant; a wrong decision is the fault to
// drive to zero, "?" should stay at a few in a hundred. It also times the
// decoding of each file and the reading of its page, so that the reader's
// cost can be compared with the decoding's. Run one condition with
// --benchmark_filter=<its short name>.

#include "BenchDocuments.h"
#include "BenchMain.h"
#include "FieldMap.h"
#include "OrderForm.h"
#include "PaperReturns.h"
#include "PaperSimulator.h"
#include "PrintRun.h"
#include "ScanFile.h"

#include <poppler/qt6/poppler-qt6.h>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

// Each page is marked, taken and read this many times, marked differently each time.
constexpr int kFillings = 3;

enum class Marks { Everyday, Habits, Empty };
// How the form is printed: box outlines 0.6 mm wide, none (a line width of
// 0 prints a hair line), or 0.6 mm with the boxes on the paper's left edge.
enum class Outlines { Printed, None, OnTheEdge };

struct Condition {
    const char* shortName;
    const char* name;
    Capture capture;
    Marks marks = Marks::Everyday;
    bool fax = false;
    Outlines outlines = Outlines::Printed;
};

Capture Photo(double tilt, double turn) {
    Capture c;
    c.photo = true;
    c.tiltDegrees = tilt;
    c.turnDegrees = turn;
    return c;
}

Capture Everything(double tilt, double turn) {
    Capture c = Photo(tilt, turn);
    c.lightFrom = 1.0;
    c.lightTo = 0.55;
    c.shadowBand = true;
    c.blurPixels = 1.3;
    c.noise = 5;
    c.jpegQuality = 80;
    return c;
}

std::vector<Condition> Conditions() {
    std::vector<Condition> all;
    Capture flatbed;
    flatbed.turnDegrees = 1.5;
    all.push_back({"flatbed", "flatbed 300 dpi, turned 1.5 degrees", flatbed});
    all.push_back({"fax", "fax, 204 x 98 dpi G4 TIFF", {}, Marks::Everyday, true});
    Capture light = Photo(0, 0.5);
    light.lightTo = 0.5;
    light.shadowBand = true;
    light.jpegQuality = 90;
    all.push_back({"light", "photo, no tilt, light 100 to 50 %, shadow band", light});
    all.push_back({"tilt3", "photo, 3 degrees tilt, sharp, even light", Photo(3, 1)});
    all.push_back({"empty3", "empty page, photo, 3 degrees tilt", Photo(3, 1), Marks::Empty});
    Capture ten = Everything(10, -2);
    ten.shadowBand = false;
    all.push_back({"tilt10", "photo, 10 degrees tilt, blur, noise, JPEG, uneven light", ten});
    all.push_back({"tilt20", "photo, 20 degrees tilt, everything", Everything(20, 3)});
    all.push_back({"tilt30", "photo, 30 degrees tilt, everything", Everything(30, -4)});
    Capture curl = Everything(10, 2);
    curl.curlMm = 12;
    all.push_back({"curl", "photo, 10 degrees tilt, curled 12 mm, everything", curl});
    all.push_back({"habits", "pencil, light blue, red, circled, stray stroke: flatbed", flatbed,
                   Marks::Habits});
    all.push_back({"habits10", "pencil, light blue, red, circled, stray stroke: photo 10 degrees",
                   Everything(10, 1), Marks::Habits});
    all.push_back({"upside", "photo upside down, 10 degrees tilt, everything", Everything(10, 178)});
    Capture twelve = Everything(10, 1);
    twelve.frameWidth = 3000;
    twelve.frameHeight = 4000;
    all.push_back({"photo12", "photo of 12 Mpx, 10 degrees tilt, everything", twelve});
    all.push_back({"nolines", "no outlines: flatbed", flatbed, Marks::Everyday, false,
                   Outlines::None});
    all.push_back({"nolines10", "no outlines: photo 10 degrees, everything", Everything(10, 1),
                   Marks::Everyday, false, Outlines::None});
    all.push_back({"nolines20", "no outlines: photo 20 degrees, everything", Everything(20, 3),
                   Marks::Everyday, false, Outlines::None});
    all.push_back({"nolines30", "no outlines: photo 30 degrees, everything", Everything(30, -4),
                   Marks::Everyday, false, Outlines::None});
    all.push_back({"edge", "boxes on the paper's edge: flatbed", flatbed, Marks::Everyday, false,
                   Outlines::OnTheEdge});
    all.push_back({"edge10", "boxes on the paper's edge: photo 10 degrees, everything",
                   Everything(10, 1), Marks::Everyday, false, Outlines::OnTheEdge});
    return all;
}

struct Fixture {
    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings = OrderFormSettings(true);
    FieldMap fields;
    OrderForm form;
    QByteArray pdf;
    int pages = 0;
    std::map<std::pair<int, int>, QImage> rendered; // by page and dpi

    explicit Fixture(Outlines outlines) {
        if (outlines == Outlines::None) settings.lineWidthMm = 0;
        if (outlines == Outlines::OnTheEdge) settings.leftMarginMm = 0;
        const QString picture = WritePatternPicture(QDir(dir.path()));
        PageInput in{doc, settings};
        in.printer = PaperPdfSetup().Page();
        FillToAboutPages(doc, in, 3, picture);
        form = MakeOrderForm(doc, settings);
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        PrintPages marked;
        marked.marks = form.identity;
        in.fields = &fields;
        pages = PrintToPdfDevice(PaperPdfSetup(), in, QStringLiteral("Form"), buffer, marked, {},
                                 nullptr, nullptr);
    }

    const QImage& Page(int page, int dpi) {
        QImage& image = rendered[{page, dpi}];
        if (image.isNull()) {
            const std::unique_ptr<Poppler::Document> d = Poppler::Document::loadFromData(pdf);
            d->setRenderHint(Poppler::Document::Antialiasing);
            image = d->page(page - 1)->renderToImage(dpi, dpi).convertToFormat(
                QImage::Format_RGB32);
        }
        return image;
    }
};

Fixture& Shared(Outlines outlines = Outlines::Printed) {
    static std::map<Outlines, std::unique_ptr<Fixture>> fixtures;
    std::unique_ptr<Fixture>& fixture = fixtures[outlines];
    if (!fixture) fixture = std::make_unique<Fixture>(outlines);
    return *fixture;
}

struct Tally {
    int right = 0, wrong = 0, undecided = 0, rejected = 0;
    double decodeMs = 0, readMs = 0;
    std::map<std::string, int> wrongBy; // habit: wrong decisions
    std::map<std::string, int> undecidedBy;
    std::vector<std::string> rejections;
};

std::map<std::string, Tally>& Results() {
    static std::map<std::string, Tally> results;
    return results;
}

Habit Pick(Marks marks, int n) {
    static const Habit everyday[] = {Habit::None, Habit::Tick,     Habit::None, Habit::Cross,
                                     Habit::None, Habit::Fill,     Habit::None, Habit::Dot,
                                     Habit::None, Habit::OverTick};
    static const Habit habits[] = {Habit::None,     Habit::Pencil, Habit::None,
                                   Habit::ThinBlue, Habit::None,   Habit::RedCross,
                                   Habit::Circled,  Habit::None,   Habit::StrayStroke};
    switch (marks) {
    case Marks::Everyday: return everyday[n % std::size(everyday)];
    case Marks::Habits: return habits[n % std::size(habits)];
    case Marks::Empty: return Habit::None;
    }
    return Habit::None;
}

void ReadPage(Fixture& f, PaperForm& paper, const Condition& c, int page, unsigned seed,
              Tally& tally) {
    const int dpi = c.fax ? 204 : 300;
    QImage image = f.Page(page, dpi).copy();
    std::mt19937 random(seed);
    std::map<std::pair<int, int>, Habit> truth; // by column
    std::map<int, bool> groupTaken;
    int n = static_cast<int>(seed % 7);
    for (const DrawnField* field : f.fields.OnPage(page)) {
        if (field->kind == fkText) continue;
        const int column = paper.ColumnOf(field->category, field->field);
        const OrderColumn& col = f.form.columns[static_cast<std::size_t>(column)];
        Habit h = Pick(c.marks, n++);
        if (col.kind == fkSingleChoice && HabitMeansMarked(h)) {
            if (groupTaken[col.group]) h = Habit::None;
            groupTaken[col.group] = true;
        }
        truth[{page, column}] = h;
        const double k = dpi / 600.0;
        const QRectF box(field->box.left * k, field->box.top * k,
                         (field->box.right - field->box.left) * k,
                         (field->box.bottom - field->box.top) * k);
        DrawHabit(image, box, dpi, h, random);
    }
    QByteArray bytes;
    if (c.fax) {
        const QString path = QDir(f.dir.path()).filePath(QStringLiteral("fax.tif"));
        Fax(image, path);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        bytes = file.readAll();
    } else {
        bytes = Take(image, c.capture, seed);
    }
    image = QImage();
    QElapsedTimer timer;
    timer.start();
    ScanFile file(bytes);
    ReturnRejection why;
    QImage scan;
    if (file.Open(&why)) scan = file.Page(0, &why);
    tally.decodeMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    const ScannedPage read = scan.isNull() ? ScannedPage{} : ReadScannedPage(scan, paper);
    tally.readMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!read.ok) {
        tally.rejected += static_cast<int>(truth.size());
        tally.rejections.push_back(
            (scan.isNull() ? why.english : read.rejection.english).toStdString());
        return;
    }
    for (const auto& [key, habit] : truth) {
        const QString& got = read.cells[static_cast<std::size_t>(key.second)].value;
        const QString meant = HabitMeansMarked(habit) ? QStringLiteral("1") : QStringLiteral("0");
        if (got == kUndecidedMark) {
            ++tally.undecided;
            ++tally.undecidedBy[HabitName(habit)];
        } else if (got == meant) {
            ++tally.right;
        } else {
            ++tally.wrong;
            ++tally.wrongBy[HabitName(habit)];
        }
    }
}

void BM_PaperCondition(benchmark::State& state, const Condition& c) {
    Fixture& f = Shared(c.outlines);
    PaperForm paper(f.form, PageInput{f.doc, f.settings});
    Tally tally;
    for (auto _ : state) {
        tally = Tally();
        for (int filling = 0; filling < kFillings; ++filling)
            for (int page = 1; page <= f.pages; ++page)
                ReadPage(f, paper, c, page, static_cast<unsigned>(page * 31 + filling * 7 + 5),
                         tally);
    }
    state.counters["right"] = tally.right;
    state.counters["wrong"] = tally.wrong;
    state.counters["undecided"] = tally.undecided;
    state.counters["rejected"] = tally.rejected;
    state.counters["decode_ms"] = tally.decodeMs / (f.pages * kFillings);
    state.counters["read_ms"] = tally.readMs / (f.pages * kFillings);
    Results()[c.shortName] = tally;
}

void PrintTable() {
    if (Results().empty()) return;
    std::printf("\n| condition | right | wrong | \"?\" | on rejected pages | read / decode per page |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Condition& c : Conditions()) {
        const auto found = Results().find(c.shortName);
        if (found == Results().end()) continue;
        const Tally& t = found->second;
        std::printf("| %s | %d | %d | %d | %d | %.0f / %.0f ms |\n", c.name, t.right, t.wrong,
                    t.undecided, t.rejected, t.readMs / (Shared(c.outlines).pages * kFillings),
                    t.decodeMs / (Shared(c.outlines).pages * kFillings));
    }
    for (const Condition& c : Conditions()) {
        const auto found = Results().find(c.shortName);
        if (found == Results().end()) continue;
        const Tally& t = found->second;
        std::string line;
        for (const auto& [habit, n] : t.wrongBy)
            line += " wrong " + habit + " " + std::to_string(n) + ";";
        for (const auto& [habit, n] : t.undecidedBy)
            line += " ? " + habit + " " + std::to_string(n) + ";";
        for (const std::string& r : t.rejections)
            line += " rejected: " + r + ";";
        if (!line.empty()) std::printf("%s:%s\n", c.shortName, line.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    static const std::vector<Condition> conditions = Conditions();
    for (const Condition& c : conditions)
        benchmark::RegisterBenchmark(c.shortName, BM_PaperCondition, c)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, PrintTable);
}
