// The tabs "Layout", "Hintergrund" and "Logo": the controls of the page layout values.
#include "MainUnit.h"

#include "ColourSwatch.h"
#include "DibPaintBox.h"
#include "FilenameEditBox.h"
#include "FontSettingButton.h"

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

#include <climits>

namespace {
QLabel* CaptionFor(QWidget* parent, const QString& controlName, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(controlName + QStringLiteral("Label"));
    return label;
}

QWidget* Page(const char* name) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    return page;
}

// A spin edit with its caption in front and, where it has one, its unit behind.
void AddSpinRow(LayoutControls& layout, QGridLayout* grid, QWidget* parent, const SpinSetting& s,
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

void AddChecks(LayoutControls& layout, QGridLayout* grid, QWidget* parent, SettingPage page) {
    for (const CheckSetting& s : CheckSettings())
        if (s.page == page) grid->addWidget(layout.MakeCheck(s, parent), grid->rowCount(), 0, 1, 3);
}

const SpinSetting& SpinNamed(std::span<const SpinSetting> table, const char* name) {
    for (const SpinSetting& s : table)
        if (qstrcmp(s.name, name) == 0) return s;
    Q_UNREACHABLE();
}

const CheckSetting& CheckNamed(const char* name) {
    for (const CheckSetting& s : CheckSettings())
        if (qstrcmp(s.name, name) == 0) return s;
    Q_UNREACHABLE();
}

const ColourSetting& ColourNamed(const char* name) {
    for (const ColourSetting& s : ColourSettings())
        if (qstrcmp(s.name, name) == 0) return s;
    Q_UNREACHABLE();
}

QRadioButton* AlignButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setVisible(false);
    return b;
}

void Finish(QGridLayout* grid) {
    grid->setRowStretch(grid->rowCount(), 1);
    grid->setColumnStretch(3, 1);
}
} // namespace

QWidget* TMainForm::BuildLayoutTab() {
    auto* tab = Page("TabSheet7");
    auto* column = new QVBoxLayout(tab);
    auto* pages = new QTabWidget(tab);
    pages->setObjectName(QStringLiteral("PageControl2"));
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
    layout.bildLinks = AlignButton(formatting, "BildLinks", QStringLiteral("Bilder linksbündig"));
    layout.bildZentr = AlignButton(formatting, "BildZentr", QStringLiteral("Bilder zentriert"));
    layout.bildRechts =
        AlignButton(formatting, "BildRechts", QStringLiteral("Bilder rechtsbündig"));
    layout.bildRechts->setChecked(true);
    for (QRadioButton* b : {layout.bildLinks, layout.bildZentr, layout.bildRechts})
        formatGrid->addWidget(b, formatGrid->rowCount(), 0);
    Finish(formatGrid);
    pages->addTab(formatting, QStringLiteral("Formatierung"));

    QWidget* headFoot = Page("TabSheet12");
    auto* headGrid = new QGridLayout(headFoot);
    const struct {
        const char* name;
        const char* caption;
        QString LayoutSettings::*value;
    } texts[] = {{"FussEd", "Fußzeile ungerade Seiten:", &LayoutSettings::oddFooterText},
                 {"FussEd2", "Fußzeile gerade Seiten:", &LayoutSettings::evenFooterText},
                 {"KopfEd", "Kopfzeile:", &LayoutSettings::headerText}};
    for (const auto& t : texts) {
        const int row = headGrid->rowCount();
        headGrid->addWidget(
            CaptionFor(headFoot, QString::fromLatin1(t.name), QString::fromUtf8(t.caption)), row,
            0);
        headGrid->addWidget(layout.MakeText(t.name, t.value, headFoot), row, 1, 1, 3);
    }
    AddChecks(layout, headGrid, headFoot, SettingPage::HeaderFooter);
    const int row = headGrid->rowCount();
    headGrid->addWidget(CaptionFor(headFoot, QStringLiteral("FirstPageNr"),
                                   QStringLiteral("Erste Seite hat Nummer:")),
                        row, 0);
    layout.firstPageNr = new QSpinBox(headFoot);
    layout.firstPageNr->setObjectName(QStringLiteral("FirstPageNr"));
    layout.firstPageNr->setRange(INT_MIN, INT_MAX);
    layout.firstPageNr->setValue(1);
    headGrid->addWidget(layout.firstPageNr, row, 1);
    Finish(headGrid);
    pages->addTab(headFoot, QStringLiteral("Kopf- und Fußzeile"));
    return tab;
}

