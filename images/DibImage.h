#pragma once
// Turning device-independent rows into a QImage.

#include "Dib.h"

#include <QImage>

// The scan lines [firstScan, firstScan + lines) of a picture described by info
// (rows bottom first at bits, bits pointing at scan line firstScan), as an
// image with its top row first. Supports uncompressed 1, 4, 8, 16 (5-5-5), 24
// and 32 bits; a null image for anything else.
QImage DibRowsToImage(const BITMAPINFO* info, const std::uint8_t* bits, int lines);

// The whole picture of a record as an image; null for an empty record.
QImage DibToImage(const dib& rec);
