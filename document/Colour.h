#pragma once
// Colour values as the document stores them: 0x00BBGGRR for plain colours
// (red in the low byte), 0xFF0000nn for the system colour number nn.

#include <cstdint>

using ColourValue = std::uint32_t;

constexpr bool IsSystemColour(ColourValue c) {
    return (c & 0xFF000000u) == 0xFF000000u;
}
constexpr int SystemColourIndex(ColourValue c) {
    return static_cast<int>(c & 0xFFu);
}
constexpr int RedOf(ColourValue c) {
    return static_cast<int>(c & 0xFFu);
}
constexpr int GreenOf(ColourValue c) {
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int BlueOf(ColourValue c) {
    return static_cast<int>((c >> 16) & 0xFFu);
}
constexpr ColourValue MakeColour(int r, int g, int b) {
    return static_cast<ColourValue>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr ColourValue kSystemWindowText = 0xFF000008u;

// The RGB a colour value stands for when drawn: plain colours as they are, system
// colours by the classic desktop scheme (window text black, window white, ...).
ColourValue ResolveColour(ColourValue c);
