// The main window: its controls, the title with its changed mark, closing and Esc.
#include "DialogAnswerer.h"
#include "Dib.h"
#include "LayoutControlValues.h"
#include "MainFormFixture.h"
#include "ProjectFileController.h"

#include "CategoryListModel.h"
#include "ColourSwatch.h"
#include "FilenameEditBox.h"
#include "FontSettingButton.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUndoStack>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "ProjectFile.h"

namespace {

using MainFormTest = MainFormFixture;

// A new German document must show the untitled name without the changed mark.
TEST_F(MainFormTest, TitleAfterStartShowsTheUntitledName) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [unbenannt.qlr]"));
    EXPECT_FALSE(form->document().IsChanged());
    EXPECT_EQ(form->ProgramDir(), dir.path() + QLatin1Char('/'));
}

// The title follows SetChanged/SetUnChanged and shows only the file-name part.
TEST_F(MainFormTest, TitleShowsTheFileNameAndTheChangedMark) {
    form->document().SetFileName(QStringLiteral("C:\\Formulare\\Bestellung.qlr"));
    form->document().MarkChanged();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [Bestellung.qlr*]"));
    form->document().SetFileName(QStringLiteral("/home/shop/Formulare/Bestellung.qlr"));
    form->document().MarkUnchanged();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [Bestellung.qlr]"));
    EXPECT_EQ(FileNamePart(QStringLiteral("D:Liste.qlr")), QStringLiteral("Liste.qlr"));
}

// Before the first show no change is recorded, whatever start-up code does.
TEST(MainFormStartTest, ChangesBeforeTheFirstShowAreNotRecorded) {
    QTemporaryDir dir;
    MainWindow form(dir.path(), QStringList());
    form.document().MarkChanged();
    EXPECT_FALSE(form.document().IsChanged());
    EXPECT_TRUE(form.BaseTitle().isEmpty());
}

// Closing an unchanged document must ask nothing and still write the options file.
TEST_F(MainFormTest, ClosingAnUnchangedDocumentAsksNothing) {
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("options.dat"))));
}

// A changed document asks before closing; Cancel keeps the window, No closes it.
TEST_F(MainFormTest, ClosingAChangedDocumentAsksAndCancelKeepsTheWindow) {
    form->document().MarkChanged();
    bool closed = true;
    const QString text = AnswerMessageBox(QMessageBox::Cancel, [&] { closed = form->close(); });
    EXPECT_FALSE(closed);
    EXPECT_EQ(text, QStringLiteral(
                        "Die Datei wurde noch nicht gespeichert. Wollen Sie jetzt speichern?"));
    AnswerMessageBox(QMessageBox::No, [&] { closed = form->close(); });
    EXPECT_TRUE(closed);
}

// Esc runs "Beenden": no question for an unchanged document, the question once changed.
TEST_F(MainFormTest, EscapeAsksOnlyWhenTheDocumentChanged) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    form->document().MarkChanged();
    AnswerMessageBox(QMessageBox::Cancel, [&] { QApplication::sendEvent(form.get(), &esc); });
    EXPECT_TRUE(form->isVisible());
    form->document().MarkUnchanged();
    QApplication::sendEvent(form.get(), &esc);
    EXPECT_FALSE(form->isVisible());
}

// A layout value changed by the user must mark the document changed, or closing or "Neu"
// afterwards would drop the change without a question; a category edit marks it too.
TEST_F(MainFormTest, LayoutAndCategoryEditsMarkTheDocumentChanged) {
    const auto layoutEdits = {
        std::function<void()>([&] { Child<QDoubleSpinBox>("LinksEd")->setValue(20); }),
        std::function<void()>([&] { Child<QCheckBox>("RahmenCheck")->setChecked(true); }),
        std::function<void()>([&] { Child<QLineEdit>("KopfEd")->setText(u"Anders"_qs); }),
        std::function<void()>([&] { Child<ColourSwatch>("Shape4")->setColour(0x010203); }),
    };
    for (const auto& edit : layoutEdits) {
        form->document().MarkUnchanged();
        edit();
        EXPECT_TRUE(form->document().IsChanged());
        EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral("*]")));
    }
    form->document().MarkUnchanged();
    AppendCategory(form->document(), QStringLiteral("Getränke"));
    EXPECT_TRUE(form->document().IsChanged());
}

