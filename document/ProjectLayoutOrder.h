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
        &L::FilenameEdit2,
        &L::FilenameEdit1,
        &L::LinksEd,
        &L::ObenEd,
        &L::RechtsEd,
        &L::UntenEd,
        &L::RandBildEd,
        &L::CapsCheck,
        &L::ZentrCheck,
        &L::FussEd,
        &L::FussEd2,
        &L::KopfEd,
        &L::RahmenCheck,
        &L::KopfEdmm,
        &L::RandKopfEd,
        &L::FarbRechtKopfCheck,
        &L::Shape1,
        &L::FarbrechtFussCheck,
        &L::Shape2,
        &L::LogoChecked,
        &L::UnterlegeKategorie,
        &L::KatBereichUnterCheck,
        &L::Shape3,
        &L::Shape4,
        &L::ZentrFussCheck,
        &L::PlatzueberEd,
        &L::LinkRandFussEd,
        &L::xchangecheck,
        &L::FirstPageNr,
        &L::BreitEd2,
        &L::HochEd2,
        &L::HellEd,
        &L::SatEd,
        &L::SVerh2Check,
        &L::GrayScaleCheck,
        &L::LightenCheck,
        &L::BreitEd3,
        &L::HochEd3,
        &L::sverhlogo,
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
