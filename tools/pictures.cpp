// The drawing of the game's nineteen pictures with Cairo, one function per picture, and
// their table in texture-slot order. Each picture is drawn the way its piece wears it.
#include "pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------
// Palette
// ---------------------------------------------------------------------------------

struct Colour {
    double r, g, b;
};

constexpr Colour rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
constexpr Colour fromRgb8(Rgb8 c) { return rgb(c.r, c.g, c.b); }

constexpr Rgb8 kCherryRed8{215, 25, 35};
constexpr Rgb8 kBellGold8{250, 190, 20};
constexpr Rgb8 kSevenBlue8{30, 80, 220};
constexpr Rgb8 kBarGreen8{40, 165, 70};

constexpr Rgb8 kMarqueeBetOneBlue8{25, 55, 165};
constexpr Rgb8 kMarqueeBetFivePurple8{112, 38, 160};
constexpr Rgb8 kMarqueePairGreen8{20, 140, 80};
constexpr Rgb8 kMarqueeJackpotGold8{245, 185, 20};
constexpr Rgb8 kMarqueeNoWinRed8{150, 25, 35};

constexpr Colour kWhite = rgb(255, 255, 255);
constexpr Colour kInk = rgb(28, 26, 36);
constexpr Colour kCream = rgb(250, 244, 226);
constexpr Colour kCreamShade = rgb(228, 216, 188);
constexpr Colour kGold = rgb(255, 206, 54);
constexpr Colour kGoldPale = rgb(255, 236, 150);
constexpr Colour kGoldDark = rgb(160, 105, 15);
constexpr Colour kCabinetRed = rgb(150, 22, 38);
constexpr Colour kCabinetDeep = rgb(96, 12, 26);
constexpr Colour kCabinetDark = rgb(52, 6, 14);
constexpr Colour kChrome = rgb(206, 210, 220);
constexpr Colour kChromeDark = rgb(108, 112, 128);
constexpr Colour kNight = rgb(18, 22, 66);
constexpr Colour kNightDeep = rgb(4, 5, 22);
constexpr Colour kFelt = rgb(14, 96, 70);
constexpr Colour kFeltDark = rgb(5, 44, 32);

constexpr Colour kCherryRed = fromRgb8(kCherryRed8);
constexpr Colour kCherryDark = rgb(120, 8, 18);
constexpr Colour kStemGreen = rgb(50, 100, 30);
constexpr Colour kLeafGreen = rgb(70, 160, 45);
constexpr Colour kBellGold = fromRgb8(kBellGold8);
constexpr Colour kBellDark = rgb(165, 90, 0);
constexpr Colour kSevenBlue = fromRgb8(kSevenBlue8);
constexpr Colour kSevenNavy = rgb(10, 24, 96);
constexpr Colour kBarGreen = fromRgb8(kBarGreen8);
constexpr Colour kBarDark = rgb(0, 78, 30);

constexpr Colour kBetOneRed = rgb(205, 30, 40);
constexpr Colour kBetOneDark = rgb(110, 10, 20);
constexpr Colour kBetFiveBlue = rgb(35, 90, 215);
constexpr Colour kBetFiveDark = rgb(12, 35, 110);

constexpr Colour kSilver = rgb(214, 219, 228);
constexpr Colour kSilverDark = rgb(120, 126, 142);
constexpr Colour kDollarGold = rgb(245, 198, 64);
constexpr Colour kDollarGreen = rgb(60, 170, 90);
constexpr Colour kDollarGreenDark = rgb(16, 86, 40);

constexpr Colour kWinGreen = rgb(30, 150, 64);
constexpr Colour kWinGreenDark = rgb(8, 70, 28);
constexpr Colour kLoseRed = rgb(218, 36, 36);
constexpr Colour kLoseGrey = rgb(104, 104, 116);
constexpr Colour kLoseGreyDark = rgb(58, 58, 68);

constexpr Colour kConfetti[] = {rgb(255, 80, 80), rgb(255, 206, 54), rgb(90, 170, 255), rgb(255, 255, 255),
                                rgb(250, 120, 220)};

constexpr const char* kFontFace = "DejaVu Sans";

// ---------------------------------------------------------------------------------
// Drawing helpers
// ---------------------------------------------------------------------------------

// A small xorshift generator, so that scattered stars and confetti land in the same
// places on every run.
struct Scatter {
    uint32_t state;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state / 4294967296.0;
    }
    double between(double lo, double hi) { return lo + (hi - lo) * next(); }
};

void setColour(cairo_t* cr, Colour c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void fillAll(cairo_t* cr, int w, int h, Colour c) {
    setColour(cr, c);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
}

void verticalGradient(cairo_t* cr, double x, double y, double w, double h, Colour top, Colour bottom) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(pattern, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(pattern, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void radialFill(cairo_t* cr, double cx, double cy, double radius, Colour inner, Colour outer) {
    cairo_pattern_t* pattern = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(pattern, 0, inner.r, inner.g, inner.b);
    cairo_pattern_add_color_stop_rgb(pattern, 1, outer.r, outer.g, outer.b);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle = 0) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    circle(cr, 0, 0, 1);
    cairo_restore(cr);
}

void star(cairo_t* cr, double cx, double cy, double outer, double inner, int points = 5) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double radius = (i % 2 == 0) ? outer : inner;
        const double angle = -kPi / 2 + i * kPi / points;
        cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    }
    cairo_close_path(cr);
}

