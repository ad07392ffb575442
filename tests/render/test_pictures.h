// The test pictures: a solid colour and a size of its own for every texture slot, so that
// the colour of a surface tells which slot it wears, and the 24-bit bitmap writer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rt {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// The colour of slot 1 to 19. Every one has a channel at 0 or a strong imbalance, so
// that a lit surface tinted by any of them is told from an untinted one.
Rgb slotColour(int slot);
// The picture sizes, all different, so that a picture loaded into the wrong slot shows.
int slotWidth(int slot);
int slotHeight(int slot);

// Writes a 24-bit bitmap with a 54-byte header: `pixel(x, y)` with x from the left
// column and y from the bottom row, rows padded to 4 bytes.
void writeBitmap(const std::string& path, int width, int height, const std::function<Rgb(int x, int y)>& pixel);

// Writes the nineteen solid pictures under the game's file names into `dir`.
void writeSolidPictures(const std::string& dir);

}  // namespace rt
