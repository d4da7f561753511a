#include "PicturePreparation.h"

#include "DibConvert.h"
#include "DibFile.h"

void LoadLogo(dib& di3, const QString& file, const QString& programDir) {
    if (di3.poi) FreeDib(di3);
    dib loaded;
    OpenDibFile(loaded, file, programDir);
    di3 = loaded;
}

void LoadBackground(dib& di2, const QString& file, const BackgroundProcessing& processing,
                    const QString& programDir) {
    if (di2.poi) FreeDib(di2);
    dib loaded;
    OpenDibFile(loaded, file, programDir);
    di2 = loaded;
    if (!di2.poi || !(processing.grayScale || processing.lighten)) return;
    ConvertDibTo24Bit(di2);
    if (di2.poi && processing.grayScale) GrayScaleDib(di2);
    if (di2.poi && processing.lighten)
        LightenDib(di2, processing.brightness, processing.saturation);
}

void LoadBackground(dib& di2, const QString& file, bool grayScale, bool lighten, int hell, int sat,
                    const QString& programDir) {
    LoadBackground(di2, file, BackgroundProcessing{grayScale, lighten, hell, sat}, programDir);
}