void fillStroke(cairo_t* cr, Colour fill, Colour line, double lineWidth) {
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, line);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
}

void selectFont(cairo_t* cr, double size, bool bold = true) {
    cairo_select_font_face(cr, kFontFace, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t* cr, const char* text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    return e.x_advance;
}

// Shrinks the current font until `text` is at most `maxWidth` wide; returns the size.
double fitFont(cairo_t* cr, const char* text, double size, double maxWidth, bool bold = true) {
    selectFont(cr, size, bold);
    const double width = textWidth(cr, text);
    if (width > maxWidth) {
        size *= maxWidth / width;
        selectFont(cr, size, bold);
    }
    return size;
}

enum class Align { Left, Centre };

// Adds the outline of `text` to the path with its ink box centred vertically on y, and
// centred on x or starting at x.
void textPath(cairo_t* cr, const char* text, double x, double y, Align align = Align::Centre) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    const double left = align == Align::Centre ? x - e.x_bearing - e.width / 2 : x - e.x_bearing;
    cairo_move_to(cr, left, y - e.y_bearing - e.height / 2);
    cairo_text_path(cr, text);
}

// Text in the current font with an optional outline drawn under the fill, so that the
// letters keep their full weight.
void drawText(cairo_t* cr, const char* text, double x, double y, Colour fill, const Colour* outline = nullptr,
              double outlineWidth = 0, Align align = Align::Centre) {
    cairo_new_path(cr);
    textPath(cr, text, x, y, align);
    if (outline != nullptr) {
        setColour(cr, *outline);
        cairo_set_line_width(cr, outlineWidth);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    setColour(cr, fill);
    cairo_fill(cr);
}

// A row of light bulbs from x0 to x1 at y, alternately lit and dim.
void bulbRow(cairo_t* cr, double x0, double x1, double y, double spacing, double radius, Colour lit, Colour dim) {
    const int count = static_cast<int>(std::floor((x1 - x0) / spacing + 1e-6)) + 1;
    for (int i = 0; i < count; ++i) {
        circle(cr, x0 + i * spacing, y, radius);
        setColour(cr, i % 2 == 0 ? lit : dim);
        cairo_fill(cr);
    }
}

void sparkle(cairo_t* cr, double cx, double cy, double size, Colour c) {
    setColour(cr, c);
    star(cr, cx, cy, size, size * 0.22, 4);
    cairo_fill(cr);
}

void starField(cairo_t* cr, int w, int h, uint32_t seed, int count) {
    Scatter scatter{seed};
    for (int i = 0; i < count; ++i) {
        const double x = scatter.between(0, w);
        const double y = scatter.between(0, h);
        const double size = scatter.between(0.6, 1.9);
        const double glow = scatter.between(0.55, 1.0);
        if (size > 1.7) {
            sparkle(cr, x, y, size * 3.2, {glow, glow, 1.0});
        } else {
            circle(cr, x, y, size);
            cairo_set_source_rgb(cr, glow, glow, std::min(1.0, glow + 0.15));
            cairo_fill(cr);
        }
    }
}

// ---------------------------------------------------------------------------------
// Reel strip
// ---------------------------------------------------------------------------------
// s runs around the drum and t across it; on the front of a reel screen-up is
// decreasing s and screen-right is increasing t. Each symbol is drawn in its own
// upright frame, u to the right and v down, from -1 to 1 both ways, then turned a
// quarter turn counter-clockwise into the strip. The two half sizes are chosen so that
// the symbol comes out about square on screen: a pixel around the drum is about 1.6
// times as long on screen as a pixel across it.

constexpr double kSymbolHalfAcross = 56;  // pixels of t
constexpr double kSymbolHalfAround = 37;  // pixels of s: the symbol spans about 52 degrees

void drawCherrySymbol(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, kStemGreen);
    cairo_set_line_width(cr, 0.1);
    cairo_move_to(cr, -0.15, -0.3);
    cairo_curve_to(cr, -0.12, -0.65, 0.02, -0.82, 0.2, -0.9);
    cairo_move_to(cr, 0.48, -0.1);
    cairo_curve_to(cr, 0.45, -0.45, 0.35, -0.75, 0.2, -0.9);
    cairo_stroke(cr);
    ellipse(cr, 0.5, -0.8, 0.3, 0.13, -0.35);
    fillStroke(cr, kLeafGreen, kStemGreen, 0.05);

    circle(cr, 0.48, 0.36, 0.46);
    fillStroke(cr, kCherryRed, kCherryDark, 0.07);
    circle(cr, -0.15, 0.3, 0.62);
    fillStroke(cr, kCherryRed, kCherryDark, 0.07);

    setColour(cr, kWhite);
    ellipse(cr, -0.5, 0.05, 0.1, 0.16, 0.5);
    ellipse(cr, 0.3, 0.12, 0.06, 0.1, 0.5);
    cairo_fill(cr);
}

