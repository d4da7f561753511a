#include "PicturePreparation.h"

#include "CheckedInt.h"
#include "DibConvert.h"
#include "DibFile.h"
#include "LayoutSettings.h"

#include <algorithm>

namespace {
constexpr int kMinBrightness = 1, kMaxBrightness = 100;
constexpr int kMinSaturation = -100, kMaxSaturation = 200;
} // namespace

BackgroundProcessing BackgroundProcessingOf(const LayoutSettings& s) {
    BackgroundProcessing p;
    p.grayScale = s.tileGrayScale;
    p.lighten = s.tileLighten;
    p.brightness = WholeSettingValue(s.tileBrightness, kMinBrightness, kMaxBrightness);
    p.saturation = WholeSettingValue(s.tileSaturation, kMinSaturation, kMaxSaturation);
    return p;
}

void LoadLogo(dib& logo, const QString& file, const QString& programDir) {
    if (logo.poi) FreeDib(logo);
    dib loaded;
    OpenDibFile(loaded, file, programDir);
    logo = loaded;
}

void LoadBackground(dib& background, const QString& file, const BackgroundProcessing& processing,
                    const QString& programDir) {
    if (background.poi) FreeDib(background);
    dib loaded;
    OpenDibFile(loaded, file, programDir);
    background = loaded;
    if (!background.poi || !(processing.grayScale || processing.lighten)) return;
    ConvertDibTo24Bit(background);
    if (background.poi && processing.grayScale) GrayScaleDib(background);
    // Callers may fill the record themselves: keep the values inside the ranges.
    if (background.poi && processing.lighten)
        LightenDib(background, std::clamp(processing.brightness, kMinBrightness, kMaxBrightness),
                   std::clamp(processing.saturation, kMinSaturation, kMaxSaturation));
}

void LoadBackground(dib& background, const QString& file, bool grayScale, bool lighten, int hell,
                    int sat, const QString& programDir) {
    LoadBackground(background, file, BackgroundProcessing{grayScale, lighten, hell, sat},
                   programDir);
}
