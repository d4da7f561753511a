#include "Colour.h"

ColourValue ResolveColour(ColourValue c) {
    if (!IsSystemColour(c)) return c & 0x00FFFFFFu;
    // The classic defaults of the 31 system colours, in their numbering.
    static constexpr ColourValue scheme[] = {
        MakeColour(212, 208, 200), MakeColour(58, 110, 165),  MakeColour(10, 36, 106),
        MakeColour(128, 128, 128), MakeColour(212, 208, 200), MakeColour(255, 255, 255),
        MakeColour(0, 0, 0),       MakeColour(0, 0, 0),       MakeColour(0, 0, 0),
        MakeColour(255, 255, 255), MakeColour(212, 208, 200), MakeColour(212, 208, 200),
        MakeColour(128, 128, 128), MakeColour(10, 36, 106),   MakeColour(255, 255, 255),
        MakeColour(212, 208, 200), MakeColour(128, 128, 128), MakeColour(128, 128, 128),
        MakeColour(0, 0, 0),       MakeColour(212, 208, 200), MakeColour(255, 255, 255),
        MakeColour(64, 64, 64),    MakeColour(212, 208, 200), MakeColour(0, 0, 0),
        MakeColour(255, 255, 225), MakeColour(181, 181, 181), MakeColour(0, 0, 128),
        MakeColour(166, 202, 240), MakeColour(192, 192, 192), MakeColour(49, 106, 197),
        MakeColour(236, 233, 216),
    };
    const int n = SystemColourIndex(c);
    return n < static_cast<int>(sizeof scheme / sizeof scheme[0]) ? scheme[n] : 0;
}