QWidget* TMainForm::BuildBackgroundTab() {
    auto* tab = Page("TabSheet5");
    auto* grid = new QGridLayout(tab);
    grid->addWidget(CaptionFor(tab, QStringLiteral("FilenameEdit2"), QStringLiteral("Dateiname:")),
                    0, 0);
    layout.backgroundFile = new FilenameEditBox(tab);
    layout.backgroundFile->setObjectName(QStringLiteral("FilenameEdit2"));
    grid->addWidget(layout.backgroundFile, 0, 1, 1, 3);
    connect(layout.backgroundFile, &FilenameEditBox::fileNameChanged, this,
            &TMainForm::FilenameEdit2Change);

    grid->addWidget(layout.MakeCheck(CheckNamed("BackgroundColorCheck"), tab), 1, 0);
    grid->addWidget(layout.MakeSwatch(ColourNamed("Shape5"), tab), 1, 1);
    grid->addWidget(layout.MakeSwatch(ColourNamed("Shape6"), tab), 1, 2);

    auto* size = new QGroupBox(QStringLiteral("Größe der Grafik"), tab);
    size->setObjectName(QStringLiteral("GroupBox1"));
    auto* sizeGrid = new QGridLayout(size);
    AddSpinRow(layout, sizeGrid, size, SpinNamed(BackgroundSpinSettings(), "BreitEd2"),
               QStringLiteral("cm"));
    AddSpinRow(layout, sizeGrid, size, SpinNamed(BackgroundSpinSettings(), "HochEd2"),
               QStringLiteral("cm"));
    sizeGrid->addWidget(layout.MakeCheck(CheckNamed("SVerh2Check"), size), sizeGrid->rowCount(), 0,
                        1, 3);
    grid->addWidget(size, 2, 0, 1, 2);

    auto* look = new QGroupBox(QStringLiteral("Sichtbarkeits Einstellungen"), tab);
    look->setObjectName(QStringLiteral("GroupBox2"));
    auto* lookGrid = new QGridLayout(look);
    QCheckBox* gray = layout.MakeCheck(CheckNamed("GrayScaleCheck"), look);
    QCheckBox* lighten = layout.MakeCheck(CheckNamed("LightenCheck"), look);
    lookGrid->addWidget(gray, 0, 0, 1, 3);
    lookGrid->addWidget(lighten, 1, 0, 1, 3);
    AddSpinRow(layout, lookGrid, look, SpinNamed(BackgroundSpinSettings(), "HellEd"));
    AddSpinRow(layout, lookGrid, look, SpinNamed(BackgroundSpinSettings(), "SatEd"),
               QStringLiteral("(größer 0=Farben intensiver)"));
    grid->addWidget(look, 2, 2, 1, 2);
    connect(gray, &QCheckBox::toggled, this, &TMainForm::FilenameEdit2Change);
    connect(lighten, &QCheckBox::toggled, this, &TMainForm::FilenameEdit2Change);
    for (const char* name : {"HellEd", "SatEd"})
        connect(look->findChild<QDoubleSpinBox*>(QString::fromLatin1(name)),
                &QDoubleSpinBox::valueChanged, this, &TMainForm::FilenameEdit2Change);

    auto* scroll = new QScrollArea(tab);
    scroll->setObjectName(QStringLiteral("ScrollBox2"));
    PaintBox2 = new DibPaintBox(scroll);
    PaintBox2->setObjectName(QStringLiteral("PaintBox2"));
    scroll->setWidget(PaintBox2);
    grid->addWidget(scroll, 3, 0, 1, 4);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(3, 1);
    return tab;
}

QWidget* TMainForm::BuildLogoTab() {
    auto* tab = Page("TabSheet6");
    auto* grid = new QGridLayout(tab);
    grid->addWidget(CaptionFor(tab, QStringLiteral("FilenameEdit1"), QStringLiteral("Dateiname:")),
                    0, 0);
    layout.logoFile = new FilenameEditBox(tab);
    layout.logoFile->setObjectName(QStringLiteral("FilenameEdit1"));
    layout.logoFile->setFileName(LayoutSettings().logoFile);
    grid->addWidget(layout.logoFile, 0, 1, 1, 3);
    connect(layout.logoFile, &FilenameEditBox::fileNameChanged, this,
            &TMainForm::FilenameEdit1Change);

    auto* size = new QGroupBox(QStringLiteral("Größe der Grafik"), tab);
    size->setObjectName(QStringLiteral("GroupBox3"));
    auto* sizeGrid = new QGridLayout(size);
    for (const SpinSetting& s : LogoSpinSettings())
        AddSpinRow(layout, sizeGrid, size, s, QStringLiteral("cm"));
    sizeGrid->addWidget(layout.MakeCheck(CheckNamed("sverhlogo"), size), sizeGrid->rowCount(), 0, 1,
                        3);
    grid->addWidget(size, 1, 0, 1, 2);

    auto* scroll = new QScrollArea(tab);
    scroll->setObjectName(QStringLiteral("ScrollBox3"));
    PaintBox3 = new DibPaintBox(scroll);
    PaintBox3->setObjectName(QStringLiteral("PaintBox3"));
    scroll->setWidget(PaintBox3);
    grid->addWidget(scroll, 2, 0, 1, 4);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(3, 1);
    return tab;
}
