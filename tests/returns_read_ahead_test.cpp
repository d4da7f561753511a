// Returned PDFs read on several threads: the rows and the files not taken
// must come out in input order, whatever the number of threads, and a
// cancelled collection must end without waiting for files never asked for.
#include "OrderCollection.h"
#include "ReadAhead.h"
#include "ReturnedOrders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int kFiles = 60;

struct NumberedReturns {
    QTemporaryDir dir;
    FormDocument doc;
    LayoutSettings settings;
    OrderForm form;
    QStringList files; // every 7th is damaged
    NumberedReturns() {
        const int c = AppendCategory(doc, QStringLiteral("Brot"));
        AppendField(doc, c, fkText, QStringLiteral("Laibe"), 4, 1);
        form = MakeOrderForm(doc, settings);
        const QString blank = dir.filePath(QStringLiteral("blank.pdf"));
        EXPECT_TRUE(MakeFillablePdf(doc, settings, blank));
        for (int i = 0; i < kFiles; ++i) {
            const QString path = dir.filePath(QStringLiteral("%1.pdf").arg(i, 3, 10, QChar('0')));
            if (i % 7 == 3) {
                QFile damaged(path);
                EXPECT_TRUE(damaged.open(QIODevice::WriteOnly));
                damaged.write("%PDF-1.7\nnot a PDF at all");
            } else {
                FormFilling filling;
                filling.values[form.columns[0].pdfField.toStdString()] = std::to_string(i);
                EXPECT_TRUE(FillForm(blank, path, filling));
            }
            files << path;
        }
    }
};

} // namespace

// Guards against rows or rejections coming out in the order the threads
// finished rather than the order the files were named.
TEST(ReadAheadTest, RowsAndRejectionsKeepTheInputOrder) {
    NumberedReturns r;
    for (int threads : {1, 2, 5}) {
        std::vector<bool> all(r.files.size(), true);
        ReturnedPdfReadAhead ahead(r.files, r.form, all, threads);
        for (int i = 0; i < kFiles; ++i) {
            const ReturnedRead read = ahead.Take(i);
            ASSERT_EQ(read.ok, i % 7 != 3) << "file " << i << ", " << threads << " threads";
            if (read.ok) EXPECT_EQ(read.cells[0].value, QString::number(i));
        }
    }
    const OrderCollection got = CollectOrders(r.form, r.files);
    int row = 0;
    for (int i = 0; i < kFiles; ++i)
        if (i % 7 != 3) EXPECT_EQ(got.table.Row(row++).value(1), QString::number(i));
    EXPECT_EQ(got.table.RowCount(), row);
    ASSERT_EQ(got.rejected.size(), std::size_t{kFiles / 7 + (kFiles % 7 > 3 ? 1 : 0)});
    for (std::size_t k = 0; k < got.rejected.size(); ++k)
        EXPECT_EQ(got.rejected[k].path, r.files[static_cast<int>(7 * k + 3)]);
}

// Guards against a cancelled collection hanging on, or reading, files past
// the read-ahead window, and against files skipped by the collector (scans
// it reads itself) stalling the workers.
TEST(ReadAheadTest, CancelAndSkippedFilesEndPromptly) {
    NumberedReturns r;
    std::vector<bool> everyOther(r.files.size());
    for (std::size_t i = 0; i < everyOther.size(); ++i)
        everyOther[i] = i % 2 == 0;
    {
        ReturnedPdfReadAhead ahead(r.files, r.form, everyOther, 2);
        for (int i = 0; i < kFiles; ++i) {
            if (!everyOther[static_cast<std::size_t>(i)]) {
                ahead.Reached(i);
                continue;
            }
            const ReturnedRead read = ahead.Take(i);
            if (i % 7 != 3) EXPECT_EQ(read.cells.at(0).value, QString::number(i));
        }
    }
    const OrderCollection got =
        CollectOrders(r.form, r.files, [](int done, int) { return done < 5; });
    EXPECT_TRUE(got.cancelled);
    EXPECT_EQ(got.table.RowCount(), 4); // 0, 1, 2, 4; 3 is damaged
}
