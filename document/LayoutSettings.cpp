#include "LayoutSettings.h"

const char16_t* const kMakerWebAddress = u"https://www.torvane.de";

namespace {
FontRecord Font(const char* name, int points, bool bold, ColourValue colour) {
    FontRecord f;
    f.name = QString::fromUtf8(name);
    f.size = points;
    f.style = bold ? fsBold : 0;
    f.color = colour;
    return f;
}

using L = LayoutSettings;
using P = SettingPage;

const SpinSetting kMargins[] = {
    {"LinksEd", "Linker Seitenrand in mm:", &L::leftMarginMm, 0, 1000, 1, 2, false},
    {"ObenEd", "Oberer Seitenrand in mm:", &L::topMarginMm, 0, 1000, 1, 2, false},
    {"RechtsEd", "Rechter Seitenrand in mm:", &L::rightMarginMm, 0, 1000, 1, 2, false},
    {"UntenEd", "Unterer Seitenrand in mm:", &L::bottomMarginMm, 0, 1000, 1, 2, false},
    {"RandBildEd", "Rand um Objekte in mm:", &L::objectGapMm, 0, 1000, 1, 2, false},
    {"KopfEdmm", "Platz unter Kopfzeile in mm:", &L::spaceBelowHeaderMm, 0, 1000, 1, 2, false},
    {"RandKopfEd", "Linker Rand für Kopfzeile:", &L::headerIndentMm, 0, 1000, 1, 2, false},
    {"PlatzueberEd", "Platz über Fußzeile in mm:", &L::spaceAboveFooterMm, 0, 1000, 1, 2, false},
    {"LinkRandFussEd", "Linker Rand für Fußzeile:", &L::footerIndentMm, 0, 1000, 1, 2, false},
    {"LineWidthEd", "Linienstärke in mm:", &L::lineWidthMm, 0, 1000, 1, 2, false},
    {"PlatzZwischenSpaltenEd", "Platz zwischen Spalten mm:", &L::columnGapMm, 0, 1000, 1, 2, true},
    {"LineWidthEd2", "Linienstärke unter Varianten Tabelle in mm:", &L::variantsLineWidthMm, 0,
     1000, 1, 2, true},
};

const SpinSetting kBackgroundSpins[] = {
    {"BreitEd2", "Breite:", &L::tileWidthCm, 1, 10000, 0.1, 2, false},
    {"HochEd2", "Höhe:", &L::tileHeightCm, 1, 10000, 0.1, 2, false},
    {"HellEd", "Helligkeit %:", &L::tileBrightness, 1, 100, 1, 0, false},
    {"SatEd", "Sättigung:", &L::tileSaturation, -100, 200, 1, 0, false},
};

const SpinSetting kLogoSpins[] = {
    {"BreitEd3", "Breite:", &L::logoWidthCm, 1, 10000, 0.1, 2, false},
    {"HochEd3", "Höhe:", &L::logoHeightCm, 1, 10000, 0.1, 2, false},
};

const CheckSetting kChecks[] = {
    {P::Margins, "RahmenCheck", "Rahmen um Seite", &L::pageFrame, false},
    {P::Colours, "FarbRechtKopfCheck", "Kopfzeile mit farbigem Rechteck unterlegen", &L::headerBand,
     false},
    {P::Colours, "FarbrechtFussCheck", "Fußzeile mit farbigem Rechteck unterlegen", &L::footerBand,
     false},
    {P::Colours, "UnterlegeKategorie", "Kategoriename mit Hintergrundfarbe unterlegen",
     &L::categoryNameBand, false},
    {P::Colours, "KatBereichUnterCheck", "Kategoriebereich mit Hintergrundfarbe unterlegen",
     &L::categoryAreaBand, false},
    {P::Formatting, "CapsCheck", "Kategorienamen in Großbuchstaben", &L::categoryNamesInCapitals,
     false},
    {P::Formatting, "ZentrCheck", "Überschrift zentriert", &L::headingCentred, false},
    {P::Formatting, "ZentrFussCheck", "Fußzeile zentriert", &L::footerCentred, false},
    {P::HeaderFooter, "LogoChecked", "Logo in Kopfzeile anzeigen", &L::showLogo, false},
    {P::HeaderFooter, "xchangecheck", "Vertausche gerade/ungerade Fußzeilen", &L::swapFooters,
     false},
    {P::Formatting, "OnlyOneColumnCheck", "Artikelbeschreibung mit nur einer Spalte",
     &L::descriptionOneColumn, true},
    {P::Formatting, "ArtNotBlockCheck", "Artikelbeschreibung NICHT im Blocksatz",
     &L::descriptionNotJustified, true},
    {P::Formatting, "ZentrTabelleCheck", "Tabelle mit Artikelvarianten zentrieren",
     &L::variantsTableCentred, true},
    {P::Formatting, "NoLineBelowVariantsCheck", "Keine Linie unter den Varianten",
     &L::noLineBelowVariants, true},
    {P::Background, "BackgroundColorCheck", "Hintergrundfarbe/Farbverlauf:", &L::backgroundFill,
     false},
    {P::Background, "SVerh2Check", "Seitenverhältnis beibehalten", &L::tileKeepsAspect, false},
    {P::Background, "GrayScaleCheck", "Textur in Graustufen umwandeln", &L::tileGrayScale, false},
    {P::Background, "LightenCheck", "Textur aufhellen und Sättigung neu berechnen", &L::tileLighten,
     false},
    {P::Logo, "sverhlogo", "Seitenverhältnis beibehalten", &L::logoKeepsAspect, false},
};

const ColourSetting kColours[] = {
    {P::Colours, "Shape1", "Farbe für Kopfzeile:", &L::headerColour, false},
    {P::Colours, "Shape2", "Farbe für Fußzeile:", &L::footerColour, false},
    {P::Colours, "Shape3", "Farbe für Unterlegung:", &L::categoryNameColour, false},
    {P::Colours, "Shape4", "Farbe für Bereich:", &L::categoryAreaColour, false},
    {P::Background, "Shape5", "", &L::backgroundStartColour, false},
    {P::Background, "Shape6", "", &L::backgroundEndColour, false},
    {P::Colours, "Shape7", "Farbe für Formularfeldhintergrund:", &L::fieldBackgroundColour, false},
    {P::Colours, "Shape8", "Farbe für Kopfzeile der Tabelle:", &L::tableHeadingColour, true},
    {P::Colours, "Shape9", "Farbe für Preisspalten der Tabelle:", &L::priceColumnsColour, true},
    {P::Colours, "Shape10", "Farbe der Linie unter der Tabelle:", &L::tableLineColour, true},
    {P::Colours, "Shape11", "Farbe für Linien:", &L::lineColour, false},
};

const FontSetting kFonts[] = {
    {"FontDialog1", "BitBtnXP3", "Schriftart für Überschrift...", 0, false},
    {"FontDialog2", "BitBtnXP4", "Schriftart für Kategoriename...", 1, false},
    {"FontDialog3", "BitBtnXP5", "Schriftart für Ankreuzfelder...", 2, false},
    {"FontDialog4", "BitBtnXP6", "Schriftart für Beschreibung...", 3, false},
    {"FontDialog5", "BitBtnXP7", "Schriftart für Feldnamen...", 4, false},
    {"FontDialog6", "BitBtnXP8", "Schriftart für Tabellenüberschriften...", 5, true},
    {"FontDialog7", "BitBtnXP9", "Schriftart für Tabellentext...", 6, true},
    {"FontDialog8", "BitBtnXP10", "Schriftart für Fußzeile...", 7, false},
    {"FontDialog9", "BitBtnXP1", "Schriftart für Kopfzeile...", 8, false},
};
const TextSetting kTexts[] = {
    {"FussEd", "Fußzeile ungerade Seiten:", &L::oddFooterText},
    {"FussEd2", "Fußzeile gerade Seiten:", &L::evenFooterText},
    {"KopfEd", "Kopfzeile:", &L::headerText},
};

const OtherSetting kOthers[] = {
    {"FirstPageNr", "Erste Seite hat Nummer:", OtherSetting::WholeNumber, &L::firstPageNumber,
     nullptr},
    {"BildLinks/BildZentr/BildRechts", "", OtherSetting::Choice, &L::pictureAlignment, nullptr},
    {"FilenameEdit2", "Dateiname:", OtherSetting::FileName, nullptr, &L::backgroundFile},
    {"FilenameEdit1", "Dateiname:", OtherSetting::FileName, nullptr, &L::logoFile},
};
} // namespace

