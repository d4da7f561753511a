#include "LayoutSettings.h"

#include "LayoutRows.h"

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
    return layoutrows::kMargins;
}
std::span<const SpinSetting> BackgroundSpinSettings() {
    return layoutrows::kBackgroundSpins;
}
std::span<const SpinSetting> LogoSpinSettings() {
    return layoutrows::kLogoSpins;
}
std::span<const CheckSetting> CheckSettings() {
    return layoutrows::kChecks;
}
std::span<const ColourSetting> ColourSettings() {
    return layoutrows::kColours;
}
std::span<const FontSetting> FontSettings() {
    return layoutrows::kFonts;
}
std::span<const TextSetting> TextSettings() {
    return layoutrows::kTexts;
}
std::span<const OtherSetting> OtherSettings() {
    return layoutrows::kOthers;
}
