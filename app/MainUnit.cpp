#include "MainUnit.h"

#include "CategoryListModel.h"
#include "DibPaintBox.h"
#include "FilenameEditBox.h"
#include "MessageTable.h"
#include "ProgramMessages.h"
#include "ProgramTranslation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

QString FileNamePart(const QString& path) {
    const qsizetype cut =
        std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                  path.lastIndexOf(QLatin1Char(':'))});
    return path.mid(cut + 1);
}

TMainForm::TMainForm(const QString& programDir, const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), commandLine(arguments) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Torvane Quillora 1.0"));
    resize(764, 582);

    progpath = programDir;
    if (!progpath.endsWith(QLatin1Char('/'))) progpath += QLatin1Char('/');
    InitProgramTranslation(progpath);

    categories = new CategoryListModel(doc.get(), this);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    setCentralWidget(central);
    BuildToolbarAndMenus();

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    column->addWidget(PageControl1);
    PageControl1->addTab(BuildFieldsTab(), QStringLiteral("Felder"));
    PageControl1->addTab(BuildPresetsTab(), QStringLiteral("Voreinstellungen"));
    PageControl1->addTab(BuildPreviewTab(), QStringLiteral("Formular erzeugen"));
    PageControl1->addTab(BuildLayoutTab(), QStringLiteral("Layout"));
    PageControl1->addTab(BuildBackgroundTab(), QStringLiteral("Hintergrund"));
    PageControl1->addTab(BuildLogoTab(), QStringLiteral("Logo"));
    PageControl1->setCurrentIndex(0);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TMainForm::PageControl1Change);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    OpenDialog2();
    SaveDialog1();
    connect(ListView2->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TMainForm::ListView2Change);
    connect(categories, &QAbstractItemModel::dataChanged, this, &TMainForm::ListView2Change);
    connect(categories, &QAbstractItemModel::rowsInserted, this, &TMainForm::ListView2Change);
    connect(categories, &QAbstractItemModel::rowsRemoved, this, &TMainForm::ListView2Change);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!donotupdate) ListView1Click();
    });
    ListProds();
    const QString filter = QString::fromUtf8(GetDIBOpenFilter());
    layout.logoFile->setFilter(filter);
    layout.backgroundFile->setFilter(filter);
    FilenameEdit2Change();
    FilenameEdit1Change();
    LoadProgramOptions(*this);
}

TMainForm::~TMainForm() {
    // The lists must stop reading the document before it goes: the child widgets
    // outlive this body, the document does not.
    hide();
    ListView2->setModel(nullptr);
    qApp->removeEventFilter(this);
    NewAll();
    FreeDib(di2);
    FreeDib(di3);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FormShow();
}

void TMainForm::FormShow() {
    if (infirst) return;
    infirst = true;
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    RunStartupTranslation(*this);
    maincap = windowTitle();
    SetUnChanged();
    if (!commandLine.isEmpty()) OpenFileWithName(commandLine.first());
    Timer1->start();
}

void TMainForm::Timer1Timer() {
    Timer1->stop();
    if (AskYesNo(this, GetMessageText(25), GetMessageText(24)))
        OpenFileWithName(GetMessageText(29));
}

void TMainForm::SetChanged() {
    pageStarts.Invalidate();
    if (maincap.isEmpty()) return;
    changed = true;
    UpdateTitle();
}

void TMainForm::SetUnChanged() {
    if (maincap.isEmpty()) return;
    changed = false;
    UpdateTitle();
}

void TMainForm::UpdateTitle() {
    const QString mark = changed ? QStringLiteral("*]") : QStringLiteral("]");
    if (!afilename.isEmpty())
        setWindowTitle(maincap + QStringLiteral(" - [") + FileNamePart(afilename) + mark);
    else
        setWindowTitle(maincap + QStringLiteral(" - [") + GetMessageText(23) +
                       QStringLiteral(".qlr") + mark);
}

void TMainForm::NewAll() {
    categories->BeginReset();
    doc->NewAll();
    categories->EndReset();
    ListProds();
    afilename.clear();
    SetUnChanged();
    pageStarts.Invalidate();
    if (PaintBox1) PaintBox1->update();
}

void TMainForm::Neu1Click() {
    if (QuerySaveChanges()) NewAll();
}

bool TMainForm::QuerySaveChanges() {
    if (!changed) return true;
    switch (AskYesNoCancel(this, GetMessageText(13), GetMessageText(12))) {
    case Answer::Yes:
        return SaveFile();
    case Answer::No:
        return true;
    case Answer::Cancel:
        return false;
    }
    return false;
}

void TMainForm::EndeBtnClick() {
    close();
}

bool TMainForm::FormCloseQuery() {
    return QuerySaveChanges();
}

void TMainForm::FormClose() {
    SaveProgramOptions(*this);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // Esc presses "Beenden"; an in-place edit of a list entry takes its own Esc first.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        EndeBtn->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TMainForm::PageControl1Change(int index) {
    if (index == 2 && KeyEdit) KeyEdit->setFocus();
}

void TMainForm::ListView2Change() {
    if (!donotupdate) ListProds();
    SetChanged();
}

int TMainForm::SelectedCategory() const {
    const QModelIndexList rows = ListView2->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}
