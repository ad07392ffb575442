// The reel strip and its four symbols, cherry, bell, seven and bar, placed so that each
// faces the viewer at its reel stop.
#include <algorithm>
#include <array>
#include <cmath>

#include "picture_families.h"
#include "picture_kit.h"

namespace {

constexpr Rgb8 kCherryRed8{215, 25, 35};
constexpr Rgb8 kBellGold8{250, 190, 20};
constexpr Rgb8 kSevenBlue8{30, 80, 220};
constexpr Rgb8 kBarGreen8{40, 165, 70};

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

}  // namespace

const double kReelStopDegrees[kReelStopCount] = {25, 135, 215, 305};
const Rgb8 kReelSymbolColours[kReelStopCount] = {kCherryRed8, kBellGold8, kSevenBlue8, kBarGreen8};

double reelColumnFacingViewer(double degrees) {
    const double s = (450 - degrees) / 360;
    return s - std::floor(s);
}

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
