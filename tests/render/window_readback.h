// Reads the game window's pixels back from the X server: the frame as it reached the
// window after the swap (Mesa's software front buffer cannot be read through the GL).
// Kept apart from the game's headers, whose Screen clashes with Xlib's.
#pragma once

#include <cstdint>

namespace rt {

// Fills `rgb` with width x height pixels, R, G, B, rows from the bottom as the GL counts.
bool readWindowPixels(int width, int height, unsigned char* rgb);
// The same as 0xRRGGBB words, a pixel each.
bool readWindowColours(int width, int height, uint32_t* colours);

}  // namespace rt
