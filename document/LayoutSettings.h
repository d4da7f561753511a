#pragma once
// Every page layout value of a document, with its default. The main window
// shows and edits these values; the layout engine and the project file read
// them. The kinds of settings row are below; the rows themselves, with range,
// step and caption of each value, are in LayoutRows.h.

#include "Colour.h"
#include "FontRecord.h"

#include <QString>
#include <array>
#include <cstdint>
#include <span>

extern const char16_t* const kMakerWebAddress;

// The nine fonts of the layout, by what they are used for.
enum class FontRole : std::size_t {
    Heading,      // held and saved; no page drawing reads it
    CategoryName, // category names
    CheckBox,     // labels of check boxes and single-choice fields
    Description,  // the categories' introduction texts
    FieldName,    // labels of text fields
    TableHeading, // held and saved only
    TableText,    // held and saved only
    Footer,       // footer lines
    Header,       // header line
};
constexpr std::size_t kFontRoleCount = 9;

struct LayoutSettings {
    LayoutSettings();
    bool operator==(const LayoutSettings&) const = default;

    // Margins and spacing, mm.
    double leftMarginMm = 12, topMarginMm = 2, rightMarginMm = 12, bottomMarginMm = 5;
    double objectGapMm = 2; // space around pictures, boxes and texts
    double spaceBelowHeaderMm = 5, headerIndentMm = 5, spaceAboveFooterMm = 3, footerIndentMm = 5;
    double lineWidthMm = 0.6;
    double columnGapMm = 5, variantsLineWidthMm = 0.6; // held and saved only

    // Flags.
    bool pageFrame = false, headerBand = true, footerBand = true;
    bool categoryNameBand = true, categoryAreaBand = true, categoryNamesInCapitals = true;
    bool headingCentred = true; // held and saved only
    bool footerCentred = false, showLogo = true, swapFooters = false;
    // Held and saved only.
    bool descriptionOneColumn = false, descriptionNotJustified = false;
    bool variantsTableCentred = false, noLineBelowVariants = false;
    // Picture alignment, held and saved only: 0 left, 1 centred, 2 right.
    std::int32_t pictureAlignment = 2;

    // Header and footer.
    QString oddFooterText, evenFooterText, headerText;
    std::int32_t firstPageNumber = 1;

    // Colours.
    ColourValue headerColour = 0x800000, footerColour = 0x800000;
    ColourValue categoryNameColour = 0x000000; // the band under a category name
    ColourValue categoryAreaColour = 0x808080; // the band over a category's area
    ColourValue backgroundStartColour = 0xC0C0C0, backgroundEndColour = 0xC0C0C0;
    ColourValue fieldBackgroundColour = 0xFFFFFF;
    // Held and saved only.
    ColourValue tableHeadingColour = 0xC0C0C0, priceColumnsColour = 0xE1E1E1;
    ColourValue tableLineColour = 0x000000;
    ColourValue lineColour = 0x000000;

    std::array<FontRecord, kFontRoleCount> fonts;
    const FontRecord& font(FontRole role) const { return fonts[static_cast<std::size_t>(role)]; }
    FontRecord& font(FontRole role) { return fonts[static_cast<std::size_t>(role)]; }

    // Background: a colour or gradient, and a tiled picture.
    QString backgroundFile;
    bool backgroundFill = true;
    double tileWidthCm = 30, tileHeightCm = 10;
    bool tileKeepsAspect = true, tileGrayScale = false, tileLighten = true;
    double tileBrightness = 50, tileSaturation = 0; // whole numbers

    // Logo.
    QString logoFile;
    double logoWidthCm = 1.5, logoHeightCm = 1.5;
    bool logoKeepsAspect = true;
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

// The one-line texts of the header and footer page.
struct TextSetting {
    const char* name;
    const char* caption;
    QString LayoutSettings::*value;
};
std::span<const TextSetting> TextSettings(); // FussEd, FussEd2, KopfEd

// The values held by other kinds of control: the first page number, the picture
// alignment (a group of three radio buttons) and the two picture file names.
struct OtherSetting {
    const char* name;
    const char* caption;
    enum Kind { WholeNumber, Choice, FileName } kind;
    std::int32_t LayoutSettings::*number; // WholeNumber and Choice
    QString LayoutSettings::*text;        // FileName
};
std::span<const OtherSetting> OtherSettings();