void drawBellSymbol(cairo_t* cr) {
    circle(cr, 0, -0.84, 0.11);
    fillStroke(cr, kBellGold, kBellDark, 0.06);

    cairo_move_to(cr, 0, -0.76);
    cairo_curve_to(cr, -0.5, -0.76, -0.56, -0.3, -0.58, 0.12);
    cairo_curve_to(cr, -0.6, 0.42, -0.82, 0.5, -0.9, 0.62);
    cairo_line_to(cr, 0.9, 0.62);
    cairo_curve_to(cr, 0.82, 0.5, 0.6, 0.42, 0.58, 0.12);
    cairo_curve_to(cr, 0.56, -0.3, 0.5, -0.76, 0, -0.76);
    cairo_close_path(cr);
    fillStroke(cr, kBellGold, kBellDark, 0.07);

    circle(cr, 0, 0.78, 0.15);
    fillStroke(cr, kBellDark, kBellDark, 0.04);
    roundedRect(cr, -0.94, 0.56, 1.88, 0.16, 0.07);
    fillStroke(cr, kBellGold, kBellDark, 0.06);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, kGoldPale);
    cairo_set_line_width(cr, 0.11);
    cairo_move_to(cr, -0.28, -0.55);
    cairo_curve_to(cr, -0.38, -0.3, -0.4, 0.05, -0.46, 0.36);
    cairo_stroke(cr);
}

void drawSevenSymbol(cairo_t* cr) {
    cairo_move_to(cr, -0.8, -0.92);
    cairo_line_to(cr, 0.66, -0.92);
    cairo_line_to(cr, 0.66, -0.62);
    cairo_line_to(cr, -0.15, 0.92);
    cairo_line_to(cr, -0.75, 0.92);
    cairo_line_to(cr, -0.03, -0.55);
    cairo_line_to(cr, -0.8, -0.55);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, kWhite);
    cairo_set_line_width(cr, 0.2);
    cairo_stroke_preserve(cr);
    fillStroke(cr, kSevenBlue, kSevenNavy, 0.08);
}

void drawBarSymbol(cairo_t* cr) {
    roundedRect(cr, -0.95, -0.56, 1.9, 1.12, 0.22);
    fillStroke(cr, kBarGreen, kBarDark, 0.09);
    roundedRect(cr, -0.82, -0.44, 1.64, 0.88, 0.14);
    setColour(cr, kBarDark);
    cairo_set_line_width(cr, 0.04);
    cairo_stroke(cr);
    fitFont(cr, "BAR", 0.8, 1.45);
    drawText(cr, "BAR", 0, 0, kBarDark);
}

using DrawSymbol = void (*)(cairo_t*);

// In the order of the stops: 25, 135, 215 and 305 degrees.
constexpr DrawSymbol kReelSymbols[kReelStopCount] = {drawCherrySymbol, drawBellSymbol, drawSevenSymbol, drawBarSymbol};

void drawReelStrip(cairo_t* cr, int w, int h) {
    fillAll(cr, w, h, kCream);

    // Faint dividers halfway between neighbouring symbols, around the drum.
    std::array<double, kReelStopCount> columns{};
    for (int i = 0; i < kReelStopCount; ++i) columns[i] = reelColumnFacingViewer(kReelStopDegrees[i]);
    std::sort(columns.begin(), columns.end());
    setColour(cr, kCreamShade);
    cairo_set_line_width(cr, 3);
    for (int i = 0; i < kReelStopCount; ++i) {
        const double next = i + 1 < kReelStopCount ? columns[i + 1] : columns[0] + 1;
        const double middle = std::fmod((columns[i] + next) / 2, 1.0);
        cairo_move_to(cr, middle * w, 12);
        cairo_line_to(cr, middle * w, h - 12);
    }
    cairo_stroke(cr);

    // Gold bands along both ends of the drum.
    setColour(cr, kGold);
    cairo_rectangle(cr, 0, 0, w, 6);
    cairo_rectangle(cr, 0, h - 6, w, 6);
    cairo_fill(cr);
    setColour(cr, kGoldDark);
    cairo_rectangle(cr, 0, 6, w, 2);
    cairo_rectangle(cr, 0, h - 8, w, 2);
    cairo_fill(cr);

    for (int i = 0; i < kReelStopCount; ++i) {
        cairo_save(cr);
        cairo_translate(cr, reelColumnFacingViewer(kReelStopDegrees[i]) * w, h / 2.0);
        cairo_rotate(cr, -kPi / 2);  // the symbol's top towards the strip's left edge
        cairo_scale(cr, kSymbolHalfAcross * h / 128.0, kSymbolHalfAround * w / 512.0);
        kReelSymbols[i](cr);
        cairo_restore(cr);
    }
}

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

// ---------------------------------------------------------------------------------
// Spheres: bet buttons and dollar coins
// ---------------------------------------------------------------------------------
// The front of the sphere is the picture's centre, upright, and only the middle half
// of the width faces the viewer. Labels are drawn in a frame squeezed to half width,
// where the visible disc is a circle of radius h / 2 round the centre.

void beginSphereFront(cairo_t* cr, int w, int h) {
    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h / 2.0);
    cairo_scale(cr, 0.5 * w / h, 1);
}

void sphereBands(cairo_t* cr, int w, int h, Colour c) {
    setColour(cr, c);
    cairo_rectangle(cr, 0, 0, w, h * 0.07);
    cairo_rectangle(cr, 0, h * 0.93, w, h * 0.07);
    cairo_fill(cr);
}

