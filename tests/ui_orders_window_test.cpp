// The window of returned orders, driven as a user drives it: the menu entry,
// the folder chosen in the file dialog, the table with its totals, the files
// not taken, the separator and "Speichern unter...".
#include "DialogAnswerer.h"
#include "FileBytes.h"
#include "FileDialogInput.h"
#include "MainWindow.h"
#include "OrdersWindow.h"
#include "ProjectFile.h"
#include "ProjectFileController.h"
#include "ReturnedOrders.h"
#include "ScannedReturns.h"
#include "StrokeWriter.h"
#include "TextBoxReading.h"
#include "WorkbookReader.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// The menu entry must open the window; choosing a folder must show its orders
// with the totals below and the damaged file named; the CSV must be saved
// with the separator chosen.
TEST(OrdersWindowTest, FolderIsCollectedShownAndSaved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FormDocument doc;
    const int c = AppendCategory(doc, QStringLiteral("Brot"));
    AppendField(doc, c, fkText, QStringLiteral("Roggen"), 3, 1);
    AppendField(doc, c, fkCheckBox, QStringLiteral("geschnitten"), 1, 1);
    const QString project = dir.filePath(QStringLiteral("form.qlr"));
    ASSERT_TRUE(WriteProjectFile(project, doc, LayoutSettings()));

    auto form = std::make_unique<MainWindow>(dir.path(), QStringList());
    form->show();
    form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    ASSERT_TRUE(form->files().LoadProject(project));
    const QString blank = dir.filePath(QStringLiteral("blank.pdf"));
    ASSERT_TRUE(MakeFillablePdf(form->document().form(), form->document().layout(), blank));
    const QString in = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    FormFilling one;
    one.values = {{"Brot - Roggen", "2,5"}, {"Brot - geschnitten", "1"}};
    ASSERT_TRUE(FillForm(blank, in + QStringLiteral("/a.pdf"), one));
    FormFilling two;
    two.values = {{"Brot - Roggen", "1"}};
    ASSERT_TRUE(FillForm(blank, in + QStringLiteral("/b.pdf"), two));
    ASSERT_TRUE(WriteRaw(in + QStringLiteral("/c.pdf"), "%PDF-1.7\ndamaged"));

    auto* item = form->findChild<QAction*>(QStringLiteral("BestellungenEinsammeln1"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Bestellungen einsammeln..."));
    EXPECT_TRUE(form->findChild<QMenu*>(QStringLiteral("Datei1"))->actions().contains(item));
    item->trigger();
    auto* window = form->findChild<OrdersWindow*>(QStringLiteral("OrdersWindow"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    auto* folderBtn = window->findChild<QPushButton*>(QStringLiteral("ChooseFolderBtn"));
    ASSERT_NE(folderBtn, nullptr);
    {
        DialogAnswerer answer([&](QWidget* w) { TypeFileName(qobject_cast<QFileDialog*>(w), in); });
        QTest::mouseClick(folderBtn, Qt::LeftButton);
        answer.Verify();
    }
    auto* orders = window->findChild<QTableWidget*>(QStringLiteral("OrdersTable"));
    auto* totals = window->findChild<QTableWidget*>(QStringLiteral("TotalsTable"));
    auto* rejected = window->findChild<QListWidget*>(QStringLiteral("RejectedList"));
    ASSERT_TRUE(orders && totals && rejected);
    ASSERT_EQ(orders->rowCount(), 2);
    EXPECT_EQ(orders->horizontalHeaderItem(0)->text(), QStringLiteral("Datei"));
    EXPECT_EQ(orders->horizontalHeaderItem(1)->text(), QStringLiteral("Brot - Roggen"));
    EXPECT_EQ(orders->item(0, 0)->text(), QStringLiteral("a.pdf"));
    EXPECT_EQ(totals->item(0, 0)->text(), QStringLiteral("Summe"));
    EXPECT_EQ(totals->item(0, 1)->text(), QStringLiteral("3,5"));
    EXPECT_EQ(totals->item(0, 2)->text(), QStringLiteral("1"));
    ASSERT_EQ(rejected->count(), 1);
    EXPECT_TRUE(rejected->item(0)->text().startsWith(QStringLiteral("c.pdf: ")));

    // ";" chosen with the keyboard, then saved.
    auto* separator = window->findChild<QComboBox*>(QStringLiteral("SeparatorBox"));
    ASSERT_NE(separator, nullptr);
    separator->setFocus();
    QTest::keyClick(separator, Qt::Key_Down);
    EXPECT_EQ(window->Separator(), QLatin1Char(';'));
    const QString out = dir.filePath(QStringLiteral("orders.csv"));
    {
        DialogAnswerer answer(
            [&](QWidget* w) { TypeFileName(qobject_cast<QFileDialog*>(w), out); });
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SaveAsBtn")),
                          Qt::LeftButton);
        answer.Verify();
    }
    EXPECT_EQ(ReadAll(out), QByteArray("Datei;Brot - Roggen;Brot - geschnitten\r\n"
                                       "a.pdf;2,5;1\r\n"
                                       "b.pdf;1;0\r\n"
                                       "Summe;3,5;1\r\n"));
    form->document().MarkUnchanged();
}

// The window with doc saved as its project and opened; null when that failed.
std::unique_ptr<MainWindow> WindowWithProject(const QTemporaryDir& dir, const FormDocument& doc) {
    const QString project = dir.filePath(QStringLiteral("form.qlr"));
    if (!WriteProjectFile(project, doc, LayoutSettings())) return nullptr;
    auto form = std::make_unique<MainWindow>(dir.path(), QStringList());
    form->show();
    form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    if (!form->files().LoadProject(project)) return nullptr;
    return form;
}

// "Bestellungen einsammeln..." with folder chosen through "Ordner wählen...".
OrdersWindow* CollectFolder(MainWindow& form, const QString& folder) {
    form.findChild<QAction*>(QStringLiteral("BestellungenEinsammeln1"))->trigger();
    auto* window = form.findChild<OrdersWindow*>(QStringLiteral("OrdersWindow"));
    if (!window || !QTest::qWaitForWindowExposed(window)) return nullptr;
    DialogAnswerer answer([&](QWidget* w) { TypeFileName(qobject_cast<QFileDialog*>(w), folder); });
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("ChooseFolderBtn")),
                      Qt::LeftButton);
    answer.Verify();
    return window;
}

// A scan whose single choice has two marks shows the run as "?", marked; a
// click on such a cell shows the scanned box and one click decides it, into
// the table and its totals.
TEST(OrdersWindowTest, UndecidedBoxesOfScansAreDecidedWithAClick) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FormDocument doc;
    const int c = AppendCategory(doc, QStringLiteral("Größe"));
    AppendField(doc, c, fkSingleChoice, QStringLiteral("S"), 2, 0.6);
    AppendField(doc, c, fkSingleChoice, QStringLiteral("M"), 2, 0.6);
    auto form = WindowWithProject(dir, doc);
    ASSERT_TRUE(form);
    const MarkedPrint print = PrintWithMarks(form->document().form(), form->document().layout());
    QImage scan = RasterisePage(print.pdf, 1, 150);
    for (const DrawnField* f : print.fields.OnPage(1))
        DrawPenMark(scan, f->box, 150, PenMark::Cross);
    const QString in = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    ASSERT_TRUE(scan.save(in + QStringLiteral("/scan.png")));
    OrdersWindow* window = CollectFolder(*form, in);
    ASSERT_NE(window, nullptr);
    auto* orders = window->findChild<QTableWidget*>(QStringLiteral("OrdersTable"));
    auto* totals = window->findChild<QTableWidget*>(QStringLiteral("TotalsTable"));
    ASSERT_EQ(orders->rowCount(), 1);
    ASSERT_EQ(orders->columnCount(), 3);
    EXPECT_EQ(orders->item(0, 1)->text(), QStringLiteral("?"));
    EXPECT_EQ(orders->item(0, 2)->text(), QStringLiteral("?"));
    EXPECT_FALSE(orders->item(0, 1)->toolTip().isEmpty());
    auto decide = [&](int column, const char* button) {
        DialogAnswerer answer([&](QWidget* w) {
            EXPECT_EQ(w->objectName(), QStringLiteral("MarkReviewDialog"));
            auto* scanShown = w->findChild<QLabel*>(QStringLiteral("MarkReviewScan"));
            EXPECT_TRUE(scanShown && !scanShown->pixmap().isNull());
            QTest::mouseClick(w->findChild<QPushButton*>(QString::fromLatin1(button)),
                              Qt::LeftButton);
        });
        QTest::mouseClick(orders->viewport(), Qt::LeftButton, {},
                          orders->visualItemRect(orders->item(0, column)).center());
        answer.Verify();
    };
    decide(1, "MarkedBtn");
    decide(2, "EmptyBtn");
    EXPECT_EQ(orders->item(0, 1)->text(), QStringLiteral("1"));
    EXPECT_EQ(orders->item(0, 2)->text(), QStringLiteral("0"));
    EXPECT_EQ(totals->item(0, 1)->text(), QStringLiteral("1"));
    EXPECT_EQ(totals->item(0, 2)->text(), QStringLiteral("0"));
    form->document().MarkUnchanged();
}