// Values that arrive without the user (a file opened, "Neu", start-up) must leave the
// document unchanged: otherwise every opened file would ask to be saved.
TEST_F(MainFormTest, LayoutValuesFromAFileOrNewDoNotMarkTheDocumentChanged) {
    LayoutSettings s;
    s.leftMarginMm = 31;
    const QString path = dir.filePath(QStringLiteral("margins.qlr"));
    ASSERT_TRUE(WriteProjectFile(path, FormDocument(), s));
    EXPECT_FALSE(form->document().IsChanged()); // start-up
    ASSERT_TRUE(form->files().LoadProject(path));
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>("LinksEd")->value(), 31);
    EXPECT_FALSE(form->document().IsChanged());
    form->files().newProject();
    EXPECT_FALSE(form->document().IsChanged());
    EXPECT_FALSE(form->document().undoStack()->canUndo());
}

// Undoing back to the saved state must clear the changed mark and redoing must set it
// again; a change marked without an undo step (another category selected) must stay.
TEST_F(MainFormTest, UndoingToTheSavedStateClearsTheChangedMark) {
    auto* undo = form->findChild<QAction*>(QStringLiteral("Rueckgaengig1"));
    auto* redo = form->findChild<QAction*>(QStringLiteral("Wiederholen1"));
    ASSERT_TRUE(undo && redo);
    auto* margin = Child<QDoubleSpinBox>("LinksEd");
    margin->setFocus();
    QTest::keyClick(margin, Qt::Key_Up);
    EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral("*]")));
    undo->trigger();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [unbenannt.qlr]"));
    EXPECT_FALSE(form->document().IsChanged());
    redo->trigger();
    EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral("*]")));
    EXPECT_TRUE(form->document().IsChanged());
    undo->trigger();
    AppendCategory(form->document(), QStringLiteral("A"));
    AppendCategory(form->document(), QStringLiteral("B"));
    form->document().MarkUnchanged();
    auto* categories = Child<QTreeView>("ListView2");
    QTest::mouseClick(categories->viewport(), Qt::LeftButton, {},
                      categories->visualRect(categories->model()->index(1, 0)).center());
    EXPECT_TRUE(form->document().IsChanged());
    redo->trigger();
    undo->trigger();
    EXPECT_TRUE(form->document().IsChanged()); // the selection is no undo step and stays marked
    EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral("*]")));
}

// "Neu" empties the document but keeps every layout value.
TEST_F(MainFormTest, NewKeepsTheLayoutValues) {
    Child<QDoubleSpinBox>("LinksEd")->setValue(33);
    AppendCategory(form->document(), QStringLiteral("A"));
    form->document().MarkUnchanged();
    form->files().newProject();
    EXPECT_EQ(form->document().CategoryCount(), 0);
    EXPECT_EQ(Child<QTreeView>("ListView2")->model()->rowCount(), 0);
    EXPECT_DOUBLE_EQ(form->document().layout().leftMarginMm, 33);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Torvane Quillora 1.0 - [unbenannt.qlr]"));
}