void drawBetButton(cairo_t* cr, int w, int h, Colour base, Colour dark, const char* digit) {
    fillAll(cr, w, h, base);
    sphereBands(cr, w, h, dark);
    const double r = h / 2.0;
    beginSphereFront(cr, w, h);
    circle(cr, 0, 0, r * 0.8);
    setColour(cr, kWhite);
    cairo_set_line_width(cr, r * 0.07);
    cairo_stroke(cr);
    selectFont(cr, r * 0.38);
    drawText(cr, "BET", 0, -r * 0.42, kWhite, &dark, r * 0.06);
    selectFont(cr, r * 0.92);
    drawText(cr, digit, 0, r * 0.22, kWhite, &dark, r * 0.08);
    cairo_restore(cr);
}

void drawBetOneButton(cairo_t* cr, int w, int h) { drawBetButton(cr, w, h, kBetOneRed, kBetOneDark, "1"); }
void drawBetFiveButton(cairo_t* cr, int w, int h) { drawBetButton(cr, w, h, kBetFiveBlue, kBetFiveDark, "5"); }

void drawDollarCoin(cairo_t* cr, int w, int h, Colour face, Colour rim, Colour ink, Colour inkOutline,
                    const char* label) {
    fillAll(cr, w, h, face);
    sphereBands(cr, w, h, rim);
    const double r = h / 2.0;
    beginSphereFront(cr, w, h);
    // A milled ring of dots round the face.
    setColour(cr, rim);
    for (int i = 0; i < 36; ++i) {
        const double angle = i * 2 * kPi / 36;
        circle(cr, r * 0.82 * std::cos(angle), r * 0.82 * std::sin(angle), r * 0.035);
    }
    cairo_fill(cr);
    fitFont(cr, label, r * 0.95, r * 1.35);
    drawText(cr, label, 0, 0, ink, &inkOutline, r * 0.07);
    cairo_restore(cr);
}

void drawDollarOne(cairo_t* cr, int w, int h) {
    drawDollarCoin(cr, w, h, kSilver, kSilverDark, rgb(34, 40, 58), kWhite, "$1");
}
void drawDollarTwo(cairo_t* cr, int w, int h) {
    drawDollarCoin(cr, w, h, kDollarGold, kGoldDark, rgb(96, 52, 0), kGoldPale, "$2");
}
void drawDollarFive(cairo_t* cr, int w, int h) {
    drawDollarCoin(cr, w, h, kDollarGreen, kDollarGreenDark, kWhite, kDollarGreenDark, "$5");
}

// ---------------------------------------------------------------------------------
// Status bar: token coin and ticket stub
// ---------------------------------------------------------------------------------

// The whole square maps onto the disk and the gold material tints it, so the face is
// drawn near white and the rim a darker gold to read as embossed.
void drawTokenCoin(cairo_t* cr, int w, int h) {
    const double cx = w / 2.0, cy = h / 2.0, r = std::min(w, h) / 2.0;
    fillAll(cr, w, h, rgb(176, 126, 40));
    circle(cr, cx, cy, r * 0.97);
    setColour(cr, rgb(214, 166, 70));
    cairo_fill(cr);
    setColour(cr, rgb(150, 100, 24));
    cairo_set_line_width(cr, r * 0.03);
    for (int i = 0; i < 48; ++i) {
        const double angle = i * 2 * kPi / 48;
        cairo_move_to(cr, cx + r * 0.86 * std::cos(angle), cy + r * 0.86 * std::sin(angle));
        cairo_line_to(cr, cx + r * 0.96 * std::cos(angle), cy + r * 0.96 * std::sin(angle));
    }
    cairo_stroke(cr);
    circle(cr, cx, cy, r * 0.84);
    radialFill(cr, cx - r * 0.25, cy - r * 0.3, r * 1.1, rgb(255, 253, 236), rgb(240, 222, 160));
    circle(cr, cx, cy, r * 0.84);
    setColour(cr, rgb(190, 140, 50));
    cairo_set_line_width(cr, r * 0.05);
    cairo_stroke(cr);
    star(cr, cx, cy + r * 0.04, r * 0.58, r * 0.24);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    fillStroke(cr, rgb(255, 240, 170), rgb(170, 118, 30), r * 0.06);
}

// The stub is tinted by (0, 0.5, 1), so it is drawn in greys and comes out blue. On
// screen it stands twice as high as wide.
void drawTicket(cairo_t* cr, int w, int h) {
    fillAll(cr, w, h, rgb(255, 255, 255));
    const Colour line = rgb(120, 120, 120);
    const Colour mark = rgb(70, 70, 70);
    const double inset = w * 0.08;
    roundedRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, w * 0.08);
    setColour(cr, line);
    cairo_set_line_width(cr, w * 0.045);
    cairo_stroke(cr);

    // The tear line of perforations near the top, with the star on the stub above it.
    const double tear = h * 0.27;
    setColour(cr, mark);
    for (int i = 0; i < 7; ++i) circle(cr, w * (0.17 + i * 0.11), tear, w * 0.028);
    cairo_fill(cr);
    star(cr, w / 2.0, h * 0.155, w * 0.2, w * 0.085);
    setColour(cr, mark);
    cairo_fill(cr);

    cairo_save(cr);
    cairo_translate(cr, w / 2.0, h * 0.63);
    cairo_rotate(cr, -kPi / 2);  // reads bottom to top along the stub
    fitFont(cr, "TICKET", w * 0.5, h * 0.56);
    drawText(cr, "TICKET", 0, 0, mark);
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------------
// Menu panel
// ---------------------------------------------------------------------------------