// A copy returned without its page 2: the window must show the order as
// incomplete (marked for the eye), its page-2 box empty and not "0", and the
// undecided boxes of such a copy must still be decided in its own row.
TEST(OrdersWindowTest, CopiesMissingAPageAreShownIncomplete) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FormDocument doc;
    const int size = AppendCategory(doc, QStringLiteral("Größe"));
    AppendField(doc, size, fkSingleChoice, QStringLiteral("S"), 2, 0.6);
    AppendField(doc, size, fkSingleChoice, QStringLiteral("M"), 2, 0.6);
    AppendField(doc, AppendCategory(doc, QStringLiteral("Angaben")), fkText,
                QStringLiteral("Bemerkung"), 17, 21);
    AppendField(doc, AppendCategory(doc, QStringLiteral("Essen")), fkCheckBox,
                QStringLiteral("Wurst"), 4, 0.6);
    auto form = WindowWithProject(dir, doc);
    ASSERT_TRUE(form);
    const MarkedPrint print =
        PrintWithMarks(form->document().form(), form->document().layout(), 5);
    ASSERT_EQ(print.pages, 2);
    QImage scan = RasterisePage(print.pdf, 1, 150);
    for (const DrawnField* f : print.fields.OnPage(1))
        if (f->kind == fkSingleChoice) DrawPenMark(scan, f->box, 150, PenMark::Cross);
    const QString in = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    ASSERT_TRUE(scan.save(in + QStringLiteral("/scan.png")));
    OrdersWindow* window = CollectFolder(*form, in);
    ASSERT_NE(window, nullptr);
    auto* orders = window->findChild<QTableWidget*>(QStringLiteral("OrdersTable"));
    ASSERT_EQ(orders->rowCount(), 1);
    ASSERT_EQ(orders->columnCount(), 6);
    EXPECT_EQ(orders->horizontalHeaderItem(5)->text(), QStringLiteral("Vollständig"));
    EXPECT_EQ(orders->item(0, 5)->text(), QStringLiteral("nein"));
    EXPECT_FALSE(orders->item(0, 5)->toolTip().isEmpty());
    EXPECT_EQ(orders->item(0, 4)->text(), QString());
    EXPECT_EQ(orders->item(0, 1)->text(), QStringLiteral("?"));
    DialogAnswerer answer([&](QWidget* w) {
        EXPECT_EQ(w->objectName(), QStringLiteral("MarkReviewDialog"));
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("MarkedBtn")),
                          Qt::LeftButton);
    });
    QTest::mouseClick(orders->viewport(), Qt::LeftButton, {},
                      orders->visualItemRect(orders->item(0, 1)).center());
    answer.Verify();
    EXPECT_EQ(orders->item(0, 1)->text(), QStringLiteral("1"));
    form->document().MarkUnchanged();
}

