// The round things: the bet buttons and dollar coins worn by spheres, and the status
// bar's token coin and ticket stub.
#include <algorithm>
#include <cmath>

#include "picture_families.h"
#include "picture_kit.h"

namespace {

constexpr Colour kBetOneRed = rgb(205, 30, 40);
constexpr Colour kBetOneDark = rgb(110, 10, 20);
constexpr Colour kBetFiveBlue = rgb(35, 90, 215);
constexpr Colour kBetFiveDark = rgb(12, 35, 110);

constexpr Colour kSilver = rgb(214, 219, 228);
constexpr Colour kSilverDark = rgb(120, 126, 142);
constexpr Colour kDollarGold = rgb(245, 198, 64);
constexpr Colour kDollarGreen = rgb(60, 170, 90);
constexpr Colour kDollarGreenDark = rgb(16, 86, 40);

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

void sphereBands(cairo_t* cr, int w, int h, const Colour& c) {
    setColour(cr, c);
    cairo_rectangle(cr, 0, 0, w, h * 0.07);
    cairo_rectangle(cr, 0, h * 0.93, w, h * 0.07);
    cairo_fill(cr);
}

void drawBetButton(cairo_t* cr, int w, int h, const Colour& base, const Colour& dark, const char* digit) {
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

void drawDollarCoin(cairo_t* cr, int w, int h, const Colour& face, const Colour& rim, const Colour& ink,
                    const Colour& inkOutline, const char* label) {
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

}  // namespace

void drawBetOneButton(cairo_t* cr, int w, int h) { drawBetButton(cr, w, h, kBetOneRed, kBetOneDark, "1"); }
void drawBetFiveButton(cairo_t* cr, int w, int h) { drawBetButton(cr, w, h, kBetFiveBlue, kBetFiveDark, "5"); }

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