void drawMenu(cairo_t* cr, int w, int h) {
    verticalGradient(cr, 0, 0, w, h, rgb(30, 34, 84), rgb(12, 14, 40));
    roundedRect(cr, 6, 6, w - 12, h - 12, 14);
    setColour(cr, kGold);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    roundedRect(cr, 13, 13, w - 26, h - 26, 9);
    setColour(cr, kGoldDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);

    const double sx = w / 256.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);
    selectFont(cr, 38);
    drawText(cr, "MENU", 128, 46, kGold, &kCabinetDark, 5);

    struct KeyLine {
        const char* key;
        const char* what;
    };
    const KeyLine keys[] = {{"A", "axes on/off"},   {"P", "slot machine"}, {"S", "prize counter"},
                            {"T", "token counter"}, {"V", "switch view"},  {"Q", "quit"}};
    double y = 98;
    for (const KeyLine& line : keys) {
        roundedRect(cr, 24, y - 17, 34, 34, 7);
        fillStroke(cr, kCream, kGoldDark, 2.5);
        selectFont(cr, 23);
        drawText(cr, line.key, 41, y, kInk);
        fitFont(cr, line.what, 20, 168);
        drawText(cr, line.what, 70, y, kCream, nullptr, 0, Align::Left);
        y += 43;
    }

    setColour(cr, kGoldDark);
    cairo_rectangle(cr, 24, 356, 208, 2);
    cairo_fill(cr);
    selectFont(cr, 23);
    drawText(cr, "HOW TO PLAY", 128, 380, kGold);
    const char* howTo[] = {"Click BET 1 or BET 5", "Pull the lever: again", "Pair: tickets", "Three: tickets + tokens"};
    y = 412;
    for (const char* text : howTo) {
        fitFont(cr, text, 18, 212, false);
        drawText(cr, text, 128, y, kWhite);
        y += 25;
    }
    cairo_restore(cr);
}

// ---------------------------------------------------------------------------------
// Verdict signs
// ---------------------------------------------------------------------------------

void signFrame(cairo_t* cr, int w, int h, Colour border, Colour bulbLit, Colour bulbDim) {
    roundedRect(cr, 5, 5, w - 10, h - 10, 18);
    setColour(cr, border);
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    bulbRow(cr, 30, w - 30, 5, 26, 4, bulbLit, bulbDim);
    bulbRow(cr, 30, w - 30, h - 5, 26, 4, bulbLit, bulbDim);
}

void drawWinnerSign(cairo_t* cr, int w, int h) {
    fillAll(cr, w, h, kWinGreenDark);
    cairo_rectangle(cr, 0, 0, w, h);
    radialFill(cr, w / 2.0, h / 2.0, w * 0.6, kWinGreen, kWinGreenDark);

    // Confetti round the edges only, clear of the lettering.
    Scatter scatter{0x5EED0001u};
    for (int placed = 0; placed < 44;) {
        const double x = scatter.between(14, w - 14), y = scatter.between(14, h - 14);
        if (x > w * 0.1 && x < w * 0.9 && y > h * 0.16 && y < h * 0.92) continue;
        ++placed;
        const Colour c = kConfetti[static_cast<int>(scatter.next() * 5) % 5];
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, scatter.between(0, kPi));
        cairo_rectangle(cr, -5, -2, 10, 4);
        setColour(cr, c);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    sparkle(cr, w * 0.08, h * 0.22, 16, kGoldPale);
    sparkle(cr, w * 0.92, h * 0.22, 16, kGoldPale);
    sparkle(cr, w * 0.07, h * 0.78, 12, kWhite);
    sparkle(cr, w * 0.93, h * 0.78, 12, kWhite);
    signFrame(cr, w, h, kGold, kWhite, rgb(255, 150, 40));

    const Colour outline = rgb(80, 40, 0);
    fitFont(cr, "WINNER!", h * 0.55, w * 0.82);
    drawText(cr, "WINNER!", w / 2.0, h * 0.44, kGold, &outline, h * 0.045);
    fitFont(cr, "YOU WIN A PRIZE!", h * 0.13, w * 0.7);
    drawText(cr, "YOU WIN A PRIZE!", w / 2.0, h * 0.79, kWhite, &kWinGreenDark, h * 0.02);
}

void drawLoserSign(cairo_t* cr, int w, int h) {
    verticalGradient(cr, 0, 0, w, h, kLoseGrey, kLoseGreyDark);
    signFrame(cr, w, h, kLoseRed, rgb(255, 190, 190), rgb(120, 30, 30));

    fitFont(cr, "LOSER", h * 0.46, w * 0.7);
    drawText(cr, "LOSER", w / 2.0, h * 0.35, kLoseRed, &kWhite, h * 0.035);
    fitFont(cr, "Not enough tickets", h * 0.13, w * 0.82);
    drawText(cr, "Not enough tickets", w / 2.0, h * 0.67, rgb(238, 238, 242));
    fitFont(cr, "5 needed", h * 0.13, w * 0.5);
    drawText(cr, "5 needed", w / 2.0, h * 0.83, rgb(255, 210, 90));
}

// ---------------------------------------------------------------------------------
// Backdrops
// ---------------------------------------------------------------------------------
// Positions below are fractions of the plate: x from the left, y from the top.

