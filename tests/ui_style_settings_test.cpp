// The font and colour settings of the layout tabs: their dialogs, what OK and
// Cancel leave in the document, undo, the preview, and the hidden settings.
#include "ColourSwatch.h"
#include "DialogAnswerer.h"
#include "FontChoiceDialog.h"
#include "FontSettingButton.h"
#include "LayoutControlValues.h"
#include "MainFormFixture.h"
#include "ProjectFileController.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

using Answer = std::function<void(QWidget*)>;

class StyleSettingsTest : public MainFormFixture {
  protected:
    void PressSwatch(const char* name, Qt::MouseButton button = Qt::LeftButton) {
        Press(Child<ColourSwatch>(name), button);
    }
    static void Press(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    // The font button whose dialog is dialogName.
    FontSettingButton* FontButton(const char* dialogName) {
        for (auto* b : form->findChildren<FontSettingButton*>())
            if (b->dialogName == QLatin1String(dialogName)) return b;
        ADD_FAILURE() << "no font button for " << dialogName;
        return nullptr;
    }
    void SetLayout(int key, const LayoutValue& v) { form->document().SetLayoutValue(key, v); }
    const LayoutSettings& Layout() const { return form->document().layout(); }
    int UndoCount() const { return form->document().undoStack()->count(); }
};

// Answers the colour dialog with colour, after checking it is the one colour dialog.
Answer ChooseColour(QColor colour) {
    return [colour](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
        EXPECT_EQ(dialog->objectName(), QStringLiteral("ColorDialog1"));
        EXPECT_FALSE(dialog->testOption(QColorDialog::ShowAlphaChannel));
        dialog->setCurrentColor(colour);
        dialog->accept();
    };
}

// Presses OK in a dialog as it opened.
Answer AcceptAsOpened() {
    return [](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); };
}

// Clicks style in the font chooser's list of styles.
void SelectStyle(QFontDialog* chooser, const QString& style) {
    for (auto* list : chooser->findChildren<QListView*>()) {
        const QModelIndexList rows = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, style, 1, Qt::MatchExactly);
        if (rows.isEmpty()) continue;
        list->setCurrentIndex(rows.front());
        return;
    }
    ADD_FAILURE() << "no style " << style.toStdString();
}

// Escape typed into the font chooser's family box: the whole dialog is cancelled.
Answer EscapeInTheChooser() {
    return [](QWidget* w) {
        auto* dialog = qobject_cast<FontChoiceDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog->fontPart()->findChild<QLineEdit*>(), &escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    };
}

FontRecord OddFont() {
    FontRecord f;
    f.charset = 2;
    f.pitch = 1;
    f.pixelsPerInch = 120;
    f.name = QStringLiteral("No Such Face On This Machine");
    f.size = 13;
    f.style = fsItalic | fsStrikeOut;
    f.color = 0xFF00000Du; // a system colour
    return f;
}

// Cancel, and OK without a change, must leave a colour exactly as it was, system
// colours included (they would otherwise turn into the palette's RGB).
TEST_F(StyleSettingsTest, ColourDialogWithoutChoiceKeepsTheValue) {
    const struct {
        const char* swatch;
        ColourValue LayoutSettings::*member;
        ColourValue value;
    } cases[] = {
        {"Shape1", &LayoutSettings::headerColour, 0x123456},
        {"Shape11", &LayoutSettings::lineColour, 0xFF000008u},
        {"Shape5", &LayoutSettings::backgroundStartColour, 0xFF00000Fu},
        {"Shape7", &LayoutSettings::fieldBackgroundColour, 0xFF000005u},
    };
    for (const auto& c : cases) {
        for (const Answer& answer : {DialogAnswerer::RejectAnswer(), AcceptAsOpened()}) {
            SetLayout(LayoutKeyOf(c.member), c.value);
            const int undoSteps = UndoCount();
            {
                DialogAnswerer answerer(answer);
                PressSwatch(c.swatch);
            }
            EXPECT_EQ(Layout().*c.member, c.value) << c.swatch;
            EXPECT_EQ(Child<ColourSwatch>(c.swatch)->colour(), c.value) << c.swatch;
            EXPECT_EQ(UndoCount(), undoSteps) << c.swatch;
        }
    }
}