// Guards the review of scanned text boxes: a click shows the box's scan, and
// what the user types from it goes into the table.
TEST(OrdersWindowTest, TextBoxesOfScansAreTypedInFromTheirScan) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FormDocument doc;
    const int c = AppendCategory(doc, QStringLiteral("Ihre Angaben"));
    AppendField(doc, c, fkText, QStringLiteral("Name"), 8, 1.2);
    AppendField(doc, c, fkCheckBox, QStringLiteral("Kaffee"), 2, 0.6);
    auto form = WindowWithProject(dir, doc);
    ASSERT_TRUE(form);
    const MarkedPrint print = PrintWithMarks(form->document().form(), form->document().layout());
    QImage scan = RasterisePage(print.pdf, 1, 150);
    for (const DrawnField* f : print.fields.OnPage(1))
        if (f->kind == fkCheckBox) DrawPenMark(scan, f->box, 150, PenMark::Tick);
    const QString in = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    ASSERT_TRUE(scan.save(in + QStringLiteral("/scan.png")));
    OrdersWindow* window = CollectFolder(*form, in);
    ASSERT_NE(window, nullptr);
    auto* orders = window->findChild<QTableWidget*>(QStringLiteral("OrdersTable"));
    ASSERT_EQ(orders->rowCount(), 1);
    ASSERT_EQ(orders->columnCount(), 3);
    EXPECT_TRUE(orders->item(0, 1)->text().isEmpty());
    EXPECT_FALSE(orders->item(0, 1)->toolTip().isEmpty());
    EXPECT_EQ(orders->item(0, 2)->text(), QStringLiteral("1"));
    EXPECT_TRUE(orders->item(0, 2)->toolTip().isEmpty());
    {
        DialogAnswerer answer([&](QWidget* w) {
            EXPECT_EQ(w->objectName(), QStringLiteral("HandwritingDialog"));
            auto* scanShown = w->findChild<QLabel*>(QStringLiteral("HandwritingScan"));
            EXPECT_TRUE(scanShown && !scanShown->pixmap().isNull());
            QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("HandwritingEdit")),
                             QStringLiteral("Meier"));
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("OkBtn")), Qt::LeftButton);
        });
        QTest::mouseClick(orders->viewport(), Qt::LeftButton, {},
                          orders->visualItemRect(orders->item(0, 1)).center());
        answer.Verify();
    }
    EXPECT_EQ(orders->item(0, 1)->text(), QStringLiteral("Meier"));
    form->document().MarkUnchanged();
}

