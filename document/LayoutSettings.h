#pragma once
// Every page layout value of a document, with its default. The main window
// shows and edits these values; the layout engine and the project file read
// them. Range, step, unit and caption of each value are in the tables below.

#include "Colour.h"
#include "FontRecord.h"

#include <QString>
#include <array>
#include <cstdint>
#include <span>

extern const char16_t* const kMakerWebAddress;

struct LayoutSettings {
    LayoutSettings();

    // Margins and spacing, mm.
    double LinksEd = 12, ObenEd = 2, RechtsEd = 12, UntenEd = 5, RandBildEd = 2;
    double KopfEdmm = 5, RandKopfEd = 5, PlatzueberEd = 3, LinkRandFussEd = 5;
    double LineWidthEd = 0.6, PlatzZwischenSpaltenEd = 5, LineWidthEd2 = 0.6;

    // Flags.
    bool RahmenCheck = false, FarbRechtKopfCheck = true, FarbrechtFussCheck = true;
    bool UnterlegeKategorie = true, KatBereichUnterCheck = true, CapsCheck = true;
    bool ZentrCheck = true, ZentrFussCheck = false, LogoChecked = true, xchangecheck = false;
    bool OnlyOneColumnCheck = false, ArtNotBlockCheck = false, ZentrTabelleCheck = false;
    bool NoLineBelowVariantsCheck = false;
    // Picture alignment: 0 BildLinks, 1 BildZentr, 2 BildRechts.
    std::int32_t BildAlign = 2;

    // Header and footer.
    QString FussEd, FussEd2, KopfEd;
    std::int32_t FirstPageNr = 1;

    // Colours.
    ColourValue Shape1 = 0x800000, Shape2 = 0x800000, Shape3 = 0x000000, Shape4 = 0x808080;
    ColourValue Shape5 = 0xC0C0C0, Shape6 = 0xC0C0C0, Shape7 = 0xFFFFFF, Shape8 = 0xC0C0C0;
    ColourValue Shape9 = 0xE1E1E1, Shape10 = 0x000000, Shape11 = 0x000000;

    // FontDialog1 .. FontDialog9 at index 0 .. 8.
    std::array<FontRecord, 9> fonts;

    // Background.
    QString FilenameEdit2;
    bool BackgroundColorCheck = true;
    double BreitEd2 = 30, HochEd2 = 10;
    bool SVerh2Check = true, GrayScaleCheck = false, LightenCheck = true;
    double HellEd = 50, SatEd = 0; // whole numbers

    // Logo.
    QString FilenameEdit1;
    double BreitEd3 = 1.5, HochEd3 = 1.5;
    bool sverhlogo = true;
};

// Describes one spin edit of the layout: object name, caption, range and step.
struct SpinSetting {
    const char* name;
    const char* caption; // UTF-8, German
    double LayoutSettings::*value;
    double minimum, maximum, step;
    int decimals; // 0 for whole numbers
    bool hidden;
};

// Where a control sits in the main window.
enum class SettingPage { Margins, Fonts, Colours, Formatting, HeaderFooter, Background, Logo };

struct CheckSetting {
    SettingPage page;
    const char* name;
    const char* caption;
    bool LayoutSettings::*value;
    bool hidden;
};

struct ColourSetting {
    SettingPage page;
    const char* name;
    const char* caption; // the label beside the swatch; empty for the background colours
    ColourValue LayoutSettings::*value;
    bool hidden;
};

struct FontSetting {
    const char* dialogName; // FontDialog1 .. FontDialog9
    const char* buttonName; // BitBtnXP..
    const char* caption;
    int index; // into LayoutSettings::fonts
    bool hidden;
};

std::span<const SpinSetting> MarginSettings(); // tab "Ränder und Abstände"
std::span<const SpinSetting> BackgroundSpinSettings();
std::span<const SpinSetting> LogoSpinSettings();
std::span<const CheckSetting> CheckSettings();   // every flag of the layout
std::span<const ColourSetting> ColourSettings(); // Shape1 .. Shape11
std::span<const FontSetting> FontSettings();     // in button order of the fonts tab
