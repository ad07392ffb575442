// Bitmap files built byte by byte for the reader's tests, the fuzz seeds and the hostile
// corpus: every header field is set by hand, so broken files are as easy as good ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bmp {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;  // BITMAPINFOHEADER: the 54-byte classic header
constexpr uint32_t V4HeaderSize = 108;
constexpr uint32_t V5HeaderSize = 124;

// The fields a header carries; width and height are signed as in the format, so that
// a top-down file (negative height) can be written.
struct Header {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bpp = 24;
    uint32_t infoSize = InfoHeaderSize;
    // 0 means "right after the information header".
    uint32_t dataOffset = 0;
};

struct Rgb {
    uint8_t r, g, b;
};

// A pixel whose three channels differ from each other and from every other pixel of a
// small image, so that swapped channels, skewed rows and flipped images all show.
Rgb patternPixel(int x, int y);

void put16(Bytes& bytes, size_t offset, uint16_t value);
void put32(Bytes& bytes, size_t offset, uint32_t value);

// The file header and the information header: "BM", sizes and offsets filled in,
// `fileSize` as the header should claim it.
Bytes header(const Header& h, uint32_t fileSize);

// Stored row length for `width` pixels at 24 bits: padded to whole 4-byte words.
size_t storedRow(int width);

// A complete 24-bit file: `pixel(x, y)` with y = 0 the bottom row, which is stored first;
// row padding is filled with `padByte` so that reading it as pixels shows.
template <typename PixelFn>
Bytes file24(Header h, PixelFn pixel, uint8_t padByte = 0xEE) {
    if (h.dataOffset == 0) h.dataOffset = FileHeaderSize + h.infoSize;
    const size_t row = storedRow(h.width);
    const uint32_t rows = static_cast<uint32_t>(h.height < 0 ? -h.height : h.height);
    Bytes bytes = header(h, static_cast<uint32_t>(h.dataOffset + row * rows));
    bytes.resize(h.dataOffset, 0x5A);  // whatever lies between header and pixels
    for (uint32_t y = 0; y < rows; ++y) {
        for (int x = 0; x < h.width; ++x) {
            const Rgb p = pixel(x, static_cast<int>(y));
            bytes.push_back(p.b);
            bytes.push_back(p.g);
            bytes.push_back(p.r);
        }
        bytes.resize(h.dataOffset + row * (y + 1), padByte);
    }
    return bytes;
}

// A complete 24-bit file of the pattern pixels.
Bytes patternFile(Header h);

// The packed RGB rows, bottom row first, that the reader should make of a pattern file.
Bytes patternPixels(int width, int height);

// Writes `bytes` to `path`; false on any error.
bool writeFile(const std::string& path, const Bytes& bytes);
// Reads a whole file; empty when it cannot be read.
Bytes readFile(const std::string& path);

// A fresh private folder under TMPDIR (or /tmp), and its removal with all it holds.
std::string makeTempDir(const char* tag);
void removeTree(const std::string& dir);

}  // namespace bmp