// Fresh controls must show the document's defaults: every key's control holds its value.
TEST_F(MainFormTest, ControlsHoldTheLayoutDefaults) {
    const LayoutSettings defaults;
    ExpectControlsShow(*form, defaults);
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>("LineWidthEd")->value(), 0.6);
    EXPECT_EQ(Child<QLineEdit>("KopfEd")->text(), QStringLiteral("Torvane GbR Quillora 1.0"));
    EXPECT_TRUE(Child<QRadioButton>("BildRechts")->isChecked());
    EXPECT_EQ(Child<FontSettingButton>("BitBtnXP4")->font().color, 0x00FFFFu);
    EXPECT_EQ(Child<FilenameEditBox>("FilenameEdit1")->fileName(),
              QStringLiteral("logo torvane200x200.gif"));
}

// A layout control sharing its name with another widget of the main window would be
// missed by every look-up by name, the interface translation's included. (Dialogs
// name their own controls.)
TEST_F(MainFormTest, EveryLayoutControlNameIsUnique) {
    auto named = [this](const QString& name) {
        const QList<QWidget*> all = form->findChildren<QWidget*>(name);
        return std::count_if(all.begin(), all.end(),
                             [this](const QWidget* w) { return w->window() == form.get(); });
    };
    for (const LayoutKey& key : LayoutKeys()) {
        if (std::holds_alternative<FontRole>(key.member)) continue; // the buttons, below
        for (const QString& name : QString::fromLatin1(key.name).split(QLatin1Char('/')))
            EXPECT_EQ(named(name), 1) << name.toStdString();
    }
    const QList<FontSettingButton*> buttons = form->findChildren<FontSettingButton*>();
    for (const FontSetting& font : FontSettings()) {
        const QString name = QString::fromLatin1(font.buttonName);
        EXPECT_EQ(named(name), 1) << font.buttonName;
        EXPECT_EQ(std::count_if(buttons.begin(), buttons.end(),
                                [&font](const FontSettingButton* b) {
                                    return b->dialogName == QLatin1String(font.dialogName);
                                }),
                  1)
            << font.dialogName;
    }
}

// A value set in the document must show in its control, hidden controls included.
TEST_F(MainFormTest, DocumentValuesShowInTheirControls) {
    LayoutSettings s;
    s.leftMarginMm = 7.5;
    s.columnGapMm = 9;
    s.variantsTableCentred = true;
    s.pictureAlignment = 0;
    s.tableLineColour = 0x123456;
    s.font(FontRole::TableText).name = QStringLiteral("Liberation Serif");
    s.font(FontRole::TableText).size = 13;
    s.evenFooterText = QStringLiteral("Seite %page%");
    s.firstPageNumber = -4;
    s.tileSaturation = -100;
    s.backgroundFile = QStringLiteral("does-not-exist.bmp");
    form->document().Reset(std::make_unique<FormDocument>(), s);
    ExpectControlsShow(*form, s);
    EXPECT_TRUE(Child<QRadioButton>("BildLinks")->isChecked());
    // One value alone, as an undo sets it.
    form->document().SetLayoutValue(LayoutKeyOf(&LayoutSettings::topMarginMm), 44.25);
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>("ObenEd")->value(), 44.25);
    EXPECT_FALSE(form->document().IsChanged());
}

// A change made in a control must reach the document as one undoable change of its value.
TEST_F(MainFormTest, ControlChangesReachTheDocument) {
    const Document& doc = form->document();
    Child<QDoubleSpinBox>("LinksEd")->setValue(20);
    Child<QCheckBox>("RahmenCheck")->setChecked(true);
    Child<QLineEdit>("FussEd2")->setText(QStringLiteral("Seite %PAGE%"));
    Child<QSpinBox>("FirstPageNr")->setValue(7);
    Child<QRadioButton>("BildZentr")->setChecked(true);
    Child<ColourSwatch>("Shape4")->setColour(0x010203);
    Child<FilenameEditBox>("FilenameEdit2")->setFileName(QStringLiteral("gone.bmp"));
    EXPECT_DOUBLE_EQ(doc.layout().leftMarginMm, 20);
    EXPECT_TRUE(doc.layout().pageFrame);
    EXPECT_EQ(doc.layout().evenFooterText, QStringLiteral("Seite %PAGE%"));
    EXPECT_EQ(doc.layout().firstPageNumber, 7);
    EXPECT_EQ(doc.layout().pictureAlignment, 1);
    EXPECT_EQ(doc.layout().categoryAreaColour, 0x010203u);
    EXPECT_EQ(doc.layout().backgroundFile, QStringLiteral("gone.bmp"));
    ExpectControlsShow(*form, doc.layout());
}

