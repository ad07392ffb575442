// Bitmap files built byte by byte, and the temporary folders the tests write them into.
#include "bmp_files.h"

#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace bmp {

Rgb patternPixel(int x, int y) {
    return Rgb{static_cast<uint8_t>(10 + 16 * x + y), static_cast<uint8_t>(100 + 7 * y + x),
               static_cast<uint8_t>(200 - 3 * x - 5 * y)};
}

void put16(Bytes& bytes, size_t offset, uint16_t value) {
    if (bytes.size() < offset + 2) bytes.resize(offset + 2, 0);
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void put32(Bytes& bytes, size_t offset, uint32_t value) {
    if (bytes.size() < offset + 4) bytes.resize(offset + 4, 0);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

Bytes header(const Header& h, uint32_t fileSize) {
    const uint32_t dataOffset = h.dataOffset == 0 ? FileHeaderSize + h.infoSize : h.dataOffset;
    Bytes bytes(FileHeaderSize + h.infoSize, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, fileSize);
    put32(bytes, 10, dataOffset);
    put32(bytes, 14, h.infoSize);
    put32(bytes, 18, static_cast<uint32_t>(h.width));
    put32(bytes, 22, static_cast<uint32_t>(h.height));
    put16(bytes, 26, h.planes);
    put16(bytes, 28, h.bpp);
    put32(bytes, 30, 0);  // no compression
    put32(bytes, 34, fileSize > dataOffset ? fileSize - dataOffset : 0);
    put32(bytes, 38, 2835);  // 72 dots per inch
    put32(bytes, 42, 2835);
    return bytes;
}

size_t storedRow(int width) { return (static_cast<size_t>(width < 0 ? 0 : width) * 3 + 3) & ~size_t{3}; }

Bytes patternFile(Header h) { return file24(h, patternPixel); }

Bytes patternPixels(int width, int height) {
    Bytes out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb p = patternPixel(x, y);
            out.insert(out.end(), {p.r, p.g, p.b});
        }
    }
    return out;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), bytes.size(), 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

Bytes readFile(const std::string& path) {
    Bytes bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::getc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

std::string makeTempDir(const char* tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + tag + ".XXXXXX";
    if (!mkdtemp(pattern.data())) return std::string();
    return pattern;
}

static int removeEntry(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }

void removeTree(const std::string& dir) {
    if (!dir.empty()) nftw(dir.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

}  // namespace bmp
