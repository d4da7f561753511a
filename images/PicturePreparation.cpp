#include "PicturePreparation.h"

#include "DibConvert.h"
#include "DibFile.h"

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
    if (background.poi && processing.lighten)
        LightenDib(background, processing.brightness, processing.saturation);
}

void LoadBackground(dib& background, const QString& file, bool grayScale, bool lighten, int hell,
                    int sat, const QString& programDir) {
    LoadBackground(background, file, BackgroundProcessing{grayScale, lighten, hell, sat},
                   programDir);
}
