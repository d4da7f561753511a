#pragma once
// Small GIF files made byte by byte for the picture-reading tests.

#include <QRgb>

#include <cstdint>
#include <vector>

// A GIF with a global colour table of 2 (tableBits 1) or 4 (tableBits 2)
// entries (red, green, blue triples), pixels top row first. The image data is
// written as LZW literal codes only, with a clear code after every two so the
// code width stays at 3 bits.
inline std::vector<std::uint8_t> MakeGif(int width, int height, const std::vector<QRgb>& colours,
                                         const std::vector<int>& pixels, int tableBits = 2) {
    std::vector<std::uint8_t> b = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&b](int v) {
        b.push_back(v & 0xFF);
        b.push_back((v >> 8) & 0xFF);
    };
    put16(width);
    put16(height);
    b.insert(b.end(), {std::uint8_t(0xF0 | (tableBits - 1)), 0, 0});
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = i < static_cast<int>(colours.size()) ? colours[i] : 0;
        b.insert(b.end(), {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))});
    }
    b.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    b.push_back(0);
    b.push_back(2); // minimum code size
    std::vector<int> codes;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0) codes.push_back(4); // clear
        codes.push_back(pixels[i]);
    }
    codes.push_back(5); // end
    std::vector<std::uint8_t> data;
    int bitPos = 0;
    for (int code : codes) {
        for (int bit = 0; bit < 3; ++bit, ++bitPos) {
            if (bitPos % 8 == 0) data.push_back(0);
            if (code & (1 << bit)) data.back() |= static_cast<std::uint8_t>(1 << (bitPos % 8));
        }
    }
    b.push_back(static_cast<std::uint8_t>(data.size())); // one sub-block is enough here
    b.insert(b.end(), data.begin(), data.end());
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}
