// Translating windows: every kind of widget, the walk's order and reach.

#include "ColourSwatch.h"
#include "TranslateComponents.h"
#include "TranslationFile.h"
#include "Translator.h"
#include "translate_test_dirs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

QString En(const QString& german) {
    return u'<' + german + u'>';
}

// A translator in English over a table that knows the given German texts,
// each translated as <text>.
class ComponentsTest : public ::testing::Test {
  protected:
    void Know(const QStringList& germans) {
        TranslationTable source;
        for (const QString& g : germans) {
            std::array<QString, kTranslationColumns> cells;
            cells[0] = g;
            cells[1] = En(g);
            source.AppendRow(cells);
        }
        ASSERT_TRUE(WriteAll(dirs.InProg("translate.dat"), TranslationBytes(source)));
        t.InitTranslation(dirs.ProgPath());
        t.language = 1;
    }
    // The German texts appended since the start, in order.
    QStringList Appended(int known) const {
        QStringList out;
        for (int r = known; r < t.RowCount(); ++r)
            out << t.Cell(r, 0);
        return out;
    }

    ProgramDirs dirs;
    Translator t;
};

// Guards the per-kind table: each kind's texts are translated, and texts that
// are not designed captions (numbers, file names, texts an action derives,
// a tool button's copy of its action) are never looked up.
TEST_F(ComponentsTest, TranslatesEveryKindOnce) {
    const QStringList known = {
        u"Fenster"_qs,
        u"Name:"_qs,
        u"Links"_qs,
        u"Seite A"_qs,
        u"Seite B"_qs,
        u"Rahmen"_qs,
        u"Rahmen zeichnen"_qs,
        u"Öffnen..."_qs,
        u"Datei öffnen"_qs,
        u"Gruppe"_qs,
        u"Breite in cm"_qs,
        u"Mitte"_qs,
        u"Rechts"_qs,
        u"Deutsch"_qs,
        u"Englisch"_qs,
        u"Spalte"_qs,
        u"Art"_qs,
        u"Zeile eins"_qs,
        u"Zeile zwei"_qs,
        u"Kopfzeile"_qs,
        u"Bilder|*.gif;*.png"_qs,
        u"Bilder (*.gif);;Alle (*)"_qs,
        u"Datei"_qs,
        u"Neu"_qs,
        u"Speichern"_qs,
        u"Dokument speichern"_qs,
    };
    Know(known);

    QWidget window;
    window.setWindowTitle(u"Fenster"_qs);
    auto* label = new QLabel(u"Name:"_qs, &window);
    auto* radio = new QRadioButton(u"Links"_qs, &window);
    auto* tabs = new QTabWidget(&window);
    tabs->addTab(new QWidget, u"Seite A"_qs);
    tabs->addTab(new QWidget, u"Seite B"_qs);
    auto* check = new QCheckBox(u"Rahmen"_qs, &window);
    check->setToolTip(u"Rahmen zeichnen"_qs);
    auto* button = new QPushButton(u"Öffnen..."_qs, &window);
    button->setToolTip(u"Datei öffnen"_qs);
    auto* group = new QGroupBox(u"Gruppe"_qs, &window);
    auto* spin = new QSpinBox(&window);
    spin->setValue(5);
    spin->setToolTip(u"Breite in cm"_qs);
    auto* combo = new QComboBox(&window);
    combo->addItems({u"Links"_qs, u"Mitte"_qs, u"Rechts"_qs});
    combo->setCurrentIndex(1);
    int comboChanges = 0;
    QObject::connect(combo, &QComboBox::currentIndexChanged, [&] { ++comboChanges; });
    auto* grid = new QTableWidget(2, 2, &window);
    grid->setHorizontalHeaderLabels({u"Deutsch"_qs, u"Englisch"_qs});
    grid->setItem(0, 0, new QTableWidgetItem(u"Zelle"_qs));
    auto* tree = new QTreeWidget(&window);
    tree->setHeaderLabels({u"Spalte"_qs, u"Art"_qs});
    auto* view = new QTreeView(&window);
    auto* model = new QStandardItemModel(0, 2, view);
    model->setHorizontalHeaderLabels({u"Name:"_qs});
    view->setModel(model);
    auto* memo = new QPlainTextEdit(u"Zeile eins\nZeile zwei\nfrei"_qs, &window);
    auto* edit = new QLineEdit(u"Kopfzeile"_qs, &window);
    auto* fileName = new QLineEdit(u"Datei"_qs, &window);
    fileName->setProperty("quilloraFileName", true);
    auto* picture = new QWidget(&window);
    picture->setProperty("quilloraFilter", u"Bilder|*.gif;*.png"_qs);
    auto* dialog = new QFileDialog(&window);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilters({u"Bilder (*.gif)"_qs, u"Alle (*)"_qs});
    dialog->selectNameFilter(u"Alle (*)"_qs);
    auto* bar = new QMenuBar(&window);
    QMenu* file = bar->addMenu(u"Datei"_qs);
    QAction* neu = file->addAction(u"Neu"_qs);
    QAction* save = file->addAction(u"Speichern"_qs);
    save->setToolTip(u"Dokument speichern"_qs);
    file->addSeparator();
    auto* tool = new QToolButton(&window);
    tool->setDefaultAction(neu);

    TranslateComponents(&window, t);

    EXPECT_EQ(Appended(known.size()), QStringList({u"frei"_qs, u"-"_qs}));
    EXPECT_EQ(window.windowTitle(), En(u"Fenster"_qs));
    EXPECT_EQ(label->text(), En(u"Name:"_qs));
    EXPECT_EQ(radio->text(), En(u"Links"_qs));
    EXPECT_EQ(tabs->tabText(0), En(u"Seite A"_qs));
    EXPECT_EQ(tabs->tabText(1), En(u"Seite B"_qs));
    EXPECT_EQ(check->text(), En(u"Rahmen"_qs));
    EXPECT_EQ(check->toolTip(), En(u"Rahmen zeichnen"_qs));
    EXPECT_EQ(button->text(), En(u"Öffnen..."_qs));
    EXPECT_EQ(button->toolTip(), En(u"Datei öffnen"_qs));
    EXPECT_EQ(group->title(), En(u"Gruppe"_qs));
    EXPECT_EQ(spin->toolTip(), En(u"Breite in cm"_qs));
    EXPECT_EQ(spin->value(), 5);
    EXPECT_EQ(combo->itemText(0), En(u"Links"_qs));
    EXPECT_EQ(combo->itemText(2), En(u"Rechts"_qs));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->currentText(), En(u"Mitte"_qs));
    EXPECT_EQ(comboChanges, 0);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), En(u"Englisch"_qs));
    EXPECT_EQ(grid->item(0, 0)->text(), u"Zelle"_qs);
    EXPECT_EQ(tree->headerItem()->text(0), En(u"Spalte"_qs));
    EXPECT_EQ(tree->headerItem()->text(1), En(u"Art"_qs));
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), En(u"Name:"_qs));
    EXPECT_EQ(memo->toPlainText(),
              En(u"Zeile eins"_qs) + u'\n' + En(u"Zeile zwei"_qs) + u"\nfrei"_qs);
    EXPECT_EQ(edit->text(), En(u"Kopfzeile"_qs));
    EXPECT_EQ(fileName->text(), u"Datei"_qs);
    EXPECT_EQ(picture->property("quilloraFilter").toString(), En(u"Bilder|*.gif;*.png"_qs));
    EXPECT_EQ(dialog->nameFilters(), QStringList({u"<Bilder (*.gif)"_qs, u"Alle (*)>"_qs}));
    EXPECT_EQ(file->title(), En(u"Datei"_qs));
    EXPECT_EQ(neu->text(), En(u"Neu"_qs));
    EXPECT_EQ(save->text(), En(u"Speichern"_qs));
    EXPECT_EQ(save->toolTip(), En(u"Dokument speichern"_qs));
    EXPECT_EQ(tool->text(), En(u"Neu"_qs));
}