// The machine's front. The reel window, the marquee drum, the coin slot, the bet
// buttons and the lever are drawn in front of this plate; the face leaves room for each.
void drawCabinet(cairo_t* cr, int w, int h) {
    const double sx = w / 512.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);

    fillAll(cr, 512, 512, kCabinetDark);
    roundedRect(cr, 8, 8, 496, 496, 26);
    cairo_pattern_t* body = cairo_pattern_create_linear(8, 0, 504, 0);
    cairo_pattern_add_color_stop_rgb(body, 0, kCabinetDeep.r, kCabinetDeep.g, kCabinetDeep.b);
    cairo_pattern_add_color_stop_rgb(body, 0.5, kCabinetRed.r, kCabinetRed.g, kCabinetRed.b);
    cairo_pattern_add_color_stop_rgb(body, 1, kCabinetDeep.r, kCabinetDeep.g, kCabinetDeep.b);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    setColour(cr, kGold);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);

    // Chrome pillars down both sides.
    for (double x : {24.0, 476.0}) {
        roundedRect(cr, x, 120, 12, 370, 6);
        fillStroke(cr, kChrome, kChromeDark, 2);
    }

    // Title panel with its ring of bulbs.
    // Title panel with its ring of bulbs, kept above the marquee drum, whose front
    // stands well out of the plate and hides what lies close above it.
    roundedRect(cr, 56, 14, 400, 72, 16);
    fillStroke(cr, kCabinetDark, kGold, 4);
    bulbRow(cr, 76, 436, 23, 24, 3.5, kGoldPale, rgb(255, 140, 40));
    bulbRow(cr, 76, 436, 77, 24, 3.5, kGoldPale, rgb(255, 140, 40));
    selectFont(cr, 48);
    const Colour titleOutline = rgb(120, 20, 10);
    drawText(cr, "SLOTS", 256, 50, kGold, &titleOutline, 6);
    sparkle(cr, 120, 50, 16, kGoldPale);
    sparkle(cr, 392, 50, 16, kGoldPale);

    // Housing behind the marquee drum, then the bezel round the reel window.
    roundedRect(cr, 100, 118, 312, 52, 10);
    fillStroke(cr, rgb(34, 30, 44), kChromeDark, 3);
    roundedRect(cr, 90, 172, 332, 170, 14);
    cairo_pattern_t* bezel = cairo_pattern_create_linear(0, 172, 0, 342);
    cairo_pattern_add_color_stop_rgb(bezel, 0, kChrome.r, kChrome.g, kChrome.b);
    cairo_pattern_add_color_stop_rgb(bezel, 1, kChromeDark.r, kChromeDark.g, kChromeDark.b);
    cairo_set_source(cr, bezel);
    cairo_fill(cr);
    cairo_pattern_destroy(bezel);
    cairo_rectangle(cr, 104, 178, 304, 158);
    setColour(cr, kInk);
    cairo_fill(cr);

    // Lower panel: coin slot on the left, bet buttons in the middle, the lever's mount
    // on the right.
    roundedRect(cr, 56, 352, 400, 140, 16);
    fillStroke(cr, kCabinetDeep, kGold, 3);
    roundedRect(cr, 110, 360, 96, 32, 6);
    fillStroke(cr, kCabinetDark, kChromeDark, 2);
    selectFont(cr, 14);
    drawText(cr, "INSERT COIN", 158, 408, kGoldPale);
    selectFont(cr, 15);
    drawText(cr, "PLACE YOUR BET", 310, 382, kGoldPale);
    for (double x : {276.0, 344.0}) {
        circle(cr, x, 433, 33);
        fillStroke(cr, kCabinetDark, kChromeDark, 3);
    }
    selectFont(cr, 13);
    drawText(cr, "BET 1", 276, 478, kCream);
    drawText(cr, "BET 5", 344, 478, kCream);
    sparkle(cr, 92, 460, 10, kGoldPale);
    sparkle(cr, 206, 462, 8, kGoldPale);

    roundedRect(cr, 456, 150, 16, 312, 8);
    fillStroke(cr, kCabinetDark, kChromeDark, 2);
    circle(cr, 464, 457, 20);
    fillStroke(cr, kChrome, kChromeDark, 3);
    cairo_restore(cr);
}

void shelf(cairo_t* cr, double x, double y, double w) {
    cairo_rectangle(cr, x, y, w, 8);
    setColour(cr, rgb(150, 160, 190));
    cairo_fill(cr);
    cairo_rectangle(cr, x, y + 8, w, 4);
    setColour(cr, rgb(70, 76, 110));
    cairo_fill(cr);
}

void rocketPrize(cairo_t* cr, double x, double base) {
    cairo_move_to(cr, x, base - 64);
    cairo_curve_to(cr, x + 16, base - 50, x + 14, base - 22, x + 11, base - 10);
    cairo_line_to(cr, x - 11, base - 10);
    cairo_curve_to(cr, x - 14, base - 22, x - 16, base - 50, x, base - 64);
    cairo_close_path(cr);
    fillStroke(cr, rgb(235, 238, 245), rgb(90, 96, 120), 2);
    cairo_move_to(cr, x - 11, base - 26);
    cairo_line_to(cr, x - 22, base);
    cairo_line_to(cr, x - 10, base - 10);
    cairo_move_to(cr, x + 11, base - 26);
    cairo_line_to(cr, x + 22, base);
    cairo_line_to(cr, x + 10, base - 10);
    setColour(cr, rgb(220, 40, 50));
    cairo_fill(cr);
    circle(cr, x, base - 40, 6);
    fillStroke(cr, rgb(90, 190, 255), rgb(40, 60, 110), 2);
}

