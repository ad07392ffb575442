// The drawing kit every picture shares: the common palette, seeded scatter, shapes and
// text set with Cairo.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "pictures.h"

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------
// Palette
// ---------------------------------------------------------------------------------

struct Colour {
    double r, g, b;
};

constexpr Colour rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
constexpr Colour fromRgb8(Rgb8 c) { return rgb(c.r, c.g, c.b); }

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

// ---------------------------------------------------------------------------------
// Scatter
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

// ---------------------------------------------------------------------------------
// Shapes
// ---------------------------------------------------------------------------------

void setColour(cairo_t* cr, const Colour& c);
void fillAll(cairo_t* cr, int w, int h, const Colour& c);
void verticalGradient(cairo_t* cr, double x, double y, double w, double h, const Colour& top, const Colour& bottom);
// Fills the current path with a radial gradient from `inner` at (cx, cy) to `outer`.
void radialFill(cairo_t* cr, double cx, double cy, double radius, const Colour& inner, const Colour& outer);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void circle(cairo_t* cr, double cx, double cy, double r);
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle = 0);
void star(cairo_t* cr, double cx, double cy, double outer, double inner, int points = 5);
void fillStroke(cairo_t* cr, const Colour& fill, const Colour& line, double lineWidth);
// A row of light bulbs from x0 to x1 at y, alternately lit and dim.
void bulbRow(cairo_t* cr, double x0, double x1, double y, double spacing, double radius, const Colour& lit,
             const Colour& dim);
void sparkle(cairo_t* cr, double cx, double cy, double size, const Colour& c);
void starField(cairo_t* cr, int w, int h, uint32_t seed, int count);

// ---------------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------------

enum class Align { Left, Centre };

void selectFont(cairo_t* cr, double size, bool bold = true);
double textWidth(cairo_t* cr, const char* text);
// Shrinks the current font until `text` is at most `maxWidth` wide; returns the size.
double fitFont(cairo_t* cr, const char* text, double size, double maxWidth, bool bold = true);
// Adds the outline of `text` to the path with its ink box centred vertically on y, and
// centred on x or starting at x.
void textPath(cairo_t* cr, const char* text, double x, double y, Align align = Align::Centre);
// Text in the current font with an optional outline drawn under the fill, so that the
// letters keep their full weight.
void drawText(cairo_t* cr, const char* text, double x, double y, const Colour& fill, const Colour* outline = nullptr,
              double outlineWidth = 0, Align align = Align::Centre);
