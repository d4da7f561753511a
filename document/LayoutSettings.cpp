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
    {"LinksEd", "Linker Seitenrand in mm:", &L::LinksEd, 0, 1000, 1, 2, false},
    {"ObenEd", "Oberer Seitenrand in mm:", &L::ObenEd, 0, 1000, 1, 2, false},
    {"RechtsEd", "Rechter Seitenrand in mm:", &L::RechtsEd, 0, 1000, 1, 2, false},
    {"UntenEd", "Unterer Seitenrand in mm:", &L::UntenEd, 0, 1000, 1, 2, false},
    {"RandBildEd", "Rand um Objekte in mm:", &L::RandBildEd, 0, 1000, 1, 2, false},
    {"KopfEdmm", "Platz unter Kopfzeile in mm:", &L::KopfEdmm, 0, 1000, 1, 2, false},
    {"RandKopfEd", "Linker Rand für Kopfzeile:", &L::RandKopfEd, 0, 1000, 1, 2, false},
    {"PlatzueberEd", "Platz über Fußzeile in mm:", &L::PlatzueberEd, 0, 1000, 1, 2, false},
    {"LinkRandFussEd", "Linker Rand für Fußzeile:", &L::LinkRandFussEd, 0, 1000, 1, 2, false},
    {"LineWidthEd", "Linienstärke in mm:", &L::LineWidthEd, 0, 1000, 1, 2, false},
    {"PlatzZwischenSpaltenEd", "Platz zwischen Spalten mm:", &L::PlatzZwischenSpaltenEd, 0, 1000, 1,
     2, true},
    {"LineWidthEd2", "Linienstärke unter Varianten Tabelle in mm:", &L::LineWidthEd2, 0, 1000, 1, 2,
     true},
};

const SpinSetting kBackgroundSpins[] = {
    {"BreitEd2", "Breite:", &L::BreitEd2, 1, 10000, 0.1, 2, false},
    {"HochEd2", "Höhe:", &L::HochEd2, 1, 10000, 0.1, 2, false},
    {"HellEd", "Helligkeit %:", &L::HellEd, 1, 100, 1, 0, false},
    {"SatEd", "Sättigung:", &L::SatEd, -100, 200, 1, 0, false},
};

const SpinSetting kLogoSpins[] = {
    {"BreitEd3", "Breite:", &L::BreitEd3, 1, 10000, 0.1, 2, false},
    {"HochEd3", "Höhe:", &L::HochEd3, 1, 10000, 0.1, 2, false},
};

const CheckSetting kChecks[] = {
    {P::Margins, "RahmenCheck", "Rahmen um Seite", &L::RahmenCheck, false},
    {P::Colours, "FarbRechtKopfCheck", "Kopfzeile mit farbigem Rechteck unterlegen",
     &L::FarbRechtKopfCheck, false},
    {P::Colours, "FarbrechtFussCheck", "Fußzeile mit farbigem Rechteck unterlegen",
     &L::FarbrechtFussCheck, false},
    {P::Colours, "UnterlegeKategorie", "Kategoriename mit Hintergrundfarbe unterlegen",
     &L::UnterlegeKategorie, false},
    {P::Colours, "KatBereichUnterCheck", "Kategoriebereich mit Hintergrundfarbe unterlegen",
     &L::KatBereichUnterCheck, false},
    {P::Formatting, "CapsCheck", "Kategorienamen in Großbuchstaben", &L::CapsCheck, false},
    {P::Formatting, "ZentrCheck", "Überschrift zentriert", &L::ZentrCheck, false},
    {P::Formatting, "ZentrFussCheck", "Fußzeile zentriert", &L::ZentrFussCheck, false},
    {P::HeaderFooter, "LogoChecked", "Logo in Kopfzeile anzeigen", &L::LogoChecked, false},
    {P::HeaderFooter, "xchangecheck", "Vertausche gerade/ungerade Fußzeilen", &L::xchangecheck,
     false},
    {P::Formatting, "OnlyOneColumnCheck", "Artikelbeschreibung mit nur einer Spalte",
     &L::OnlyOneColumnCheck, true},
    {P::Formatting, "ArtNotBlockCheck", "Artikelbeschreibung NICHT im Blocksatz",
     &L::ArtNotBlockCheck, true},
    {P::Formatting, "ZentrTabelleCheck", "Tabelle mit Artikelvarianten zentrieren",
     &L::ZentrTabelleCheck, true},
    {P::Formatting, "NoLineBelowVariantsCheck", "Keine Linie unter den Varianten",
     &L::NoLineBelowVariantsCheck, true},
    {P::Background, "BackgroundColorCheck",
     "Hintergrundfarbe/Farbverlauf:", &L::BackgroundColorCheck, false},
    {P::Background, "SVerh2Check", "Seitenverhältnis beibehalten", &L::SVerh2Check, false},
    {P::Background, "GrayScaleCheck", "Textur in Graustufen umwandeln", &L::GrayScaleCheck, false},
    {P::Background, "LightenCheck", "Textur aufhellen und Sättigung neu berechnen",
     &L::LightenCheck, false},
    {P::Logo, "sverhlogo", "Seitenverhältnis beibehalten", &L::sverhlogo, false},
};

const ColourSetting kColours[] = {
    {P::Colours, "Shape1", "Farbe für Kopfzeile:", &L::Shape1, false},
    {P::Colours, "Shape2", "Farbe für Fußzeile:", &L::Shape2, false},
    {P::Colours, "Shape3", "Farbe für Unterlegung:", &L::Shape3, false},
    {P::Colours, "Shape4", "Farbe für Bereich:", &L::Shape4, false},
    {P::Background, "Shape5", "", &L::Shape5, false},
    {P::Background, "Shape6", "", &L::Shape6, false},
    {P::Colours, "Shape7", "Farbe für Formularfeldhintergrund:", &L::Shape7, false},
    {P::Colours, "Shape8", "Farbe für Kopfzeile der Tabelle:", &L::Shape8, true},
    {P::Colours, "Shape9", "Farbe für Preisspalten der Tabelle:", &L::Shape9, true},
    {P::Colours, "Shape10", "Farbe der Linie unter der Tabelle:", &L::Shape10, true},
    {P::Colours, "Shape11", "Farbe für Linien:", &L::Shape11, false},
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
} // namespace

LayoutSettings::LayoutSettings()
    : FussEd(QStringLiteral("%PAGE%  -  Besuchen Sie uns im Internet unter ") +
             QString::fromUtf16(kMakerWebAddress)),
      FussEd2(QStringLiteral("Besuchen Sie uns im Internet unter ") +
              QString::fromUtf16(kMakerWebAddress) + QStringLiteral("  -  %PAGE%")),
      KopfEd(QStringLiteral("Torvane GbR Quillora 1.0")),
      fonts{Font("Arial Black", 24, true, kSystemWindowText),
            Font("Arial Black", 24, true, 0x00FFFF),
            Font("Arial Black", 14, false, kSystemWindowText),
            Font("Arial", 11, false, kSystemWindowText),
            Font("Arial Narrow", 10, false, kSystemWindowText),
            Font("Arial Black", 9, false, kSystemWindowText),
            Font("Arial", 10, false, kSystemWindowText),
            Font("Arial Black", 10, false, 0xFFFFFF),
            Font("Arial Black", 24, true, 0xFFFFFF)},
      FilenameEdit1(QStringLiteral("logo torvane200x200.gif")) {}

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
