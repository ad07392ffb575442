// The solid test pictures and the bitmap writer that puts them on disk.
#include "tests/render/test_pictures.h"

#include <cstdio>
#include <stdexcept>

#include "assets/assets.h"

namespace rt {

namespace {

const Rgb SlotColours[PictureCount + 1] = {
    {0, 0, 0},        // 0: the plain slot, never a picture
    {64, 128, 192},   // 1 machine backdrop
    {255, 0, 0},      // 2 reel strip
    {255, 128, 0},    // 3 bet one
    {0, 128, 255},    // 4 bet five
    {255, 0, 255},    // 5 marquee: one token
    {0, 255, 0},      // 6 marquee: five tokens
    {0, 0, 255},      // 7 marquee: two of a kind
    {128, 0, 255},    // 8 marquee: three of a kind
    {0, 255, 255},    // 9 marquee: no win
    {255, 0, 128},    // 10 status-bar coin
    {128, 192, 255},  // 11 ticket stub
    {192, 64, 64},    // 12 menu panel
    {64, 192, 64},    // 13 token counter backdrop
    {255, 64, 192},   // 14 one dollar
    {64, 255, 192},   // 15 two dollars
    {192, 192, 0},    // 16 five dollars
    {64, 64, 128},    // 17 prize counter backdrop
    {0, 192, 128},    // 18 winner sign
    {192, 0, 64},     // 19 loser sign
};

void putLE(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

}  // namespace

Rgb slotColour(int slot) { return SlotColours[slot]; }

int slotWidth(int slot) { return 4 << (slot % 5); }

int slotHeight(int slot) { return 4 << (slot / 5); }

void writeBitmap(const std::string& path, int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLE(out, 54 + dataBytes, 4);  // file size
    putLE(out, 0, 4);               // reserved
    putLE(out, 54, 4);              // pixel data offset
    putLE(out, 40, 4);              // information header size
    putLE(out, static_cast<uint32_t>(width), 4);
    putLE(out, static_cast<uint32_t>(height), 4);
    putLE(out, 1, 2);   // planes
    putLE(out, 24, 2);  // bits per pixel
    putLE(out, 0, 4);   // no compression
    putLE(out, dataBytes, 4);
    putLE(out, 2835, 4);  // 72 dpi
    putLE(out, 2835, 4);
    putLE(out, 0, 4);
    putLE(out, 0, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    const size_t written = std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    if (written != out.size()) throw std::runtime_error("short write to " + path);
}

void writeSolidPictures(const std::string& dir) {
    for (int slot = 1; slot <= PictureCount; ++slot) {
        const Rgb colour = slotColour(slot);
        writeBitmap(dir + "/" + textureFiles[slot], slotWidth(slot), slotHeight(slot),
                    [colour](int, int) { return colour; });
    }
}

}  // namespace rt
