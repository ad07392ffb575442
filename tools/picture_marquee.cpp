// The five marquee drums: what to bet, then what the last spin won, each message drawn
// twice round the drum so it reads the right way up from the front.
#include "picture_families.h"
#include "picture_kit.h"

namespace {

constexpr Rgb8 kMarqueeBetOneBlue8{25, 55, 165};
constexpr Rgb8 kMarqueeBetFivePurple8{112, 38, 160};
constexpr Rgb8 kMarqueePairGreen8{20, 140, 80};
constexpr Rgb8 kMarqueeJackpotGold8{245, 185, 20};
constexpr Rgb8 kMarqueeNoWinRed8{150, 25, 35};

// ---------------------------------------------------------------------------------
// Marquee drums
// ---------------------------------------------------------------------------------
// At rest the drum shows the seam s = 0 to the viewer, with screen-right along
// decreasing s and screen-up along decreasing t: the picture is seen turned half a
// turn. The message is drawn turned half a turn, once centred on the seam (half at each
// edge) and once opposite, and squeezed sideways because the drum's front stretches a
// pixel of s about 2.7 times as wide as a pixel of t is high.

constexpr int kMarqueeCopies = 2;
constexpr double kMarqueeSqueeze = 0.42;
constexpr double kMarqueeBand = 10;         // rows of the lit band along each rim
constexpr double kMarqueeTextWidth = 0.33;  // of the drum: what the front shows at rest

struct MarqueeStyle {
    Colour background, band, text, outline, bulbLit, bulbDim;
};

void drawMarqueeCopy(cairo_t* cr, double cx, int w, int h, const MarqueeStyle& style, const char* const* lines,
                     int lineCount) {
    const double textBand = h - 2 * kMarqueeBand;
    const double maxWidth = kMarqueeTextWidth * w / kMarqueeSqueeze;
    double size = lineCount == 1 ? 0.84 * textBand : 0.5 * textBand;
    for (int i = 0; i < lineCount; ++i) size = fitFont(cr, lines[i], size, maxWidth);

    cairo_save(cr);
    cairo_translate(cr, cx, h / 2.0);
    cairo_scale(cr, -kMarqueeSqueeze, -1);  // half a turn, and the squeeze
    selectFont(cr, size);
    for (int i = 0; i < lineCount; ++i) {
        const double y = lineCount == 1 ? 0 : (i == 0 ? -0.26 : 0.26) * textBand;
        drawText(cr, lines[i], 0, y, style.text, &style.outline, size * 0.16);
    }
    cairo_restore(cr);
}

void drawMarquee(cairo_t* cr, int w, int h, const MarqueeStyle& style, const char* const* lines, int lineCount) {
    fillAll(cr, w, h, style.background);
    setColour(cr, style.band);
    cairo_rectangle(cr, 0, 0, w, kMarqueeBand);
    cairo_rectangle(cr, 0, h - kMarqueeBand, w, kMarqueeBand);
    cairo_fill(cr);

    // Bulbs every 32 pixels from the seam, so the pattern mirrors about s = 0.
    const double spacing = w / 16.0;
    bulbRow(cr, 0, w, kMarqueeBand / 2, spacing, 3.4, style.bulbLit, style.bulbDim);
    bulbRow(cr, 0, w, h - kMarqueeBand / 2, spacing, 3.4, style.bulbLit, style.bulbDim);

    for (int copy = 0; copy <= kMarqueeCopies; ++copy)
        drawMarqueeCopy(cr, copy * w / static_cast<double>(kMarqueeCopies), w, h, style, lines, lineCount);
}

const MarqueeStyle kMarqueeBetOneStyle{
    fromRgb8(kMarqueeBetOneBlue8), rgb(8, 18, 70), kGold, rgb(8, 18, 70), rgb(255, 240, 160), rgb(255, 150, 40)};
const MarqueeStyle kMarqueeBetFiveStyle{fromRgb8(kMarqueeBetFivePurple8),
                                        rgb(48, 10, 80),
                                        rgb(255, 236, 120),
                                        rgb(48, 10, 80),
                                        rgb(255, 240, 160),
                                        rgb(120, 220, 255)};
const MarqueeStyle kMarqueePairStyle{fromRgb8(kMarqueePairGreen8), rgb(4, 60, 30),    kWhite, rgb(4, 60, 30),
                                     rgb(255, 240, 160),           rgb(255, 120, 120)};
const MarqueeStyle kMarqueeJackpotStyle{fromRgb8(kMarqueeJackpotGold8),
                                        rgb(150, 24, 20),
                                        rgb(185, 16, 28),
                                        rgb(255, 248, 215),
                                        rgb(255, 255, 255),
                                        rgb(255, 110, 40)};
const MarqueeStyle kMarqueeNoWinStyle{fromRgb8(kMarqueeNoWinRed8), rgb(58, 8, 14),
                                      rgb(244, 240, 236),          rgb(58, 8, 14),
                                      rgb(255, 220, 150),          rgb(140, 140, 150)};

}  // namespace

const Rgb8 kMarqueeBackgrounds[kMarqueeCount] = {kMarqueeBetOneBlue8, kMarqueeBetFivePurple8, kMarqueePairGreen8,
                                                 kMarqueeJackpotGold8, kMarqueeNoWinRed8};

void drawMarqueeBetOne(cairo_t* cr, int w, int h) {
    const char* lines[] = {"BET 1 TOKEN"};
    drawMarquee(cr, w, h, kMarqueeBetOneStyle, lines, 1);
}

void drawMarqueeBetFive(cairo_t* cr, int w, int h) {
    const char* lines[] = {"BET 5 TOKENS"};
    drawMarquee(cr, w, h, kMarqueeBetFiveStyle, lines, 1);
}

void drawMarqueePair(cairo_t* cr, int w, int h) {
    const char* lines[] = {"PAIR!", "TICKETS WON"};
    drawMarquee(cr, w, h, kMarqueePairStyle, lines, 2);
}

void drawMarqueeJackpot(cairo_t* cr, int w, int h) {
    const char* lines[] = {"JACKPOT!", "TICKETS + TOKENS"};
    drawMarquee(cr, w, h, kMarqueeJackpotStyle, lines, 2);
}

void drawMarqueeNoWin(cairo_t* cr, int w, int h) {
    const char* lines[] = {"NO WIN", "TRY AGAIN"};
    drawMarquee(cr, w, h, kMarqueeNoWinStyle, lines, 2);
}
