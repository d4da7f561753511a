#pragma once
// The order of the page settings in a project file (its second section), shared
// by the reader and the writer so the two cannot drift apart.

#include "LayoutSettings.h"

#include <array>
#include <cstdint>
#include <variant>

// Text (Windows-1252 string), float64, bool, colour or int32, by member type.
using PageValue =
    std::variant<QString LayoutSettings::*, double LayoutSettings::*, bool LayoutSettings::*,
                 ColourValue LayoutSettings::*, std::int32_t LayoutSettings::*>;

inline const std::array<PageValue, 39>& PageSettingsOrder() {
    using L = LayoutSettings;
    static const std::array<PageValue, 39> order = {
        &L::backgroundFile,     &L::logoFile,
        &L::leftMarginMm,       &L::topMarginMm,
        &L::rightMarginMm,      &L::bottomMarginMm,
        &L::objectGapMm,        &L::categoryNamesInCapitals,
        &L::headingCentred,     &L::oddFooterText,
        &L::evenFooterText,     &L::headerText,
        &L::pageFrame,          &L::spaceBelowHeaderMm,
        &L::headerIndentMm,     &L::headerBand,
        &L::headerColour,       &L::footerBand,
        &L::footerColour,       &L::showLogo,
        &L::categoryNameBand,   &L::categoryAreaBand,
        &L::categoryNameColour, &L::categoryAreaColour,
        &L::footerCentred,      &L::spaceAboveFooterMm,
        &L::footerIndentMm,     &L::swapFooters,
        &L::firstPageNumber,    &L::tileWidthCm,
        &L::tileHeightCm,       &L::tileBrightness,
        &L::tileSaturation,     &L::tileKeepsAspect,
        &L::tileGrayScale,      &L::tileLighten,
        &L::logoWidthCm,        &L::logoHeightCm,
        &L::logoKeepsAspect,
    };
    return order;
}

// The fixed-size trailing sections, in bytes.
constexpr int kTrailingBoolBytes = 1;
constexpr int kPictureAlignBytes = 4;         // T2
constexpr int kSpaceBetweenColumnsBytes = 8;  // T4
constexpr int kBackgroundColourBytes = 9;     // T6
constexpr int kLinesAndTableColourBytes = 36; // T9

// The face name of a font record has a one-byte length.
constexpr int kMaxFontNameUnits = 255;
