#pragma once
// The order of the layout values in a project file, its page settings (the
// second section) and its trailing sections, shared by the reader and the
// writer so the two cannot drift apart.

#include "LayoutSettings.h"

#include <array>
#include <cstdint>
#include <type_traits>
#include <variant>
#include <vector>

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

// One trailing section: its values in file order, or the category records,
// the one section of variable length.
struct TrailingSection {
    std::vector<PageValue> values;
    bool categoryRecords = false;
};

// The trailing sections T1 to T9 in file order. A file may end before any of
// them; each one present is there whole (the reader takes it or stops).
inline const std::vector<TrailingSection>& TrailingSections() {
    using L = LayoutSettings;
    static const std::vector<TrailingSection> sections = {
        {{&L::descriptionOneColumn}},    // T1
        {{&L::pictureAlignment}},        // T2: 0, 1 or 2; another value changes nothing
        {{&L::descriptionNotJustified}}, // T3
        {{&L::columnGapMm}},             // T4
        {{&L::variantsTableCentred}},    // T5
        {{&L::backgroundFill, &L::backgroundStartColour, &L::backgroundEndColour}}, // T6
        {{&L::noLineBelowVariants}},                                                // T7
        {{}, true}, // T8: the category records
        {{&L::lineWidthMm, &L::variantsLineWidthMm, &L::fieldBackgroundColour,
          &L::tableHeadingColour, &L::priceColumnsColour, &L::tableLineColour,
          &L::lineColour}}, // T9
    };
    return sections;
}

// The bytes a fixed-size section takes: a bool 1, an int32 or colour 4, a float64 8.
inline int SectionBytes(const TrailingSection& section) {
    int bytes = 0;
    for (const PageValue& value : section.values)
        bytes += std::visit(
            []<typename T>(T LayoutSettings::*) {
                if constexpr (std::is_same_v<T, bool>)
                    return 1;
                else if constexpr (std::is_same_v<T, double>)
                    return 8;
                else
                    return 4; // a text has no fixed size and is in no trailing section
            },
            value);
    return bytes;
}

// The face name of a font record has a one-byte length.
constexpr int kMaxFontNameUnits = 255;
