#pragma once
// The settings rows: one row for every layout value, saying which control shows
// it (the row's name is the control's object name), its caption, range and
// step. The layout keys, the layout tabs and the range checks are all made
// from these rows. A tab that places a control by hand finds its row by the
// member it shows, while compiling: a member without a row does not build.

#include "LayoutSettings.h"

namespace layoutrows {
using L = LayoutSettings;
using P = SettingPage;

inline constexpr SpinSetting kMargins[] = {
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

inline constexpr SpinSetting kBackgroundSpins[] = {
    {"BreitEd2", "Breite:", &L::tileWidthCm, 1, 10000, 0.1, 2, false},
    {"HochEd2", "Höhe:", &L::tileHeightCm, 1, 10000, 0.1, 2, false},
    {"HellEd", "Helligkeit %:", &L::tileBrightness, 1, 100, 1, 0, false},
    {"SatEd", "Sättigung:", &L::tileSaturation, -100, 200, 1, 0, false},
};

inline constexpr SpinSetting kLogoSpins[] = {
    {"BreitEd3", "Breite:", &L::logoWidthCm, 1, 10000, 0.1, 2, false},
    {"HochEd3", "Höhe:", &L::logoHeightCm, 1, 10000, 0.1, 2, false},
};

inline constexpr CheckSetting kChecks[] = {
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

inline constexpr ColourSetting kColours[] = {
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

inline constexpr FontSetting kFonts[] = {
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
inline constexpr TextSetting kTexts[] = {
    {"FussEd", "Fußzeile ungerade Seiten:", &L::oddFooterText},
    {"FussEd2", "Fußzeile gerade Seiten:", &L::evenFooterText},
    {"KopfEd", "Kopfzeile:", &L::headerText},
};

inline constexpr OtherSetting kOthers[] = {
    {"FirstPageNr", "Erste Seite hat Nummer:", OtherSetting::WholeNumber, &L::firstPageNumber,
     nullptr},
    {"BildLinks/BildZentr/BildRechts", "", OtherSetting::Choice, &L::pictureAlignment, nullptr},
    {"FilenameEdit2", "Dateiname:", OtherSetting::FileName, nullptr, &L::backgroundFile},
    {"FilenameEdit1", "Dateiname:", OtherSetting::FileName, nullptr, &L::logoFile},
};
} // namespace layoutrows

// Never defined: a row looked up for a member that has none calls it, which
// stops the build at the lookup.
void NoSettingsRowForThisMember();

// The row showing a member; the tabs place these controls by hand.
consteval const SpinSetting& SpinRow(double LayoutSettings::*member) {
    for (auto table : {std::span<const SpinSetting>(layoutrows::kMargins),
                       std::span<const SpinSetting>(layoutrows::kBackgroundSpins),
                       std::span<const SpinSetting>(layoutrows::kLogoSpins)})
        for (const SpinSetting& s : table)
            if (s.value == member) return s;
    NoSettingsRowForThisMember();
    return layoutrows::kMargins[0];
}

consteval const CheckSetting& CheckRow(bool LayoutSettings::*member) {
    for (const CheckSetting& s : layoutrows::kChecks)
        if (s.value == member) return s;
    NoSettingsRowForThisMember();
    return layoutrows::kChecks[0];
}

consteval const ColourSetting& ColourRow(ColourValue LayoutSettings::*member) {
    for (const ColourSetting& s : layoutrows::kColours)
        if (s.value == member) return s;
    NoSettingsRowForThisMember();
    return layoutrows::kColours[0];
}

// The row of a whole number, a choice or a file name.
consteval const OtherSetting& OtherRow(std::int32_t LayoutSettings::*member) {
    for (const OtherSetting& s : layoutrows::kOthers)
        if (s.kind != OtherSetting::FileName && s.number == member) return s;
    NoSettingsRowForThisMember();
    return layoutrows::kOthers[0];
}

consteval const OtherSetting& OtherRow(QString LayoutSettings::*member) {
    for (const OtherSetting& s : layoutrows::kOthers)
        if (s.kind == OtherSetting::FileName && s.text == member) return s;
    NoSettingsRowForThisMember();
    return layoutrows::kOthers[0];
}