void alienPrize(cairo_t* cr, double x, double base) {
    ellipse(cr, x, base - 24, 22, 24);
    fillStroke(cr, rgb(110, 220, 90), rgb(30, 110, 40), 2);
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, x + side * 8, base - 44);
        cairo_line_to(cr, x + side * 14, base - 60);
        setColour(cr, rgb(30, 110, 40));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        circle(cr, x + side * 14, base - 60, 4);
        setColour(cr, kGold);
        cairo_fill(cr);
        ellipse(cr, x + side * 8, base - 28, 5, 7);
        setColour(cr, kInk);
        cairo_fill(cr);
    }
}

void planetPrize(cairo_t* cr, double x, double base, Colour body) {
    circle(cr, x, base - 22, 20);
    radialFill(cr, x - 7, base - 30, 28, kWhite, body);
    ellipse(cr, x, base - 22, 34, 8, -0.25);
    setColour(cr, kGoldPale);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void robotPrize(cairo_t* cr, double x, double base) {
    roundedRect(cr, x - 16, base - 34, 32, 34, 4);
    fillStroke(cr, kChrome, kChromeDark, 2);
    roundedRect(cr, x - 13, base - 58, 26, 22, 5);
    fillStroke(cr, kChrome, kChromeDark, 2);
    setColour(cr, rgb(255, 80, 60));
    circle(cr, x - 6, base - 47, 3.5);
    circle(cr, x + 6, base - 47, 3.5);
    cairo_fill(cr);
    cairo_move_to(cr, x, base - 58);
    cairo_line_to(cr, x, base - 66);
    setColour(cr, kChromeDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    circle(cr, x, base - 67, 3);
    setColour(cr, kGold);
    cairo_fill(cr);
}

void giftPrize(cairo_t* cr, double x, double base, Colour box) {
    cairo_rectangle(cr, x - 18, base - 32, 36, 32);
    fillStroke(cr, box, kInk, 1.5);
    setColour(cr, kGold);
    cairo_rectangle(cr, x - 3, base - 32, 6, 32);
    cairo_rectangle(cr, x - 18, base - 19, 36, 6);
    cairo_fill(cr);
    ellipse(cr, x - 7, base - 36, 7, 4, 0.4);
    ellipse(cr, x + 7, base - 36, 7, 4, -0.4);
    cairo_fill(cr);
}

void ufoPrize(cairo_t* cr, double x, double base) {
    ellipse(cr, x, base - 30, 12, 10);
    fillStroke(cr, rgb(140, 220, 255), rgb(40, 70, 120), 2);
    ellipse(cr, x, base - 20, 28, 8);
    fillStroke(cr, kChrome, kChromeDark, 2);
    setColour(cr, kGold);
    for (int i = -2; i <= 2; ++i) circle(cr, x + i * 10, base - 19, 2.2);
    cairo_fill(cr);
}

// A space-themed prize store: the sign stands on the counter in the middle and the
// prize ball bounces above it, so the centre stays clear.
void drawPrizeStore(cairo_t* cr, int w, int h) {
    const double sx = w / 512.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);

    verticalGradient(cr, 0, 0, 512, 512, kNightDeep, kNight);
    starField(cr, 512, 400, 0x5EED0017u, 170);
    circle(cr, 300, 150, 70);
    radialFill(cr, 280, 130, 110, rgb(70, 40, 120), rgb(18, 22, 66));

    // Title banner.
    roundedRect(cr, 40, 16, 432, 86, 18);
    fillStroke(cr, rgb(40, 20, 90), kGold, 4);
    fitFont(cr, "PRIZE COUNTER", 46, 400);
    const Colour titleOutline = rgb(110, 30, 10);
    drawText(cr, "PRIZE COUNTER", 256, 50, kGold, &titleOutline, 6);
    selectFont(cr, 17);
    drawText(cr, "5 TICKETS WIN A PRIZE", 256, 86, kCream);

    // Shelves of prizes up both walls.
    for (double y : {208.0, 308.0, 400.0}) {
        shelf(cr, 14, y, 150);
        shelf(cr, 348, y, 150);
    }
    rocketPrize(cr, 50, 208);
    alienPrize(cr, 118, 208);
    planetPrize(cr, 394, 208, rgb(240, 140, 60));
    ufoPrize(cr, 462, 208);
    robotPrize(cr, 52, 308);
    giftPrize(cr, 120, 308, rgb(200, 40, 120));
    rocketPrize(cr, 390, 308);
    alienPrize(cr, 458, 308);
    planetPrize(cr, 50, 400, rgb(90, 160, 255));
    giftPrize(cr, 122, 400, rgb(40, 170, 120));
    robotPrize(cr, 392, 400);
    planetPrize(cr, 460, 400, rgb(220, 90, 200));

    // The counter along the bottom.
    cairo_pattern_t* counter = cairo_pattern_create_linear(0, 420, 0, 512);
    cairo_pattern_add_color_stop_rgb(counter, 0, 0.42, 0.18, 0.62);
    cairo_pattern_add_color_stop_rgb(counter, 1, 0.16, 0.05, 0.28);
    cairo_set_source(cr, counter);
    cairo_rectangle(cr, 0, 420, 512, 92);
    cairo_fill(cr);
    cairo_pattern_destroy(counter);
    cairo_rectangle(cr, 0, 414, 512, 8);
    setColour(cr, kChrome);
    cairo_fill(cr);
    for (int i = 0; i < 8; ++i) sparkle(cr, 32 + 64 * i, 470, 7, kGoldPale);
    cairo_restore(cr);
}

// The token counter: three dollar coins stand in a column left of centre, each with
// what it buys beside it.
void drawTokenCounter(cairo_t* cr, int w, int h) {
    const double sx = w / 512.0, sy = h / 512.0;
    cairo_save(cr);
    cairo_scale(cr, sx, sy);

    cairo_rectangle(cr, 0, 0, 512, 512);
    radialFill(cr, 256, 280, 380, kFelt, kFeltDark);
    roundedRect(cr, 8, 8, 496, 496, 24);
    setColour(cr, kGold);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);

    roundedRect(cr, 40, 22, 432, 92, 18);
    fillStroke(cr, kFeltDark, kGold, 4);
    fitFont(cr, "TOKEN COUNTER", 46, 400);
    const Colour titleOutline = rgb(90, 50, 0);
    drawText(cr, "TOKEN COUNTER", 256, 56, kGold, &titleOutline, 6);
    fitFont(cr, "click a coin to buy tokens", 20, 400, false);
    drawText(cr, "click a coin to buy tokens", 256, 94, kCream);

    struct CoinRow {
        double y;
        const char* label;
        int tokens;
    };
    // Coin centres on the plate: the three coins sit at x = 0.322 and y = 0.39, 0.56
    // and 0.72 of it.
    const CoinRow rows[] = {{200, "1 TOKEN", 1}, {287, "2 TOKENS", 2}, {369, "5 TOKENS", 5}};
    for (const CoinRow& row : rows) {
        circle(cr, 165, row.y, 34);
        fillStroke(cr, kFeltDark, kGold, 3);
        roundedRect(cr, 210, row.y - 26, 268, 52, 12);
        fillStroke(cr, rgb(10, 60, 44), kGoldDark, 2);
        selectFont(cr, 24);
        drawText(cr, row.label, 224, row.y, kCream, nullptr, 0, Align::Left);
        for (int i = 0; i < row.tokens; ++i) {
            circle(cr, 460 - i * 20, row.y, 8);
            fillStroke(cr, kGold, kGoldDark, 2);
        }
    }
    fitFont(cr, "sold while you hold 10 or fewer", 17, 420, false);
    drawText(cr, "sold while you hold 10 or fewer", 256, 452, kGoldPale);
    cairo_restore(cr);
}

}  // namespace

