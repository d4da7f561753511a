// The window of returned orders: choosing files, the table, saving it.
#include "OrdersWindow.h"

#include "AtomicFile.h"
#include "Document.h"
#include "FileDialogs.h"
#include "MarkReview.h"
#include "OrderWorkbook.h"
#include "PreparedPages.h"
#include "ProgramFiles.h"
#include "ProgramMessages.h"
#include "ReturnFileTypes.h"
#include "TextBoxReading.h"
#include "Translator.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString T(const char* german) {
    return TranslateText(QString::fromUtf8(german));
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(T(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QTableWidget* Table(QWidget* parent, const char* name) {
    auto* table = new QTableWidget(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

// The separators offered: caption and character.
struct SeparatorChoice {
    const char* caption;
    char16_t separator;
};
constexpr SeparatorChoice kSeparators[] = {
    {"Komma (,)", u','}, {"Semikolon (;)", u';'}, {"Tabulator", u'\t'}};

} // namespace

OrdersWindow::OrdersWindow(const Document& doc, QWidget* parent) : QDialog(parent), doc(doc) {
    setObjectName(QStringLiteral("OrdersWindow"));
    setWindowTitle(T("Bestellungen einsammeln"));
    auto* layout = new QVBoxLayout(this);
    auto* choose = new QHBoxLayout;
    chooseFilesButton = Button(this, "ChooseFilesBtn", "Dateien wählen...");
    chooseFolderButton = Button(this, "ChooseFolderBtn", "Ordner wählen...");
    connect(chooseFilesButton, &QPushButton::clicked, this, &OrdersWindow::chooseFiles);
    connect(chooseFolderButton, &QPushButton::clicked, this, &OrdersWindow::chooseFolder);
    choose->addWidget(chooseFilesButton);
    choose->addWidget(chooseFolderButton);
    choose->addStretch();
    layout->addLayout(choose);

    ordersTable = Table(this, "OrdersTable");
    totalsTable = Table(this, "TotalsTable");
    // The totals stay below the orders, in the orders' columns.
    totalsTable->horizontalHeader()->hide();
    totalsTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    totalsTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    totalsTable->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(ordersTable->horizontalHeader(), &QHeaderView::sectionResized, totalsTable,
            [this](int column, int, int size) { totalsTable->setColumnWidth(column, size); });
    connect(ordersTable->horizontalScrollBar(), &QScrollBar::valueChanged,
            totalsTable->horizontalScrollBar(), &QScrollBar::setValue);
    connect(ordersTable, &QTableWidget::cellClicked, this, &OrdersWindow::reviewCell);
    layout->addWidget(ordersTable, 1);
    layout->addWidget(totalsTable);

    auto* rejectedLabel = new QLabel(T("Nicht übernommene Dateien:"), this);
    rejectedLabel->setObjectName(QStringLiteral("RejectedLabel"));
    layout->addWidget(rejectedLabel);
    rejectedList = new QListWidget(this);
    rejectedList->setObjectName(QStringLiteral("RejectedList"));
    rejectedList->setMaximumHeight(120);
    layout->addWidget(rejectedList);

    auto* bottom = new QHBoxLayout;
    auto* separatorLabel = new QLabel(T("Trennzeichen:"), this);
    separatorLabel->setObjectName(QStringLiteral("SeparatorLabel"));
    separatorChoice = new QComboBox(this);
    separatorChoice->setObjectName(QStringLiteral("SeparatorBox"));
    for (const SeparatorChoice& choice : kSeparators)
        separatorChoice->addItem(T(choice.caption));
    separatorLabel->setBuddy(separatorChoice);
    saveAsButton = Button(this, "SaveAsBtn", "Speichern unter...");
    saveAsButton->setEnabled(false);
    connect(saveAsButton, &QPushButton::clicked, this, &OrdersWindow::saveAs);
    openTableButton = Button(this, "OpenTableBtn", "Tabelle öffnen");
    openTableButton->setEnabled(false);
    connect(openTableButton, &QPushButton::clicked, this, &OrdersWindow::openSaved);
    closeButton = Button(this, "CloseBtn", "Schließen");
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(separatorLabel);
    bottom->addWidget(separatorChoice);
    bottom->addStretch();
    bottom->addWidget(saveAsButton);
    bottom->addWidget(openTableButton);
    bottom->addWidget(closeButton);
    layout->addLayout(bottom);
    resize(760, 480);
}

OrdersWindow::~OrdersWindow() = default;

QChar OrdersWindow::Separator() const {
    const int i = std::max(0, separatorChoice->currentIndex());
    return QChar(kSeparators[i].separator);
}

void OrdersWindow::chooseFiles() {
    const std::unique_ptr<QFileDialog> dialog(
        MakeFileDialog(this, "OrdersFilesDialog", QFileDialog::AcceptOpen, ReturnFileDialogFilter(),
                       QStringLiteral("pdf")));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setWindowTitle(T("Bestellungen einsammeln"));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return;
    Collect(dialog->selectedFiles());
}

void OrdersWindow::chooseFolder() {
    const std::unique_ptr<QFileDialog> dialog(
        MakeFileDialog(this, "OrdersFolderDialog", QFileDialog::AcceptOpen, QString(), QString()));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    dialog->setWindowTitle(T("Bestellungen einsammeln"));
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return;
    Collect({dialog->selectedFiles().first()});
}

void OrdersWindow::Collect(const QStringList& inputs) {
    form = MakeOrderForm(doc.form(), doc.layout());
    saved.clear();
    openTableButton->setEnabled(false);
    QProgressDialog progress(T("Bestellungen werden eingelesen..."), T("Abbrechen"), 0, 1, this);
    progress.setObjectName(QStringLiteral("OrdersProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    // Scans are read against the pages as the print run lays them out.
    PreparedPages prepared(doc.form(), doc.layout(),
                           ProgramDataDir(QCoreApplication::applicationDirPath()));
    PaperForm paper(form, prepared.LayoutInput());
    collection =
        std::make_unique<OrderCollection>(CollectOrders(form, inputs,
                                                        [&](int done, int total) {
                                                            progress.setMaximum(std::max(1, total));
                                                            progress.setValue(done);
                                                            return !progress.wasCanceled();
                                                        },
                                                        {},
                                                        {&paper, true,
                                                         CompletenessFor(paper, TranslateText)}));
    ShowTable();
}

void OrdersWindow::ShowTable() {
    const OrderTable& table = collection->table;
    const QStringList heads = table.Heads(T("Datei"));
    ordersTable->clear();
    ordersTable->setColumnCount(static_cast<int>(heads.size()));
    ordersTable->setRowCount(table.RowCount());
    ordersTable->setHorizontalHeaderLabels(heads);
    for (int r = 0; r < table.RowCount(); ++r)
        for (int c = 0; c < heads.size(); ++c) {
            auto* item = new QTableWidgetItem(table.Row(r).value(c));
            if (c > 0 && item->text() == kUndecidedMark) {
                // Left for the user: marked, and decided with a click.
                item->setBackground(QColor(255, 220, 120));
                item->setToolTip(T("Nicht sicher gelesen: anklicken, um zu entscheiden"));
            }
            if (table.Completeness().Shown() && c == heads.size() - 1 &&
                item->text() == table.Completeness().no) {
                item->setBackground(QColor(255, 200, 200));
                item->setToolTip(T("Nicht alle Seiten kamen zurück: ihre Felder sind leer"));
            }
            ordersTable->setItem(r, c, item);
        }
    // The text boxes of scanned sheets: typed in from their scan with a click.
    for (const UndecidedMark& mark : collection->undecided)
        if (mark.text)
            if (QTableWidgetItem* item = ordersTable->item(mark.row, mark.column + 1)) {
                item->setBackground(QColor(210, 230, 255));
                item->setToolTip(T("Handschrift: anklicken, um den Text einzutippen"));
            }
    const QStringList totals = table.Totals(T("Summe"));
    totalsTable->clear();
    totalsTable->setColumnCount(static_cast<int>(totals.size()));
    totalsTable->setRowCount(1);
    for (int c = 0; c < totals.size(); ++c) {
        auto* item = new QTableWidgetItem(totals[c]);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        totalsTable->setItem(0, c, item);
    }
    for (int c = 0; c < heads.size(); ++c)
        totalsTable->setColumnWidth(c, ordersTable->columnWidth(c));
    totalsTable->setFixedHeight(totalsTable->rowHeight(0) + 2 * totalsTable->frameWidth());
    rejectedList->clear();
    for (const RejectedInput& r : collection->rejected)
        rejectedList->addItem(QFileInfo(r.path).fileName() + QStringLiteral(": ") +
                              TranslateText(r.rejection.reason));
    saveAsButton->setEnabled(true);
}

void OrdersWindow::reviewCell(int row, int column) {
    if (!collection || column < 1) return;
    auto& undecided = collection->undecided;
    const auto mark = std::find_if(undecided.begin(), undecided.end(), [&](const UndecidedMark& m) {
        return m.row == row && m.column == column - 1;
    });
    if (mark == undecided.end()) return;
    const QString head = ordersTable->horizontalHeaderItem(column)->text();
    if (mark->text) {
        // The scan stays with the cell, so that a typed text can be mended.
        HandwritingDialog dialog(*mark, head, collection->table.Row(row).value(column), this);
        if (dialog.exec() != QDialog::Accepted) return;
        collection->table.SetValue(row, column - 1, dialog.Text());
        LearnFrom(*mark, dialog.Text());
        ShowTable();
        return;
    }
    MarkReviewDialog dialog(*mark, head, this);
    if (dialog.exec() != QDialog::Accepted || dialog.Decision().isEmpty()) return;
    collection->table.SetValue(row, column - 1, dialog.Decision());
    undecided.erase(mark);
    ShowTable();
}

void OrdersWindow::LearnFrom(UndecidedMark& mark, const QString& typed) {
    const std::shared_ptr<HandNumberReader> reader = CurrentNumberReader();
    if (!reader || mark.inside.isNull() || typed.trimmed().isEmpty()) return;
    // Learned once per box: a number mended later is not taught again. A
    // box that could not be kept on disk is still learned for this run.
    reader->Learn(mark.inside, typed);
    mark.inside = QImage();
}

void OrdersWindow::saveAs() {
    if (!collection) return;
    // The workbook first: a spreadsheet opens it as it is, in any language.
    const QString workbookFilter = T("Arbeitsmappe (*.xlsx)");
    const QStringList filters{workbookFilter, QStringLiteral("CSV (*.csv)")};
    const std::unique_ptr<QFileDialog> dialog(MakeFileDialog(
        this, "OrdersSaveDialog", QFileDialog::AcceptSave, QString(), QStringLiteral("xlsx")));
    dialog->setWindowTitle(T("Bestellungen speichern"));
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(workbookFilter);
    connect(dialog.get(), &QFileDialog::filterSelected, dialog.get(), [&](const QString& filter) {
        dialog->setDefaultSuffix(filter == workbookFilter ? QStringLiteral("xlsx")
                                                          : QStringLiteral("csv"));
    });
    if (!doc.FileName().isEmpty()) {
        const QFileInfo project(doc.FileName());
        dialog->setDirectory(project.absolutePath());
        dialog->selectFile(project.completeBaseName() + QStringLiteral(".xlsx"));
    }
    const QString path = ChooseFile(*dialog);
    if (path.isEmpty()) return;
    // The name's ending decides; without a known one, the filter chosen.
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool workbook = suffix == QLatin1String("xlsx") ||
                          (suffix != QLatin1String("csv") &&
                           dialog->selectedNameFilter() == workbookFilter);
    if (!Save(path, workbook)) return;
    saved = path;
    openTableButton->setEnabled(true);
}

bool OrdersWindow::Save(const QString& path, bool workbook) {
    const OrderTable& table = collection->table;
    FileFailure failure;
    bool ok = false;
    if (workbook) {
        WorkbookTexts texts;
        for (QString* t : {&texts.ordersSheet, &texts.rejectedSheet, &texts.fileHead,
                           &texts.sumHead, &texts.reasonHead})
            *t = TranslateText(*t);
        OrderWorkbook book(form, texts, table.Completeness());
        ok = book.Open();
        for (int r = 0; ok && r < table.RowCount(); ++r)
            ok = book.AddOrder(table.Row(r));
        for (const RejectedInput& r : collection->rejected)
            ok = ok && book.AddRejected(r.path, TranslateText(r.rejection.reason));
        ok = ok && book.Save(table.Totals(texts.sumHead), path);
        failure = book.Failure();
    } else {
        ok = WriteFileAtomically(path, table.Csv(Separator(), T("Datei"), T("Summe")), &failure);
    }
    if (!ok)
        ReportFileFailure(this, QStringLiteral("Konnte nicht in die folgende Datei speichern: "),
                          path, failure);
    return ok;
}

void OrdersWindow::openSaved() {
    if (saved.isEmpty()) return;
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(saved)))
        ShowError(this, windowTitle(),
                  T("Für diese Datei ist kein Programm eingerichtet:") + QLatin1Char(' ') +
                      QDir::toNativeSeparators(saved));
}
