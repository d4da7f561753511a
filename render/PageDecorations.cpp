// What every page carries: background colour or gradient, background tiles,
// header band, logo and text, footer band and text, and the page frame.

#include "Dib.h"
#include "LayoutSettings.h"
#include "PagePass.h"
#include "TextHelpers.h"
#include "Units.h"

#include <QRegularExpression>

void PagePass::BeginPage() {
    if (OnRequestedPage()) {
        DrawBackground();
        DrawTiles();
    }
    DrawHeader();
    DrawFooter();
    if (OnRequestedPage()) DrawFrame();
}

namespace {

// One colour channel of the gradient, row by row: the shares (h - n) x a / h
// and b x n / h, each truncated, kept as quotient and remainder and stepped
// from row n to row n + 1 without dividing (thousands of rows per page).
class GradientChannel {
  public:
    GradientChannel(int a, int b, std::int64_t h)
        : a(a), b(b), h(h), q1((h - 1) * a / h), r1((h - 1) * a % h), q2(b / h), r2(b % h) {}
    int Value() const { return static_cast<int>(q1 + q2); }
    void Next() {
        for (r1 -= a; r1 < 0; r1 += h)
            --q1;
        for (r2 += b; r2 >= h; r2 -= h)
            ++q2;
    }

  private:
    std::int64_t a, b, h;
    std::int64_t q1, r1; // (h - n) x a = q1 x h + r1
    std::int64_t q2, r2; // b x n = q2 x h + r2
};

} // namespace

void PagePass::DrawBackground() {
    if (!s.backgroundFill) return;
    const ColourValue c1 = s.backgroundStartColour, c2 = s.backgroundEndColour;
    if (c1 == c2) {
        SolidRectangle(c1, 0, 0, width, height);
        return;
    }
    if (height <= 0) return;
    // Row n (from 1) has each channel (h - n) x c1 / h + c2 x n / h, the two
    // shares truncated separately; system colour references are split as they
    // stand. Neighbouring rows of one colour are filled as one rectangle, which
    // gives the same pixels as filling them row by row.
    const std::int64_t hh = height;
    GradientChannel red(RedOf(c1), RedOf(c2), hh), green(GreenOf(c1), GreenOf(c2), hh),
        blue(BlueOf(c1), BlueOf(c2), hh);
    std::vector<FilledRect> runs;
    std::int64_t first = 1;
    ColourValue colour = MakeColour(red.Value(), green.Value(), blue.Value());
    for (std::int64_t n = 2; n <= hh + 1; ++n) {
        ColourValue next = colour;
        if (n <= hh) {
            red.Next();
            green.Next();
            blue.Next();
            next = MakeColour(red.Value(), green.Value(), blue.Value());
            if (next == colour) continue;
        }
        runs.push_back({{0, ToCoord(first - 1), width, ToCoord(n - 1)}, colour});
        first = n;
        colour = next;
    }
    canvas.FillRectangles(runs);
}

void PagePass::DrawTiles() {
    const dib* picture = in.background;
    if (!picture || !picture->poi) return;
    const int pw0 = DibWidth(*picture), ph0 = DibHeight(*picture);
    if (pw0 <= 0 || ph0 <= 0) return;
    const std::int64_t tiw = CmToPixels(s.tileWidthCm, dpi, zoom);
    std::int64_t tih = CmToPixels(s.tileHeightCm, dpi, zoom);
    if (s.tileKeepsAspect) tih = ph0 * tiw / pw0;
    // A tile that comes out 0 pixels wide or high (tiny zoom, a tiny picture
    // kept in proportion) cannot cover anything: no tiles are drawn.
    if (tiw <= 0 || tih <= 0) return;
    for (std::int64_t ty = 0; ty < height; ty += tih)
        for (std::int64_t tx = 0; tx < width; tx += tiw)
            DrawPicture(*picture, tx, ty, ToCoord(tiw), ToCoord(tih));
}

