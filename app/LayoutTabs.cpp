#include "LayoutTabs.h"

#include "ColourSwatch.h"
#include "DibPaintBox.h"
#include "FilenameEditBox.h"
#include "FontSettingButton.h"
#include "LayoutBinding.h"
#include "LayoutRows.h"
#include "NamedLabel.h"
#include "PreparedProject.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
using L = LayoutSettings;

// The caption of a control, named after it.
QLabel* CaptionFor(QWidget* parent, const QString& controlName, const QString& caption) {
    return NamedLabel(parent, controlName + QStringLiteral("Label"), caption);
}

QWidget* Page(const char* name) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    return page;
}

// A spin edit with its caption in front and, where it has one, its unit behind.
void AddSpinRow(LayoutBinding& layout, QGridLayout* grid, QWidget* parent, const SpinSetting& s,
                const QString& unit = QString()) {
    const int row = grid->rowCount();
    QLabel* label = CaptionFor(parent, QString::fromLatin1(s.name), QString::fromUtf8(s.caption));
    label->setVisible(!s.hidden);
    grid->addWidget(label, row, 0);
    grid->addWidget(layout.MakeSpin(s, parent), row, 1);
    if (!unit.isEmpty()) {
        QLabel* unitLabel =
            CaptionFor(parent, QString::fromLatin1(s.name) + QStringLiteral("Unit"), unit);
        grid->addWidget(unitLabel, row, 2);
    }
}

void AddChecks(LayoutBinding& layout, QGridLayout* grid, QWidget* parent, SettingPage page) {
    for (const CheckSetting& s : CheckSettings())
        if (s.page == page) grid->addWidget(layout.MakeCheck(s, parent), grid->rowCount(), 0, 1, 3);
}

// A scrolled box showing a prepared picture, following the project.
QScrollArea* PictureBox(QWidget* parent, const char* scrollName, const char* boxName,
                        const QString& accessibleName, PreparedProject& project,
                        const dib& (PreparedProject::*picture)() const,
                        void (PreparedProject::*prepared)()) {
    auto* scroll = new QScrollArea(parent);
    scroll->setObjectName(QString::fromLatin1(scrollName));
    scroll->setAccessibleName(accessibleName);
    auto* box = new DibPaintBox(scroll);
    box->setObjectName(QString::fromLatin1(boxName));
    scroll->setWidget(box);
    box->setDib(&(project.*picture)());
    box->pictureChanged();
    QObject::connect(&project, prepared, box, [box, &project, picture] {
        box->setDib(&(project.*picture)());
        box->pictureChanged();
    });
    return scroll;
}

void Finish(QGridLayout* grid) {
    grid->setRowStretch(grid->rowCount(), 1);
    grid->setColumnStretch(3, 1);
}
} // namespace

QWidget* BuildLayoutTab(LayoutBinding& layout) {
    auto* tab = Page("TabSheet7");
    auto* column = new QVBoxLayout(tab);
    auto* pages = new QTabWidget(tab);
    pages->setObjectName(QStringLiteral("PageControl2"));
    pages->setAccessibleName(QStringLiteral("Layout"));
    column->addWidget(pages);

    QWidget* margins = Page("TabSheet8");
    auto* marginGrid = new QGridLayout(margins);
    for (const SpinSetting& s : MarginSettings())
        AddSpinRow(layout, marginGrid, margins, s);
    AddChecks(layout, marginGrid, margins, SettingPage::Margins);
    Finish(marginGrid);
    pages->addTab(margins, QStringLiteral("Ränder und Abstände"));

    QWidget* fonts = Page("TabSheet9");
    auto* fontColumn = new QVBoxLayout(fonts);
    for (const FontSetting& s : FontSettings())
        fontColumn->addWidget(layout.MakeFontButton(s, fonts));
    fontColumn->addStretch(1);
    pages->addTab(fonts, QStringLiteral("Schriftarten"));

    QWidget* colours = Page("TabSheet10");
    auto* colourGrid = new QGridLayout(colours);
    AddChecks(layout, colourGrid, colours, SettingPage::Colours);
    for (const ColourSetting& s : ColourSettings()) {
        if (s.page != SettingPage::Colours) continue;
        const int row = colourGrid->rowCount();
        QLabel* label =
            CaptionFor(colours, QString::fromLatin1(s.name), QString::fromUtf8(s.caption));
        label->setVisible(!s.hidden);
        colourGrid->addWidget(label, row, 0);
        colourGrid->addWidget(layout.MakeSwatch(s, colours), row, 1);
    }
    Finish(colourGrid);
    pages->addTab(colours, QStringLiteral("Farben"));

    QWidget* formatting = Page("TabSheet11");
    auto* formatGrid = new QGridLayout(formatting);
    AddChecks(layout, formatGrid, formatting, SettingPage::Formatting);
    const std::vector<QRadioButton*> align =
        layout.MakeChoice(OtherRow(&L::pictureAlignment),
                          {QStringLiteral("Bilder linksbündig"), QStringLiteral("Bilder zentriert"),
                           QStringLiteral("Bilder rechtsbündig")},
                          formatting);
    for (QRadioButton* b : align) {
        b->setVisible(false);
        formatGrid->addWidget(b, formatGrid->rowCount(), 0);
    }
    Finish(formatGrid);
    pages->addTab(formatting, QStringLiteral("Formatierung"));

    QWidget* headFoot = Page("TabSheet12");
    auto* headGrid = new QGridLayout(headFoot);
    for (const TextSetting& t : TextSettings()) {
        const int row = headGrid->rowCount();
        headGrid->addWidget(
            CaptionFor(headFoot, QString::fromLatin1(t.name), QString::fromUtf8(t.caption)), row,
            0);
        headGrid->addWidget(layout.MakeText(t, headFoot), row, 1, 1, 3);
    }
    AddChecks(layout, headGrid, headFoot, SettingPage::HeaderFooter);
    const int row = headGrid->rowCount();
    const OtherSetting& firstPage = OtherRow(&L::firstPageNumber);
    headGrid->addWidget(CaptionFor(headFoot, QString::fromLatin1(firstPage.name),
                                   QString::fromUtf8(firstPage.caption)),
                        row, 0);
    headGrid->addWidget(layout.MakeWholeNumber(firstPage, headFoot), row, 1);
    Finish(headGrid);
    pages->addTab(headFoot, QStringLiteral("Kopf- und Fußzeile"));
    return tab;
}

