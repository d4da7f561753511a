#pragma once
// Pixel operations on a whole picture, in place.

#include "Dib.h"

// Turns a 1-, 4- or 8-bit picture into a 24-bit one (1-bit pictures become
// black for index 0 and white otherwise); other depths are left alone, and so
// is the picture when the new one cannot be created.
void ConvertDibTo24Bit(dib& rec);
// Greys a 24-bit picture: grey = (30 red + 59 green + 11 blue) / 100.
void GrayScaleDib(dib& rec);
// Stretches each channel of a 24-bit picture around 128 by (saturation + 100) %
// and then blends it toward white, keeping brightness % of its distance.
void LightenDib(dib& rec, int brightness, int saturation);
// The channel value LightenDib gives c.
int LightenChannel(int c, int brightness, int saturation);
