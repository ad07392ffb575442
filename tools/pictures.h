// The nineteen pictures the game wears: the size and the drawing of each with Cairo, by
// the slot it fills (its file name is the game's, assets/picture_table.h), and the
// colours a render check can look for.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "assets/assets.h"

using DrawPicture = void (*)(cairo_t* cr, int width, int height);

struct PictureEntry {
    TextureSlot slot;
    int width;
    int height;
    DrawPicture draw;
    const char* fileName() const { return textureFiles[slot]; }
};

// One entry for each of the slots 1 to PictureCount, in slot order.
extern const PictureEntry kPictures[PictureCount];

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
