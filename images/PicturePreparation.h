#pragma once
// Loading the logo and the page background into the records the pages draw.

#include "Dib.h"

#include <QString>

struct LayoutSettings;

// Settings of the background tab that change the loaded picture.
struct BackgroundProcessing {
    bool grayScale = false;
    bool lighten = true;
    int brightness = 50; // percent, 1 to 100
    int saturation = 0;  // -100 to 200
};

// The background settings of s, each stored number brought into its control's
// range as the window's spin boxes do; the window and the export both use this.
BackgroundProcessing BackgroundProcessingOf(const LayoutSettings& s);

// Releases logo's picture and loads the logo file into it (empty when the file
// cannot be read). A relative name missing from the current directory is
// looked for in programDir (the program's directory when empty).
void LoadLogo(dib& logo, const QString& file, const QString& programDir = QString());

// Releases background's picture, reads the background file again and, when greying or
// lightening is on, converts it to 24 bits, greys it, then lightens it.
void LoadBackground(dib& background, const QString& file, const BackgroundProcessing& processing,
                    const QString& programDir = QString());
void LoadBackground(dib& background, const QString& file, bool grayScale, bool lighten, int hell,
                    int sat, const QString& programDir = QString());