// Values set through the document and the same values typed into the controls must save the
// same bytes.
TEST_F(MainFormTest, DocumentAndControlsSaveTheSameBytes) {
    auto save = [&](const QString& name) {
        form->document().SetFileName(dir.filePath(name));
        EXPECT_TRUE(form->files().WriteProject());
        QFile f(form->document().FileName());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    };
    Child<QDoubleSpinBox>("RechtsEd")->setValue(14.5);
    Child<QCheckBox>("CapsCheck")->setChecked(false);
    Child<QLineEdit>("KopfEd")->setText(QStringLiteral("Kopf"));
    Child<QDoubleSpinBox>("HellEd")->setValue(80);
    const QByteArray typed = save(QStringLiteral("typed.qlr"));
    form->document().Reset(std::make_unique<FormDocument>(), LayoutSettings());
    Document& doc = form->document();
    doc.SetLayoutValue(LayoutKeyOf(&LayoutSettings::rightMarginMm), 14.5);
    doc.SetLayoutValue(LayoutKeyOf(&LayoutSettings::categoryNamesInCapitals), false);
    doc.SetLayoutValue(LayoutKeyOf(&LayoutSettings::headerText), QStringLiteral("Kopf"));
    doc.SetLayoutValue(LayoutKeyOf(&LayoutSettings::tileBrightness), 80.0);
    EXPECT_EQ(save(QStringLiteral("set.qlr")), typed);
}

// Each named control exists with its caption; hidden ones exist but stay hidden.
TEST_F(MainFormTest, NamedControlsExistWithCaptionsAndVisibility) {
    const struct {
        const char* name;
        const char* caption;
        bool hidden;
    } buttons[] = {
        {"OpenBtn", "Öffnen...", false},
        {"SaveBtn", "Speichern", false},
        {"SaveAsBtn", "Speichern unter...", false},
        {"DruckenBtn", "Drucken", false},
        {"EndeBtn", "Beenden", false},
        {"NewKategorieBtn", "Neue Kategorie", false},
        {"NeuesProduktBtn", "Neues Feld", false},
        {"BitBtnXP8", "Schriftart für Tabellenüberschriften...", true},
        {"BitBtnXP1", "Schriftart für Kopfzeile...", false},
    };
    for (const auto& b : buttons) {
        QPushButton* w = Child<QPushButton>(b.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->text(), QString::fromUtf8(b.caption)) << b.name;
        EXPECT_EQ(w->isHidden(), b.hidden) << b.name;
    }
    for (const char* hidden : {"OnlyOneColumnCheck", "NoLineBelowVariantsCheck"})
        EXPECT_TRUE(Child<QCheckBox>(hidden)->isHidden()) << hidden;
    for (const char* hidden : {"PlatzZwischenSpaltenEd", "LineWidthEd2"})
        EXPECT_TRUE(Child<QDoubleSpinBox>(hidden)->isHidden()) << hidden;
    EXPECT_TRUE(Child<ColourSwatch>("Shape8")->isHidden());
    EXPECT_FALSE(Child<ColourSwatch>("Shape7")->isHidden());
    EXPECT_TRUE(Child<QRadioButton>("BildRechts")->isHidden());
    EXPECT_TRUE(Child<QRadioButton>("BildRechts")->isChecked());
    QDoubleSpinBox* hell = Child<QDoubleSpinBox>("HellEd");
    EXPECT_EQ(hell->minimum(), 1);
    EXPECT_EQ(hell->maximum(), 100);
    EXPECT_EQ(hell->decimals(), 0);
    QSpinBox* zoom = Child<QSpinBox>("ZoomEd");
    EXPECT_EQ(zoom->value(), 100);
    EXPECT_EQ(zoom->singleStep(), 10);
    EXPECT_EQ(zoom->maximum(), 1000);
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>("BreitDefEd")->value(), 6);
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>("HochDefEd")->value(), 1.25);
    // The captions of the tab "Voreinstellungen" under their own names.
    const struct {
        const char* name;
        const char* caption;
    } presetLabels[] = {{"Label4", "Breite:"},
                        {"Label5", "Höhe:"},
                        {"Label6", "Neue Formularfelder sollen folgende Breite und Höhe haben:"}};
    auto* presets = Child<QWidget>("TabSheet2");
    for (const auto& l : presetLabels) {
        auto* label = presets->findChild<QLabel*>(QString::fromLatin1(l.name));
        ASSERT_NE(label, nullptr) << l.name;
        EXPECT_EQ(label->text(), QString::fromUtf8(l.caption)) << l.name;
    }
    const QStringList tabs = {"Felder", "Voreinstellungen", "Formular erzeugen",
                              "Layout", "Hintergrund",      "Logo"};
    for (int i = 0; i < tabs.size(); ++i)
        EXPECT_EQ(form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabText(i),
                  tabs[i]);
    QStringList menus;
    for (QAction* a : form->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&Datei", "&Bearbeiten", "&Sprache", "&Hilfe"}));
}