// Guards the order rows are appended in: breadth-first, each parent's children
// from last to first; a check box's tool tip before its caption, a button's
// caption before its tool tip.
TEST_F(ComponentsTest, WalkOrderFixesAppendOrder) {
    Know({});
    QWidget window;
    window.setWindowTitle(u"W"_qs);
    auto* a = new QGroupBox(u"A"_qs, &window);
    new QLabel(u"A1"_qs, a);
    auto* b = new QGroupBox(u"B"_qs, &window);
    new QLabel(u"B1"_qs, b);
    auto* check = new QCheckBox(u"B2"_qs, b);
    check->setToolTip(u"B2 tip"_qs);
    auto* button = new QPushButton(u"B3"_qs, b);
    button->setToolTip(u"B3 tip"_qs);
    TranslateComponents(&window, t);
    EXPECT_EQ(Appended(0), QStringList({u"W"_qs, u"B"_qs, u"A"_qs, u"B3"_qs, u"B3 tip"_qs,
                                        u"B2 tip"_qs, u"B2"_qs, u"B1"_qs, u"A1"_qs}));
    TranslationTable disk;
    EXPECT_EQ(ReadTranslationBytes(ReadAll(t.FilePath()), disk), 9);
}

// Guards the reach of the walk: dialogs that exist but are not shown yet (and
// whose parent is not shown either) are translated, and stay so when shown.
TEST_F(ComponentsTest, ReachesDialogsShownLater) {
    Know({u"Hauptfenster"_qs, u"Einstellungen"_qs, u"Abstand"_qs, u"Eigenständig"_qs});
    QWidget root;
    root.setWindowTitle(u"Hauptfenster"_qs);
    auto* dialog = new QDialog(&root);
    dialog->setWindowTitle(u"Einstellungen"_qs);
    auto* label = new QLabel(u"Abstand"_qs, dialog);
    QDialog parentless;
    parentless.setWindowTitle(u"Eigenständig"_qs);
    ASSERT_FALSE(root.isVisible());

    TranslateComponents(QCoreApplication::instance(), t);

    EXPECT_EQ(root.windowTitle(), En(u"Hauptfenster"_qs));
    EXPECT_EQ(dialog->windowTitle(), En(u"Einstellungen"_qs));
    EXPECT_EQ(parentless.windowTitle(), En(u"Eigenständig"_qs));
    dialog->show();
    EXPECT_EQ(label->text(), En(u"Abstand"_qs));
    dialog->hide();
    EXPECT_EQ(t.RowCount(), 4);
}

