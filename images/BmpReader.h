#pragma once
// Reads uncompressed 1-, 4-, 8- and 24-bit BMP files by hand so they keep
// their bit depth and colour table.

#include "Dib.h"

class QIODevice;

enum class BmpReadResult {
    Read,       // rec holds the picture
    NotHandled, // not a BMP of that kind; another reader may try
    Damaged     // a BMP that cannot be read safely; rec is empty
};

// Reads from the start of file. rec is overwritten (empty unless Read).
BmpReadResult ReadBmp(dib& rec, QIODevice& file);