// Switching to "Formular erzeugen" gives the hidden key edit the focus.
TEST_F(MainFormTest, PreviewTabTakesTheKeyboardFocus) {
    form->activateWindow();
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
    EXPECT_EQ(form->focusWidget(), form->findChild<QLineEdit*>(QStringLiteral("KeyEdit")));
}

// The first window must fit into the screen's available area, centred: with a
// scale factor of 2 the screen is half as big in window units, and a window
// centred at its designed size would put its menu above the screen's top edge.
TEST(WindowPlacementTest, FirstWindowFitsIntoTheAvailableArea) {
    const struct {
        QSize frame, minimum;
        QRect available, expected;
    } cases[] = {
        {{800, 620}, {400, 300}, {0, 0, 1920, 1040}, {560, 210, 800, 620}},     // centred as is
        {{800, 620}, {400, 300}, {0, 0, 960, 520}, {80, 0, 800, 520}},          // scale factor 2
        {{800, 620}, {400, 300}, {0, 28, 960, 492}, {80, 28, 800, 492}},        // a panel on top
        {{800, 620}, {900, 600}, {0, 28, 800, 500}, {0, 28, 900, 600}},         // cannot shrink
        {{800, 620}, {400, 300}, {1920, 0, 1280, 1024}, {2160, 202, 800, 620}}, // second screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitIntoArea(c.frame, c.minimum, c.available), c.expected)
            << c.available.width() << "x" << c.available.height();
}

// The first window takes two thirds of the screen, but never less than its
// controls need.
TEST(WindowPlacementTest, FirstWindowTakesTwoThirdsOfTheScreen) {
    const struct {
        QSize available, needed, expected;
    } cases[] = {
        {{1600, 1000}, {800, 500}, {1066, 666}},  // two thirds
        {{1366, 768}, {1000, 600}, {1000, 600}},  // the controls need more
        {{683, 384}, {800, 560}, {800, 560}},     // more than the screen: fitted later
        {{3840, 2160}, {800, 560}, {2560, 1440}}, // a large screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstWindowFrame(c.available, c.needed), c.expected)
            << c.available.width() << "x" << c.available.height();
}

// The shown main window lies inside its screen's available area.
TEST_F(MainFormTest, ShownWindowLiesOnTheScreen) {
    const QRect available = form->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(form->frameGeometry().topLeft()));
    if (form->minimumSize().width() <= available.width() &&
        form->minimumSize().height() <= available.height()) {
        EXPECT_TRUE(available.contains(form->frameGeometry()))
            << form->frameGeometry().width() << "x" << form->frameGeometry().height();
    }
}

// The sample-project offer comes once; Yes opens "test.qlr" from the current directory.
TEST_F(MainFormTest, SampleProjectOfferIsShownOnce) {
    const QString text =
        AnswerMessageBox(QMessageBox::No, [&] { form->files().OfferSampleProject(); });
    EXPECT_EQ(text, QStringLiteral("Wollen Sie die Test Projektdatei öffnen lassen?"));
    EXPECT_FALSE(form->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    EXPECT_EQ(form->document().CategoryCount(), 0);
}

} // namespace

namespace {
// The default logo must load from the program's directory whatever the current directory is,
// and a background name given to its box loads and previews the picture.
TEST(MainFormPicturesTest, DefaultLogoLoadsFromTheProgramDirectory) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLORA_SOURCE_DIR "/images/logo torvane200x200.gif"),
                            dir.filePath(QStringLiteral("logo torvane200x200.gif"))));
    MainWindow form(dir.path(), QStringList());
    ASSERT_NE(form.project().logo().poi, nullptr);
    EXPECT_EQ(DibWidth(form.project().logo()), 200);
    EXPECT_EQ(DibHeight(form.project().logo()), 200);
    EXPECT_EQ(form.project().background().poi, nullptr);

    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QString background = dir.filePath(QStringLiteral("back.png"));
    ASSERT_TRUE(picture.save(background));
    form.findChild<FilenameEditBox*>(QStringLiteral("FilenameEdit2"))->setFileName(background);
    ASSERT_NE(form.project().background().poi, nullptr);
    EXPECT_EQ(DibWidth(form.project().background()), 3);
    // Lightening is on by default: black becomes 127.
    EXPECT_EQ(getpixel(form.project().background(), 0, 0), MakeColour(127, 127, 127));
    form.findChild<QCheckBox*>(QStringLiteral("LightenCheck"))->setChecked(false);
    EXPECT_EQ(getpixel(form.project().background(), 0, 0), 0u);
}
} // namespace