// Every mouse button on a swatch opens the colour dialog; it opens on the swatch's
// colour (Shape3 black, Shape7 white by default) and OK sets the chosen colour.
TEST_F(StyleSettingsTest, AnyMouseButtonOpensTheColourDialogOnTheSwatchColour) {
    const struct {
        const char* swatch;
        Qt::MouseButton button;
        QRgb opensOn;
        ColourValue LayoutSettings::*member;
    } cases[] = {
        {"Shape3", Qt::RightButton, qRgb(0, 0, 0), &LayoutSettings::categoryNameColour},
        {"Shape7", Qt::LeftButton, qRgb(255, 255, 255), &LayoutSettings::fieldBackgroundColour},
        {"Shape6", Qt::MiddleButton, qRgb(0xC0, 0xC0, 0xC0), &LayoutSettings::backgroundEndColour},
        {"Shape2", Qt::RightButton, qRgb(0, 0, 0x80), &LayoutSettings::footerColour},
    };
    for (const auto& c : cases) {
        QRgb openedOn = 0;
        {
            DialogAnswerer answerer([&](QWidget* w) {
                auto* dialog = qobject_cast<QColorDialog*>(w);
                ASSERT_NE(dialog, nullptr);
                openedOn = dialog->currentColor().rgb();
                ChooseColour(QColor(1, 2, 3))(w);
            });
            PressSwatch(c.swatch, c.button);
        }
        EXPECT_EQ(openedOn, c.opensOn) << c.swatch;
        EXPECT_EQ(Layout().*c.member, MakeColour(1, 2, 3)) << c.swatch;
        EXPECT_EQ(Child<ColourSwatch>(c.swatch)->colour(), MakeColour(1, 2, 3)) << c.swatch;
    }
}

// Each chosen colour is an undo step of its own, even two in a row for one swatch.
TEST_F(StyleSettingsTest, EachChosenColourIsOneUndoStep) {
    const ColourValue before = Layout().categoryAreaColour;
    for (const QColor& colour : {QColor(10, 20, 30), QColor(40, 50, 60)}) {
        DialogAnswerer answerer(ChooseColour(colour));
        PressSwatch("Shape4", Qt::RightButton);
    }
    EXPECT_EQ(Layout().categoryAreaColour, MakeColour(40, 50, 60));
    form->document().undoStack()->undo();
    EXPECT_EQ(Layout().categoryAreaColour, MakeColour(10, 20, 30));
    EXPECT_EQ(Child<ColourSwatch>("Shape4")->colour(), MakeColour(10, 20, 30));
    form->document().undoStack()->undo();
    EXPECT_EQ(Layout().categoryAreaColour, before);
}

// Cancel, and OK without a change, must keep every field of a font, even a face
// this machine lacks, a system colour and the charset, pitch and resolution.
TEST_F(StyleSettingsTest, FontDialogWithoutChoiceKeepsTheFont) {
    for (const char* dialogName : {"FontDialog2", "FontDialog9"}) {
        const int key = LayoutKeyOf(static_cast<FontRole>(QByteArray(dialogName).back() - '1'));
        SetLayout(key, OddFont());
        for (const Answer& answer :
             {DialogAnswerer::RejectAnswer(), AcceptAsOpened(), EscapeInTheChooser()}) {
            const int undoSteps = UndoCount();
            QString opened;
            {
                DialogAnswerer answerer([&](QWidget* w) {
                    opened = w->objectName();
                    answer(w);
                });
                FontButton(dialogName)->click();
            }
            EXPECT_EQ(opened, QLatin1String(dialogName));
            EXPECT_TRUE(std::get<FontRecord>(ReadLayoutValue(Layout(), key)) == OddFont())
                << dialogName;
            EXPECT_TRUE(FontButton(dialogName)->font() == OddFont()) << dialogName;
            EXPECT_EQ(UndoCount(), undoSteps);
        }
    }
}

