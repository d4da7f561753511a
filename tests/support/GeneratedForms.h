#pragma once
// Generated documents for page layout tests, and what reaches the paper of a
// page: the drawings with the canvas state each depends on, so that pages
// drawn in different ways can be compared exactly.

#include "CategoryPictureCache.h"
#include "Dib.h"
#include "LayoutTestSupport.h"

#include <random>
#include <string>
#include <vector>

namespace layout_test {

// What reaches the paper: each drawing operation with the canvas state it
// depends on (font and text mode for text, pen and brush for shapes, pen and
// start point for lines). Selecting fonts, pens or brushes without drawing
// is not output, so a page drawn alone and the same page of a one-pass run
// compare equal whatever the pass selected for the pages it did not draw.
class PaperTrace {
  public:
    void Follow(const CanvasOp& op) {
        if (op.name == "Font")
            font = op.ToString();
        else if (op.name == "TransparentText" || op.name == "OpaqueText")
            textMode = op.ToString();
        else if (op.name == "Pen")
            pen = op.ToString();
        else if (op.name == "SolidBrush" || op.name == "ClearBrush")
            brush = op.ToString();
        else if (op.name == "MoveTo")
            position = op.ToString();
        else if (op.name == "TextOut" || op.name == "DrawWrappedText")
            lines.push_back(op.ToString() + " | " + font + " | " + textMode);
        else if (op.name == "Rectangle" || op.name == "Ellipse")
            lines.push_back(op.ToString() + " | " + pen + " | " + brush);
        else if (op.name == "LineTo") {
            lines.push_back(op.ToString() + " | " + pen + " | from " + position);
            position = op.ToString();
        } else if (op.name == "Arc")
            lines.push_back(op.ToString() + " | " + pen);
        else if (op.name == "StretchDIBits" || op.name == "SetDIBitsToDevice")
            lines.push_back(op.ToString());
        else
            ADD_FAILURE() << "unknown canvas operation " << op.name;
    }
    // The drawings since the last call, one per line.
    std::string Take() {
        std::string out;
        for (const std::string& line : lines)
            out += line + '\n';
        lines.clear();
        return out;
    }

  private:
    // A canvas starts with nothing selected, so a drawing that relies on a
    // state left over from an earlier page shows up as "unset".
    std::string font = "unset", textMode = "unset", pen = "unset", brush = "unset",
                position = "unset";
    std::vector<std::string> lines;
};

inline std::string PaperOf(const std::vector<CanvasOp>& ops, std::size_t from, std::size_t to,
                           PaperTrace& trace) {
    for (std::size_t i = from; i < to; ++i)
        trace.Follow(ops[i]);
    return trace.Take();
}

// What a generated document holds.
struct DocumentCase {
    const char* name;
    unsigned seed;
    int categories;
    bool decorations; // header band, logo, tiles, footers, frame, category bands
    bool pictures;    // category pictures and introduction texts
    bool gradient;    // background gradient instead of one colour
    bool cache;       // category pictures through a cache
};

inline void PrintTo(const DocumentCase& c, std::ostream* os) {
    *os << c.name;
}

class GeneratedFormTest : public PictureLayoutTest {
  protected:
    CategoryPictureCache cache;

    void Decorate(bool gradient) {
        settings = LayoutSettings(); // header and footer bands, background, capitals, underlay
        settings.logoFile.clear();
        settings.headerText = QStringLiteral("Bestellformular");
        settings.oddFooterText = QStringLiteral("Seite %PAGE% ungerade");
        settings.evenFooterText = QStringLiteral("gerade %page%");
        settings.firstPageNumber = 5;
        settings.pageFrame = true;
        settings.tileWidthCm = 6;
        if (gradient) {
            settings.backgroundStartColour = 0x0000FF;
            settings.backgroundEndColour = 0xFF0000;
        }
        newdib(&tile, 8, 4, 24);
        newdib(&logoPicture, 20, 10, 24);
        for (int i = 0; i < tile.bytew * 4; ++i)
            tile.poi[i] = static_cast<std::uint8_t>(i * 13);
        background = &tile;
        logo = &logoPicture;
    }

    // A random mix of headings, categories with and without pictures and
    // introduction texts, and rows of all three field kinds.
    void Generate(const DocumentCase& c) {
        std::mt19937 random(c.seed);
        auto pick = [&](int lo, int hi) {
            return std::uniform_int_distribution<int>(lo, hi)(random);
        };
        const QString pictureFiles[] = {Save("wide.bmp", 120, 40, Qt::green),
                                        Save("tall.bmp", 30, 60, Qt::blue),
                                        dir.filePath("missing.bmp")};
        for (int i = 0; i < c.categories; ++i) {
            const int k = AddCategory(QStringLiteral("Kategorie %1").arg(i));
            if (pick(0, 4) == 0) continue; // a heading
            if (c.pictures && pick(0, 3) > 0) {
                QString intro;
                for (int l = pick(0, 3); l > 0; --l)
                    intro += QStringLiteral("Zeile %1 der Einführung mit etwas Text\r\n").arg(l);
                doc.SetRecord(k, NewCategoryRecord(pictureFiles[pick(0, 2)], pick(1, 8) * 0.5,
                                                   intro, pick(0, 1), pick(0, 1) == 1));
            }
            for (int f = pick(0, 14); f > 0; --f) {
                const int kind = pick(0, 9);
                const QString label = pick(0, 3) == 0 ? QStringLiteral("Zwei\r\nZeilen %1").arg(f)
                                                      : QStringLiteral("Feld %1").arg(f);
                if (kind < 5)
                    AddField(k, fkText, label, pick(2, 38) * 0.5, pick(2, 8) * 0.25);
                else if (kind < 7)
                    AddField(k, fkCheckBox, label, 1, pick(2, 5) * 0.25);
                else
                    AddField(k, fkSingleChoice, label, 1, pick(2, 5) * 0.25);
            }
        }
    }

    void Build(const DocumentCase& c) {
        if (c.decorations) Decorate(c.gradient);
        Generate(c);
        if (c.cache) pictures = &cache;
    }

    // The pages printed one by one, as the print loop did: page 1, 2, ... until
    // PaintToCanvas says no page follows. Each page is drawn on a canvas of its own.
    std::vector<std::string> PageByPage() {
        std::vector<std::string> pages;
        for (int page = 1; page <= 200; ++page) {
            RecordingCanvas alone(kDpi);
            const bool more = Print(alone, page);
            PaperTrace trace;
            pages.push_back(PaperOf(alone.Ops(), 0, alone.Ops().size(), trace));
            if (!more) break;
        }
        return pages;
    }

    // One pass on one canvas, split where newPage() was called.
    struct Run {
        int pages = 0;
        std::vector<std::string> parts;
    };
    Run OnePassRun() {
        RecordingCanvas canvas(kDpi);
        std::vector<std::size_t> breaks;
        Run run;
        run.pages = PaintAllPages(canvas, Input(), kDpi, kPageW, kPageH,
                                  [&] { breaks.push_back(canvas.Ops().size()); });
        breaks.push_back(canvas.Ops().size());
        PaperTrace trace;
        std::size_t from = 0;
        for (std::size_t to : breaks) {
            run.parts.push_back(PaperOf(canvas.Ops(), from, to, trace));
            from = to;
        }
        return run;
    }
};

} // namespace layout_test
