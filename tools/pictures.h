// The nineteen pictures the game wears: their table in slot order, the drawing of each
// with Cairo, and the colours a render check can look for.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

using DrawPicture = void (*)(cairo_t* cr, int width, int height);

struct PictureEntry {
    const char* fileName;
    int width;
    int height;
    DrawPicture draw;
};

constexpr int kPictureCount = 19;

// Slot 1 first: entry i fills texture slot i + 1.
extern const PictureEntry kPictures[kPictureCount];

struct Rgb8 {
    uint8_t r, g, b;
};

// The four reel stops in degrees, and the dominant colour of the symbol drawn on each.
constexpr int kReelStopCount = 4;
extern const double kReelStopDegrees[kReelStopCount];
extern const Rgb8 kReelSymbolColours[kReelStopCount];

// Background colour of each marquee picture, in file order marqone .. winzero.
constexpr int kMarqueeCount = 5;
extern const Rgb8 kMarqueeBackgrounds[kMarqueeCount];

// The reel-strip column (s, 0 to 1) that faces the viewer when the reel is turned by
// `degrees`.
double reelColumnFacingViewer(double degrees);

// Draws one picture and returns its pixels, R, G, B per pixel, top row first. On a Cairo
// failure it returns an empty vector and puts Cairo's message in `error`.
std::vector<uint8_t> renderPictureRgb(const PictureEntry& picture, std::string& error);