// ---------------------------------------------------------------------------------
// Table and rendering
// ---------------------------------------------------------------------------------

const double kReelStopDegrees[kReelStopCount] = {25, 135, 215, 305};
const Rgb8 kReelSymbolColours[kReelStopCount] = {kCherryRed8, kBellGold8, kSevenBlue8, kBarGreen8};
const Rgb8 kMarqueeBackgrounds[kMarqueeCount] = {kMarqueeBetOneBlue8, kMarqueeBetFivePurple8, kMarqueePairGreen8,
                                                 kMarqueeJackpotGold8, kMarqueeNoWinRed8};

const PictureEntry kPictures[kPictureCount] = {
    {"slotbackground.bmp", 512, 512, drawCabinet},
    {"slot.bmp", 512, 128, drawReelStrip},
    {"betone.bmp", 256, 256, drawBetOneButton},
    {"betfive.bmp", 256, 256, drawBetFiveButton},
    {"marqone.bmp", 512, 64, drawMarqueeBetOne},
    {"marqfive.bmp", 512, 64, drawMarqueeBetFive},
    {"wintwo.bmp", 512, 64, drawMarqueePair},
    {"winthree.bmp", 512, 64, drawMarqueeJackpot},
    {"winzero.bmp", 512, 64, drawMarqueeNoWin},
    {"coin.bmp", 256, 256, drawTokenCoin},
    {"ticket.bmp", 128, 256, drawTicket},
    {"menu.bmp", 256, 512, drawMenu},
    {"tokenbackground.bmp", 512, 512, drawTokenCounter},
    {"dollarone.bmp", 256, 256, drawDollarOne},
    {"dollartwo.bmp", 256, 256, drawDollarTwo},
    {"dollarfive.bmp", 256, 256, drawDollarFive},
    {"spacestore.bmp", 512, 512, drawPrizeStore},
    {"winner.bmp", 512, 256, drawWinnerSign},
    {"loser.bmp", 512, 256, drawLoserSign},
};

double reelColumnFacingViewer(double degrees) {
    const double s = (450 - degrees) / 360;
    return s - std::floor(s);
}

std::vector<uint8_t> renderPictureRgb(const PictureEntry& picture, std::string& error) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
    picture.draw(cr, picture.width, picture.height);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);

    std::vector<uint8_t> rgb;
    if (status != CAIRO_STATUS_SUCCESS) {
        error = cairo_status_to_string(status);
    } else {
        // RGB24 keeps each pixel as a native 32-bit word 0x00RRGGBB.
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
        size_t out = 0;
        for (int y = 0; y < picture.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
            for (int x = 0; x < picture.width; ++x) {
                rgb[out++] = static_cast<uint8_t>((row[x] >> 16) & 0xFF);
                rgb[out++] = static_cast<uint8_t>((row[x] >> 8) & 0xFF);
                rgb[out++] = static_cast<uint8_t>(row[x] & 0xFF);
            }
        }
    }
    cairo_surface_destroy(surface);
    return rgb;
}
