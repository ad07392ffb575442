// The 24-bit Windows bitmap encoder of the picture tool: 54-byte header, bottom row
// first, B, G, R bytes, rows padded to four bytes.
#pragma once

#include <cstdint>
#include <vector>

// Size of the file header plus the BITMAPINFOHEADER; the pixel rows start right after it.
constexpr int kBmpHeaderSize = 54;

// Returns the bytes of a bitmap file for `width` x `height` pixels. `rgbTopDown` holds
// width * height * 3 bytes, R, G, B per pixel, the top row first (the way Cairo draws).
std::vector<uint8_t> encodeBmp(const std::vector<uint8_t>& rgbTopDown, int width, int height);