namespace {
// Selecting a category lists its fields; selecting a field shows its values in the editors.
TEST_F(MainFormTest, SelectionShowsTheCategorysFieldsAndTheFieldsValues) {
    AppendCategory(form->document(), QStringLiteral("A"));
    AppendCategory(form->document(), QStringLiteral("B"));
    AppendField(form->document(), 1, fkCheckBox, QStringLiteral("Wasser"), 4.5, 0.75);
    AppendField(form->document(), 1, fkSingleChoice, QStringLiteral("Saft"), 3, 0.5);
    auto* categories = Child<QTreeView>("ListView2");
    categories->selectionModel()->select(categories->model()->index(1, 0),
                                         QItemSelectionModel::ClearAndSelect);
    auto* fields = Child<QTreeView>("ListView1");
    ASSERT_EQ(fields->model()->rowCount(), 2);
    EXPECT_EQ(fields->model()->index(0, 0).data().toString(), QStringLiteral("Wasser"));
    EXPECT_FALSE(Child<QPlainTextEdit>("ProdNameEd")->isEnabled()); // no field selected yet
    fields->selectionModel()->select(fields->model()->index(1, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(Child<QPlainTextEdit>("ProdNameEd")->toPlainText(), QStringLiteral("Saft"));
    EXPECT_TRUE(Child<QRadioButton>("RadioCheck")->isChecked());
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>("BreitFeldEd")->value(), 3);
    EXPECT_DOUBLE_EQ(Child<QDoubleSpinBox>("HochFeldEd")->value(), 0.5);
    EXPECT_TRUE(form->document().IsChanged()); // selecting a category counts as a change
}
} // namespace