// Guards a memo whose translation holds a line break: the later lines are
// still translated each by itself, and nothing is translated twice.
TEST_F(ComponentsTest, MemoLinesWithMultiLineTranslation) {
    Know({u"eins"_qs, u"zwei"_qs});
    t.SetTranslationCell(0, 1, u"one\nuno"_qs);
    QWidget window;
    auto* memo = new QPlainTextEdit(u"eins\nzwei"_qs, &window);
    TranslateComponents(&window, t);
    EXPECT_EQ(memo->toPlainText(), u"one\nuno\n<zwei>"_qs);
    EXPECT_EQ(t.RowCount(), 2);
}

// Guards the one lookup of a file dialog's filter: a dialog that keeps its
// filter in pipe form (as the open and save dialogs do) must not have its
// toolkit form looked up as a second, untranslatable row.
TEST_F(ComponentsTest, FileDialogFilterIsLookedUpOnce) {
    Know({u"Quillora (*.qlr)|*.qlr"_qs});
    QWidget window;
    auto* dialog = new QFileDialog(&window);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setProperty("quilloraFilter", u"Quillora (*.qlr)|*.qlr"_qs);
    dialog->setNameFilter(u"Quillora (*.qlr)"_qs);
    TranslateComponents(&window, t);
    EXPECT_EQ(Appended(1), QStringList());
    EXPECT_EQ(dialog->property("quilloraFilter").toString(), En(u"Quillora (*.qlr)|*.qlr"_qs));
}

// Guards two kinds the walk used to pass over: a colour swatch (the shape of a
// colour setting) has its tool tip translated, and a menu separator is looked
// up as "-" so that it has a row of its own, while it stays a bare separator.
TEST_F(ComponentsTest, SwatchHintAndMenuSeparator) {
    Know({u"Farbe der Kopfzeile"_qs});
    QWidget window;
    auto* swatch = new ColourSwatch(&window);
    swatch->setToolTip(u"Farbe der Kopfzeile"_qs);
    auto* bar = new QMenuBar(&window);
    QMenu* menu = bar->addMenu(QString());
    QAction* separator = menu->addSeparator();
    TranslateComponents(&window, t);
    EXPECT_EQ(swatch->toolTip(), En(u"Farbe der Kopfzeile"_qs));
    EXPECT_EQ(Appended(1), QStringList({u"-"_qs}));
    EXPECT_TRUE(separator->isSeparator());
    EXPECT_TRUE(separator->text().isEmpty());
}

} // namespace