// Guards the reading of written quantities in the window: a sure number not
// in the table or its sum, an unsure one shown without the reader's guess, or
// what the user types in not taught to the reader and kept.
TEST(OrdersWindowTest, WrittenNumbersAreReadAndTypedOnesTeachTheReader) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString learned = dir.filePath(QStringLiteral("learned-digits"));
    const auto reader =
        HandNumberReader::Load(QStringLiteral(QUILLORA_SOURCE_DIR "/data/digits.model"), learned);
    ASSERT_TRUE(reader);
    UseNumberReader(reader);
    FormDocument doc;
    const int c = AppendCategory(doc, QStringLiteral("Brot"));
    AppendField(doc, c, fkText, QStringLiteral("Anzahl"), 5, 1.2);
    AppendField(doc, c, fkText, QStringLiteral("Stück"), 5, 1.2);
    auto form = WindowWithProject(dir, doc);
    ASSERT_TRUE(form);
    const MarkedPrint print = PrintWithMarks(form->document().form(), form->document().layout());
    QImage scan = RasterisePage(print.pdf, 1, 200);
    // A 4 the model reads surely, and a long-flagged 1 and crossed 7 it doubts.
    StrokeWriter hand(5, 0.0);
    const QStringList written{QStringLiteral("4"), QStringLiteral("17")};
    int next = 0;
    for (const DrawnField* f : print.fields.OnPage(1)) {
        const double k = 200.0 / 600;
        const QRect box(int(f->box.left * k), int(f->box.top * k), int((f->box.right - f->box.left) * k),
                        int((f->box.bottom - f->box.top) * k));
        QPainter p(&scan);
        p.setCompositionMode(QPainter::CompositionMode_Darken);
        p.drawImage(box.left() + box.width() * 45 / 100, box.top() + box.height() / 8,
                    hand.Box(written[next++], box.width() / 2, box.height() * 3 / 4));
    }
    const QString in = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    ASSERT_TRUE(scan.save(in + QStringLiteral("/scan.png")));
    OrdersWindow* window = CollectFolder(*form, in);
    ASSERT_NE(window, nullptr);
    auto* orders = window->findChild<QTableWidget*>(QStringLiteral("OrdersTable"));
    auto* totals = window->findChild<QTableWidget*>(QStringLiteral("TotalsTable"));
    ASSERT_EQ(orders->rowCount(), 1);
    EXPECT_EQ(orders->item(0, 1)->text(), QStringLiteral("4"));
    EXPECT_TRUE(orders->item(0, 1)->toolTip().isEmpty());
    EXPECT_TRUE(orders->item(0, 2)->text().isEmpty());
    EXPECT_FALSE(orders->item(0, 2)->toolTip().isEmpty());
    EXPECT_EQ(totals->item(0, 1)->text(), QStringLiteral("4"));
    {
        DialogAnswerer answer([&](QWidget* w) {
            EXPECT_EQ(w->objectName(), QStringLiteral("HandwritingDialog"));
            auto* guess = w->findChild<QLabel*>(QStringLiteral("HandwritingSuggestion"));
            auto* edit = w->findChild<QLineEdit*>(QStringLiteral("HandwritingEdit"));
            EXPECT_TRUE(guess && !edit->text().isEmpty() && guess->text().contains(edit->text()));
            EXPECT_EQ(edit->selectedText(), edit->text());
            QTest::keyClicks(edit, QStringLiteral("17"));
            QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("OkBtn")), Qt::LeftButton);
        });
        QTest::mouseClick(orders->viewport(), Qt::LeftButton, {},
                          orders->visualItemRect(orders->item(0, 2)).center());
        answer.Verify();
    }
    EXPECT_EQ(orders->item(0, 2)->text(), QStringLiteral("17"));
    EXPECT_EQ(totals->item(0, 2)->text(), QStringLiteral("17"));
    EXPECT_EQ(reader->Learned().SampleCount(), 2);
    EXPECT_EQ(QDir(learned).entryList({QStringLiteral("*.png")}).size(), 1);
    UseNumberReader(nullptr);
    form->document().MarkUnchanged();
}