// OK after choosing face, size, style, underline, strike-out and colour must set
// exactly that font with the face's own charset and pitch, keeping the
// resolution; one undo restores it.
TEST_F(StyleSettingsTest, ChosenFontBecomesTheSettingAndUndoesInOneStep) {
    const int key = LayoutKeyOf(FontRole::FieldName);
    FontRecord start = OddFont();
    start.name = QStringLiteral("Liberation Sans");
    start.style = fsBold;
    start.size = 12;
    SetLayout(key, start);
    const int undoSteps = UndoCount();

    QFont wanted(QStringLiteral("Liberation Serif"), 17);
    wanted.setUnderline(true);
    wanted.setStrikeOut(true);
    // The font dialog: a new font, then a press on its colour swatch once this
    // answer has returned; the colour dialog; the font dialog again: OK.
    QPointer<QWidget> fontDialog;
    const Answer chooseFont = [&](QWidget* w) {
        auto* dialog = qobject_cast<FontChoiceDialog*>(w);
        ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
        fontDialog = dialog;
        EXPECT_EQ(dialog->fontPart()->currentFont().family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(dialog->fontPart()->currentFont().pointSize(), 12);
        EXPECT_TRUE(dialog->fontPart()->currentFont().bold());
        EXPECT_FALSE(dialog->fontPart()->currentFont().italic());
        dialog->fontPart()->setCurrentFont(wanted);
        SelectStyle(dialog->fontPart(), QStringLiteral("Bold Italic"));
        QTimer::singleShot(0, dialog, [dialog] { Press(dialog->colourPart()); });
    };
    const Answer pressOk = [&](QWidget* w) {
        EXPECT_EQ(w, fontDialog.data());
        w->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    };
    {
        DialogAnswerer answerer({chooseFont, ChooseColour(QColor(200, 100, 50)), pressOk});
        FontButton("FontDialog5")->click();
    }
    FontRecord expected = start;
    expected.name = QStringLiteral("Liberation Serif");
    expected.size = 17;
    expected.style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    expected.color = MakeColour(200, 100, 50);
    expected.charset = 0; // ANSI, as every Latin face
    expected.pitch = 1;   // variable
    const FontRecord now = std::get<FontRecord>(ReadLayoutValue(Layout(), key));
    EXPECT_EQ(now.name, expected.name);
    EXPECT_EQ(now.size, expected.size);
    EXPECT_EQ(now.style, expected.style);
    EXPECT_EQ(now.color, expected.color);
    EXPECT_TRUE(now == expected);
    EXPECT_TRUE(FontButton("FontDialog5")->font() == expected);
    EXPECT_EQ(UndoCount(), undoSteps + 1);
    form->document().undoStack()->undo();
    EXPECT_TRUE(std::get<FontRecord>(ReadLayoutValue(Layout(), key)) == start);
    EXPECT_TRUE(FontButton("FontDialog5")->font() == start);
}

// A colour change alone keeps a face this machine lacks (the chooser shows another).
TEST_F(StyleSettingsTest, ColourAloneKeepsAMissingFace) {
    const int key = LayoutKeyOf(FontRole::Header);
    SetLayout(key, OddFont());
    const Answer pressSwatch = [](QWidget* w) {
        auto* dialog = qobject_cast<FontChoiceDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(0, dialog, [dialog] { Press(dialog->colourPart(), Qt::RightButton); });
    };
    {
        DialogAnswerer answerer({pressSwatch, ChooseColour(QColor(0, 128, 0)), AcceptAsOpened()});
        FontButton("FontDialog9")->click();
    }
    FontRecord expected = OddFont();
    expected.color = MakeColour(0, 128, 0);
    EXPECT_TRUE(std::get<FontRecord>(ReadLayoutValue(Layout(), key)) == expected);
}

// A colour chosen for the header band must show in the preview at its next paint.
TEST_F(StyleSettingsTest, ChosenColourShowsInThePreview) {
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(2);
    Child<QSpinBox>("ZoomEd")->setValue(20);
    QWidget* box = Child<QWidget>("PaintBox1");
    auto paint = [box] {
        QSize before;
        QImage image;
        do { // until the box keeps its size, as the event loop would
            before = box->size();
            image = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        } while (box->size() != before);
        return image;
    };
    const QImage first = paint();
    const QRgb navy = qRgb(0, 0, 0x80);
    std::vector<QPoint> band; // header band pixels, in the page's upper quarter
    for (int y = 0; y < first.height() / 4; ++y)
        for (int x = 0; x < first.width(); ++x)
            if (first.pixel(x, y) == navy) band.emplace_back(x, y);
    ASSERT_GT(band.size(), 20u);

    int repaints = 0;
    QObject::connect(&form->project(), &PreparedProject::changed, box, [&] { ++repaints; });
    {
        DialogAnswerer answerer(ChooseColour(QColor(0, 255, 0)));
        PressSwatch("Shape1", Qt::RightButton);
    }
    EXPECT_GE(repaints, 1);
    const QImage second = paint();
    for (std::size_t i = 0; i < band.size(); i += band.size() / 7)
        EXPECT_EQ(second.pixel(band[i]), qRgb(0, 255, 0)) << band[i].x() << "," << band[i].y();
}

// The hidden fonts and colours cannot be reached, yet pass through a saved file.
TEST_F(StyleSettingsTest, HiddenSettingsStayHiddenAndPassThroughTheFile) {
    for (const char* name : {"Shape8", "Shape9", "Shape10"}) {
        EXPECT_FALSE(Child<ColourSwatch>(name)->isVisibleTo(form.get())) << name;
        QLabel* label = form->findChild<QLabel*>(QString::fromLatin1(name) + "Label");
        ASSERT_NE(label, nullptr) << name;
        EXPECT_FALSE(label->isVisibleTo(form.get())) << name;
    }
    for (const char* name : {"BitBtnXP8", "BitBtnXP9"})
        EXPECT_FALSE(Child<FontSettingButton>(name)->isVisibleTo(form.get())) << name;

    LayoutSettings s;
    s.tableHeadingColour = 0x0A0B0C;
    s.priceColumnsColour = 0xFF000011u;
    s.tableLineColour = 0x00FEDCBA;
    FontRecord heading = OddFont();
    heading.name = QStringLiteral("Tabellenkopf");
    s.font(FontRole::TableHeading) = heading;
    FontRecord text = OddFont();
    text.size = 71;
    text.charset = 0xEE;
    s.font(FontRole::TableText) = text;
    form->document().Reset(std::make_unique<FormDocument>(), s);
    form->document().SetFileName(dir.filePath(QStringLiteral("hidden.qlr")));
    ASSERT_TRUE(form->files().WriteProject());
    form->document().Reset(std::make_unique<FormDocument>(), LayoutSettings());
    ASSERT_TRUE(form->files().LoadProject(dir.filePath(QStringLiteral("hidden.qlr"))));
    EXPECT_EQ(Layout().tableHeadingColour, s.tableHeadingColour);
    EXPECT_EQ(Layout().priceColumnsColour, s.priceColumnsColour);
    EXPECT_EQ(Layout().tableLineColour, s.tableLineColour);
    EXPECT_TRUE(Layout().font(FontRole::TableHeading) == heading);
    EXPECT_TRUE(Layout().font(FontRole::TableText) == text);
    ExpectControlsShow(*form, Layout());
}

// A face chosen in the family list brought the former font's charset and pitch
// along (a fixed-pitch face stored as variable, a text face as symbol).
TEST_F(StyleSettingsTest, ChosenFaceBringsItsOwnCharsetAndPitch) {
    const struct {
        const char* face;
        std::uint8_t charset, pitch;
    } faces[] = {{"Liberation Mono", 0, 2}, {"DejaVu Sans", 0, 1}, {"DejaVu Sans Mono", 0, 2}};
    const int key = LayoutKeyOf(FontRole::Heading);
    for (const auto& face : faces) {
        SetLayout(key, OddFont()); // charset 2 (symbol), pitch 1 (variable)
        {
            DialogAnswerer answerer([&](QWidget* w) {
                auto* dialog = qobject_cast<FontChoiceDialog*>(w);
                ASSERT_NE(dialog, nullptr);
                // A click on the face in the family list, then Return: OK.
                QListView* families = dialog->fontPart()->findChild<QListView*>();
                ASSERT_NE(families, nullptr);
                const QModelIndexList rows =
                    families->model()->match(families->model()->index(0, 0), Qt::DisplayRole,
                                             QString::fromLatin1(face.face), 1, Qt::MatchExactly);
                ASSERT_EQ(rows.size(), 1) << face.face;
                families->scrollTo(rows.front());
                QTest::mouseClick(families->viewport(), Qt::LeftButton, {},
                                  families->visualRect(rows.front()).center());
                EXPECT_EQ(dialog->fontPart()->currentFont().family(),
                          QString::fromLatin1(face.face));
                QTest::keyClick(families, Qt::Key_Return);
            });
            FontButton("FontDialog1")->click();
        }
        const FontRecord now = std::get<FontRecord>(ReadLayoutValue(Layout(), key));
        EXPECT_EQ(now.name, QString::fromLatin1(face.face));
        EXPECT_EQ(now.charset, face.charset) << face.face;
        EXPECT_EQ(now.pitch, face.pitch) << face.face;
        EXPECT_EQ(now.pixelsPerInch, OddFont().pixelsPerInch) << face.face;
    }
}

} // namespace