void PagePass::DrawHeader() {
    if (s.headerText.isEmpty()) return;
    const CanvasFont saved = canvas.CurrentFont();
    SelectScaledFont(s.font(FontRole::Header));
    const int th = LineHeight();
    const int below = MmToPixels(s.spaceBelowHeaderMm, dpi, zoom);
    if (OnRequestedPage()) {
        if (s.headerBand)
            SolidRectangle(s.headerColour, 0, 0, W, static_cast<std::int64_t>(T) + th + below);
        const int left = MmToPixels(s.headerIndentMm, dpi, zoom);
        std::int64_t textLeft = left;
        const dib* logo = in.logo;
        if (logo && logo->poi && s.showLogo) {
            const std::int64_t lw = CmToPixels(s.logoWidthCm, dpi, zoom);
            std::int64_t lh = CmToPixels(s.logoHeightCm, dpi, zoom);
            if (s.logoKeepsAspect)
                lh = DibWidth(*logo) > 0
                         ? static_cast<std::int64_t>(DibHeight(*logo)) * lw / DibWidth(*logo)
                         : 0;
            // A logo that comes out 0 pixels wide or high draws nothing, but the
            // header text keeps its place after it, as at every other size.
            if (lw > 0 && lh > 0) DrawPicture(*logo, left, T, ToCoord(lw), ToCoord(lh));
            textLeft += lw + G;
        }
        canvas.TextOut(ToCoord(textLeft), T, StripControlChars(s.headerText));
    }
    headerHeight = th + below;
    canvas.SelectFont(saved);
}

// Every "%PAGE%", in any mix of cases, becomes n (nothing when n < 1).
static QString ReplacePageNumber(const QString& text, std::int64_t n) {
    static const QRegularExpression placeholder(QStringLiteral("%page%"),
                                                QRegularExpression::CaseInsensitiveOption);
    QString result = text;
    result.replace(placeholder, n >= 1 ? QString::number(n) : QString());
    return result;
}

void PagePass::DrawFooter() {
    if (s.oddFooterText.isEmpty()) return;
    const CanvasFont saved = canvas.CurrentFont();
    SelectScaledFont(s.font(FontRole::Footer));
    const int th = LineHeight();
    const int above = MmToPixels(s.spaceAboveFooterMm, dpi, zoom);
    if (OnRequestedPage()) {
        if (s.footerBand)
            SolidRectangle(s.footerColour, 0, static_cast<std::int64_t>(H) - B - th - above, W, H);
        // Odd and even count the page's position in the pass, not its number.
        const bool odd = pageCounter % 2 == 1;
        const bool oddText = odd != s.swapFooters;
        const std::int64_t number = static_cast<std::int64_t>(s.firstPageNumber) + pageCounter - 1;
        const QString text = StripControlChars(
            ReplacePageNumber(oddText ? s.oddFooterText : s.evenFooterText, number));
        const int margin = MmToPixels(s.footerIndentMm, dpi, zoom);
        const std::int64_t textWidth = canvas.TextWidth(text);
        std::int64_t left;
        if (s.footerCentred)
            left = (width - textWidth) / 2;
        else if (oddText)
            left = margin;
        else
            left = width - textWidth - margin;
        canvas.TextOut(ToCoord(left), ToCoord(static_cast<std::int64_t>(height) - B - th), text);
    }
    footerHeight = th + above + FixedMmToPixels(5, dpi, zoom);
    canvas.SelectFont(saved);
}

void PagePass::DrawFrame() {
    if (!s.pageFrame) return;
    canvas.SetPen(s.lineColour, FixedMmToPixels(1, dpi, zoom));
    const int Wc = width, Hc = height;
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    line(L, T / 2, Wc - R, T / 2);
    line(Wc - R / 2, T, Wc - R / 2, Hc - B);
    line(L, Hc - B / 2, Wc - R, Hc - B / 2);
    line(L / 2, T, L / 2, Hc - B);
    // Each corner is the quarter of the ellipse in the margins' corner
    // rectangle that faces the inside of the page.
    canvas.Arc(0, 0, L, T, L / 2, T, L, T / 2);
    canvas.Arc(Wc - R, 0, Wc, T, Wc - R, T / 2, Wc - R / 2, T);
    canvas.Arc(0, Hc - B, L, Hc, L, Hc - B / 2, L / 2, Hc - B);
    canvas.Arc(Wc - R, Hc - B, Wc, Hc, Wc - R / 2, Hc - B, Wc - R, Hc - B / 2);
}