// Takes the desktop's requests to open files, so that a test sees them
// instead of a spreadsheet program starting.
class OpenRequests : public QObject {
    Q_OBJECT
  public:
    OpenRequests() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenRequests() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls << url; }
};

// "Speichern unter..." must offer the workbook first and write one for a
// name typed without an ending, with the window's table in it; the CSV filter
// chosen must give CSV; "Tabelle öffnen" must ask the desktop to open the
// table last saved.
TEST(OrdersWindowTest, SavesWorkbookByDefaultOrCsvAndOpensTheTable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FormDocument doc;
    const int c = AppendCategory(doc, QStringLiteral("Brot"));
    AppendField(doc, c, fkText, QStringLiteral("Roggen"), 3, 1);
    AppendField(doc, c, fkCheckBox, QStringLiteral("geschnitten"), 1, 1);
    auto form = WindowWithProject(dir, doc);
    ASSERT_TRUE(form);
    const QString blank = dir.filePath(QStringLiteral("blank.pdf"));
    ASSERT_TRUE(MakeFillablePdf(form->document().form(), form->document().layout(), blank));
    const QString in = dir.filePath(QStringLiteral("in"));
    ASSERT_TRUE(QDir().mkpath(in));
    FormFilling one;
    one.values = {{"Brot - Roggen", "2,5"}, {"Brot - geschnitten", "1"}};
    ASSERT_TRUE(FillForm(blank, in + QStringLiteral("/a.pdf"), one));
    ASSERT_TRUE(WriteRaw(in + QStringLiteral("/c.pdf"), "%PDF-1.7\ndamaged"));
    OrdersWindow* window = CollectFolder(*form, in);
    ASSERT_NE(window, nullptr);
    auto* save = window->findChild<QPushButton*>(QStringLiteral("SaveAsBtn"));
    auto* open = window->findChild<QPushButton*>(QStringLiteral("OpenTableBtn"));
    ASSERT_TRUE(save && open);
    EXPECT_FALSE(open->isEnabled());

    const QString book = dir.filePath(QStringLiteral("orders"));
    {
        DialogAnswerer answer([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->nameFilters(),
                      QStringList({QStringLiteral("Arbeitsmappe (*.xlsx)"),
                                   QStringLiteral("CSV (*.csv)")}));
            EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("Arbeitsmappe (*.xlsx)"));
            TypeFileName(dialog, book);
        });
        QTest::mouseClick(save, Qt::LeftButton);
        answer.Verify();
    }
    const std::vector<WorkbookSheet> sheets = ReadWorkbook(book + QStringLiteral(".xlsx"));
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].At(1, 0).value.toString(), QStringLiteral("a.pdf"));
    EXPECT_DOUBLE_EQ(sheets[0].At(1, 1).value.toDouble(), 2.5);
    EXPECT_EQ(sheets[0].At(2, 2).value.toString(), QStringLiteral("=SUM(C2:C2)"));
    EXPECT_EQ(sheets[1].At(1, 0).value.toString(), in + QStringLiteral("/c.pdf"));

    ASSERT_TRUE(open->isEnabled());
    {
        OpenRequests requests;
        QTest::mouseClick(open, Qt::LeftButton);
        EXPECT_EQ(requests.urls,
                  QList<QUrl>{QUrl::fromLocalFile(book + QStringLiteral(".xlsx"))});
    }

    // The CSV filter chosen in the dialog's list, as a user picks it.
    const QString csv = dir.filePath(QStringLiteral("orders-csv"));
    {
        DialogAnswerer answer([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_NE(types, nullptr);
            types->setFocus();
            QTest::keyClick(types, Qt::Key_Down);
            TypeFileName(dialog, csv);
        });
        QTest::mouseClick(save, Qt::LeftButton);
        answer.Verify();
    }
    EXPECT_EQ(ReadAll(csv + QStringLiteral(".csv")),
              QByteArray("Datei,Brot - Roggen,Brot - geschnitten\r\n"
                         "a.pdf,\"2,5\",1\r\n"
                         "Summe,\"2,5\",1\r\n"));
    {
        OpenRequests requests;
        QTest::mouseClick(open, Qt::LeftButton);
        EXPECT_EQ(requests.urls, QList<QUrl>{QUrl::fromLocalFile(csv + QStringLiteral(".csv"))});
    }
    form->document().MarkUnchanged();
}

} // namespace

#include "ui_orders_window_test.moc"
