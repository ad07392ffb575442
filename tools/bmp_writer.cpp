// The 24-bit bitmap encoder: every header field written byte by byte, little-endian,
// so the output is the same on any host.
#include "bmp_writer.h"

#include <cstddef>

namespace {

void putLE16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void putLE32(std::vector<uint8_t>& out, uint32_t value) {
    putLE16(out, value & 0xFFFF);
    putLE16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> encodeBmp(const std::vector<uint8_t>& rgbTopDown, int width, int height) {
    const uint32_t rowBytes = static_cast<uint32_t>(width) * 3;
    const uint32_t paddedRow = (rowBytes + 3) & ~3u;
    const uint32_t pixelBytes = paddedRow * static_cast<uint32_t>(height);

    std::vector<uint8_t> out;
    out.reserve(kBmpHeaderSize + pixelBytes);

    // File header.
    out.push_back('B');
    out.push_back('M');
    putLE32(out, kBmpHeaderSize + pixelBytes);  // file size
    putLE32(out, 0);                            // two reserved words
    putLE32(out, kBmpHeaderSize);               // offset of the pixel rows

    // BITMAPINFOHEADER. A positive height means the bottom row comes first.
    putLE32(out, 40);
    putLE32(out, static_cast<uint32_t>(width));
    putLE32(out, static_cast<uint32_t>(height));
    putLE16(out, 1);   // planes
    putLE16(out, 24);  // bits per pixel
    putLE32(out, 0);   // no compression
    putLE32(out, pixelBytes);
    putLE32(out, 2835);  // 72 dots per inch, both ways
    putLE32(out, 2835);
    putLE32(out, 0);  // no palette
    putLE32(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* row = rgbTopDown.data() + static_cast<size_t>(y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3 + 0]);
        }
        for (uint32_t pad = rowBytes; pad < paddedRow; ++pad) out.push_back(0);
    }
    return out;
}