LayoutSettings::LayoutSettings()
    : oddFooterText(QStringLiteral("%PAGE%  -  Besuchen Sie uns im Internet unter ") +
                    QString::fromUtf16(kMakerWebAddress)),
      evenFooterText(QStringLiteral("Besuchen Sie uns im Internet unter ") +
                     QString::fromUtf16(kMakerWebAddress) + QStringLiteral("  -  %PAGE%")),
      headerText(QStringLiteral("Torvane GbR Quillora 1.0")),
      fonts{Font("Arial Black", 24, true, kSystemWindowText),
            Font("Arial Black", 24, true, 0x00FFFF),
            Font("Arial Black", 14, false, kSystemWindowText),
            Font("Arial", 11, false, kSystemWindowText),
            Font("Arial Narrow", 10, false, kSystemWindowText),
            Font("Arial Black", 9, false, kSystemWindowText),
            Font("Arial", 10, false, kSystemWindowText),
            Font("Arial Black", 10, false, 0xFFFFFF),
            Font("Arial Black", 24, true, 0xFFFFFF)},
      logoFile(QStringLiteral("logo torvane200x200.gif")) {}

std::span<const SpinSetting> MarginSettings() {
    return kMargins;
}
std::span<const SpinSetting> BackgroundSpinSettings() {
    return kBackgroundSpins;
}
std::span<const SpinSetting> LogoSpinSettings() {
    return kLogoSpins;
}
std::span<const CheckSetting> CheckSettings() {
    return kChecks;
}
std::span<const ColourSetting> ColourSettings() {
    return kColours;
}
std::span<const FontSetting> FontSettings() {
    return kFonts;
}
std::span<const TextSetting> TextSettings() {
    return kTexts;
}
std::span<const OtherSetting> OtherSettings() {
    return kOthers;
}