QWidget* BuildBackgroundTab(LayoutBinding& layout, PreparedProject& project,
                            const QString& pictureFilter) {
    auto* tab = Page("TabSheet5");
    auto* grid = new QGridLayout(tab);
    const OtherSetting& file = OtherRow(&L::backgroundFile);
    grid->addWidget(
        CaptionFor(tab, QString::fromLatin1(file.name), QString::fromUtf8(file.caption)), 0, 0);
    FilenameEditBox* fileBox = layout.MakeFileName(file, tab);
    fileBox->setFilter(pictureFilter);
    grid->addWidget(fileBox, 0, 1, 1, 3);

    grid->addWidget(layout.MakeCheck(CheckRow(&L::backgroundFill), tab), 1, 0);
    grid->addWidget(layout.MakeSwatch(ColourRow(&L::backgroundStartColour), tab), 1, 1);
    grid->addWidget(layout.MakeSwatch(ColourRow(&L::backgroundEndColour), tab), 1, 2);

    auto* size = new QGroupBox(QStringLiteral("Größe der Grafik"), tab);
    size->setObjectName(QStringLiteral("GroupBox1"));
    auto* sizeGrid = new QGridLayout(size);
    AddSpinRow(layout, sizeGrid, size, SpinRow(&L::tileWidthCm), QStringLiteral("cm"));
    AddSpinRow(layout, sizeGrid, size, SpinRow(&L::tileHeightCm), QStringLiteral("cm"));
    sizeGrid->addWidget(layout.MakeCheck(CheckRow(&L::tileKeepsAspect), size), sizeGrid->rowCount(),
                        0, 1, 3);
    grid->addWidget(size, 2, 0, 1, 2);

    auto* look = new QGroupBox(QStringLiteral("Sichtbarkeits Einstellungen"), tab);
    look->setObjectName(QStringLiteral("GroupBox2"));
    auto* lookGrid = new QGridLayout(look);
    lookGrid->addWidget(layout.MakeCheck(CheckRow(&L::tileGrayScale), look), 0, 0, 1, 3);
    lookGrid->addWidget(layout.MakeCheck(CheckRow(&L::tileLighten), look), 1, 0, 1, 3);
    AddSpinRow(layout, lookGrid, look, SpinRow(&L::tileBrightness));
    AddSpinRow(layout, lookGrid, look, SpinRow(&L::tileSaturation),
               QStringLiteral("(größer 0=Farben intensiver)"));
    grid->addWidget(look, 2, 2, 1, 2);

    grid->addWidget(PictureBox(tab, "ScrollBox2", "PaintBox2", QStringLiteral("Hintergrund"),
                               project, &PreparedProject::background,
                               &PreparedProject::backgroundPrepared),
                    3, 0, 1, 4);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
    return tab;
}

QWidget* BuildLogoTab(LayoutBinding& layout, PreparedProject& project,
                      const QString& pictureFilter) {
    auto* tab = Page("TabSheet6");
    auto* grid = new QGridLayout(tab);
    const OtherSetting& file = OtherRow(&L::logoFile);
    grid->addWidget(
        CaptionFor(tab, QString::fromLatin1(file.name), QString::fromUtf8(file.caption)), 0, 0);
    FilenameEditBox* fileBox = layout.MakeFileName(file, tab);
    fileBox->setFilter(pictureFilter);
    grid->addWidget(fileBox, 0, 1, 1, 3);

    auto* size = new QGroupBox(QStringLiteral("Größe der Grafik"), tab);
    size->setObjectName(QStringLiteral("GroupBox3"));
    auto* sizeGrid = new QGridLayout(size);
    for (const SpinSetting& s : LogoSpinSettings())
        AddSpinRow(layout, sizeGrid, size, s, QStringLiteral("cm"));
    AddChecks(layout, sizeGrid, size, SettingPage::Logo);
    grid->addWidget(size, 1, 0, 1, 2);

    grid->addWidget(PictureBox(tab, "ScrollBox3", "PaintBox3", QStringLiteral("Logo"), project,
                               &PreparedProject::logo, &PreparedProject::logoPrepared),
                    2, 0, 1, 4);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(3, 1);
    return tab;
}
