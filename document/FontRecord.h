#pragma once
// One font setting, mirroring the project file's font record.

#include "Colour.h"

#include <QString>
#include <cstdint>

enum FontStyleBits : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct FontRecord {
    std::uint8_t charset = 0; // 0 ANSI, 1 default, 2 symbol, ...
    ColourValue color = kSystemWindowText;
    QString name;
    std::uint8_t pitch = 0;          // 0 default, 1 variable, 2 fixed
    std::int32_t pixelsPerInch = 96; // the resolution the size refers to
    std::int32_t size = 10;          // points
    std::uint8_t style = 0;          // FontStyleBits

    bool operator==(const FontRecord&) const = default;
};
