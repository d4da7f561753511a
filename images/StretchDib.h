#pragma once
// Drawing a picture, scaled, into a rectangle of a device.

#include "Dib.h"
#include "DibDevice.h"

#include <functional>

class QString;

// Draws the source rectangle of rec (source y counted from the bottom row, as
// the rows are stored) into the destination rectangle with top-left corner
// (x, y). The source is clipped to the picture first, the destination shrunk
// in proportion. Screens get 8- and 24-bit pictures row by row; printers and
// other depths get the device's own stretch, with two fallbacks.
void StretchDib(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx, int sy,
                int sw, int sh, std::uint32_t rop = SRCCOPY);

// Row-by-row nearest-neighbour drawing of a 24- or 8-bit picture; sourceTop is
// the first source row counted from the top.
void StretchDibRows24(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx,
                      int sourceTop, int sw, int sh);
void StretchDibRows8(DibDevice& device, int x, int y, int dw, int dh, const dib& rec, int sx,
                     int sourceTop, int sw, int sh);

// Where the drawing routine's three device-failure messages go. The default
// writes them to standard error; the program shows a message box instead.
using DibMessageHook = std::function<void(const QString& text)>;
// Installs hook (an empty hook restores the default) and returns the previous one.
DibMessageHook SetDibMessageHook(DibMessageHook hook);
void ShowDibMessage(const QString& text);

// n / d rounded to the nearest integer, halves to the even neighbour.
std::int64_t RoundDivEven(std::int64_t n, std::int64_t d);
