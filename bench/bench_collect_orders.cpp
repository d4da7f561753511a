// Collecting returned orders: 1,000 filled-in fillable PDFs of a form of about
// 12 A4 pages (BenchDocuments.h) read into the order table and written as CSV
// as the command line writes it, each order as it is read. The goal is under
// 10 s for the 1,000 on one core; the peak memory must not grow with the
// number of files (compare the 100 and the 1,000 runs).
//
// The files are hard links of one filled-in PDF, so that the folder takes
// the room of one file; each is opened and read as a file of its own.

#include "AtomicFile.h"
#include "BenchDocuments.h"
#include "BenchMain.h"
#include "FillablePdf.h"
#include "OrderCollection.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kMostFiles = 1000;

struct Fixture {
    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings = OrderFormSettings(true);
    int pages = 0;
    QString folder;
    Fixture() {
        const QString picture = WritePatternPicture(QDir(dir.path()));
        PageInput in{doc, settings};
        in.printer = PaperPdfSetup().Page();
        pages = FillToAboutPages(doc, in, 12, picture);
        const QString blank = QDir(dir.path()).filePath(QStringLiteral("blank.pdf"));
        PrintFillablePdf(PaperPdfSetup(), PageInput{doc, settings}, QStringLiteral("Form"), blank);
        // Filled in: a quantity in every text field, every check box ticked,
        // the first button of every group chosen.
        QPDF pdf;
        pdf.processFile(blank.toLocal8Bit().constData());
        QPDFObjectHandle fields = pdf.getRoot().getKey("/AcroForm").getKey("/Fields");
        for (int i = 0; i < fields.getArrayNItems(); ++i) {
            QPDFObjectHandle f = fields.getArrayItem(i);
            if (f.getKey("/FT").getName() == "/Tx")
                f.replaceKey("/V", QPDFObjectHandle::newString("2"));
            else if (f.getKey("/Kids").isArray())
                f.replaceKey("/V", QPDFObjectHandle::newName("/Topf 9 cm"));
            else
                f.replaceKey("/V", QPDFObjectHandle::newName("/Yes"));
        }
        const QString filled = QDir(dir.path()).filePath(QStringLiteral("filled.pdf"));
        const QByteArray filledName = filled.toLocal8Bit(); // outlives the writer's use of it
        QPDFWriter writer(pdf, filledName.constData());
        writer.write();
        folder = QDir(dir.path()).filePath(QStringLiteral("returned"));
        QDir().mkpath(folder);
        for (int i = 0; i < kMostFiles; ++i) {
            const QString link = QDir(folder).filePath(QStringLiteral("%1.pdf").arg(i, 4, 10, QLatin1Char('0')));
            if (::link(filled.toLocal8Bit().constData(), link.toLocal8Bit().constData()) != 0)
                QFile::copy(filled, link);
        }
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

// Argument: how many of the files are collected.
void BM_CollectOrders(benchmark::State& state) {
    Fixture& f = Shared();
    const int n = static_cast<int>(state.range(0));
    const OrderForm form = MakeOrderForm(f.doc, f.settings);
    QStringList files;
    for (int i = 0; i < n; ++i)
        files << QDir(f.folder).filePath(QStringLiteral("%1.pdf").arg(i, 4, 10, QLatin1Char('0')));
    int rows = 0;
    const QString csv = QDir(f.dir.path()).filePath(QStringLiteral("orders.csv"));
    for (auto _ : state) {
        AtomicFileWriter file(csv);
        file.Open();
        auto write = [&](const QStringList& cells) {
            const QByteArray line = CsvLine(cells, QLatin1Char(';'));
            file.Write(line.constData(), line.size());
        };
        write(OrderTable(form).Heads(QStringLiteral("Datei")));
        const OrderCollection collection = CollectOrders(form, files, {}, write);
        write(collection.table.Totals(QStringLiteral("Summe")));
        file.Commit();
        rows = collection.table.RowCount();
    }
    state.counters["pages"] = f.pages;
    state.counters["columns"] = static_cast<double>(form.columns.size());
    state.counters["rows"] = rows;
    state.counters["peak_MB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
}
BENCHMARK(BM_CollectOrders)->Arg(100)->Arg(kMostFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return RunDrawingBenchmarks<QGuiApplication>(argc, argv, [] {});
}
