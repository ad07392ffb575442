// Writes the bitmap corpora: the fuzzer's seeds and the hostile pictures the game must
// refuse, with hostile.tsv naming the console line and exit status each one gives.
// Usage: make-bitmap-corpus SEED_DIR HOSTILE_DIR (the output is the same on every run).
#include <cstdio>
#include <string>
#include <vector>

#include "bmp_files.h"

using bmp::Bytes;
using bmp::Header;

namespace {

// The hostile files stand in for the first picture the game loads.
const std::string Slot1 = "slotbackground.bmp";

struct Entry {
    std::string file;
    Bytes bytes;
    std::string line;  // the console line after "trying to load slotbackground.bmp"
};

Bytes cut(Bytes bytes, size_t length) {
    bytes.resize(length);
    return bytes;
}

// A 16-bit field as the game reads it from a file cut short: a byte past the end of the
// file enters the little-endian sum as -1, all bits set, and 16 bits are kept.
unsigned field16(const Bytes& bytes, size_t offset) {
    uint32_t sum = 0;
    for (size_t i = 0; i < 2; ++i) {
        const uint32_t b = offset + i < bytes.size() ? bytes[offset + i] : 0xFFFFFFFFu;
        sum += b << (8 * i);
    }
    return sum & 0xFFFFu;
}

std::string planesLine(unsigned planes) { return "Planes from " + Slot1 + " is not 1: " + std::to_string(planes); }
std::string bppLine(unsigned bpp) { return "Bpp from " + Slot1 + " is not 24: " + std::to_string(bpp); }
std::string sizeLine(uint32_t w, uint32_t h) {
    return "Image size from " + Slot1 + " is not supported: " + std::to_string(w) + " x " + std::to_string(h);
}
const std::string ReadError = "Error reading image data from " + Slot1 + ".";
// A picture the game accepts: it goes on to the second slot.
const std::string Accepted = "trying to load slot.bmp";

Header sized(int32_t w, int32_t h) {
    Header hd;
    hd.width = w;
    hd.height = h;
    return hd;
}

// A header and `pixelBytes` bytes of pixel data, whatever the header claims.
Bytes withPixels(const Header& h, size_t pixelBytes) {
    Bytes bytes = bmp::header(h, static_cast<uint32_t>(bmp::FileHeaderSize + h.infoSize + pixelBytes));
    for (size_t i = 0; i < pixelBytes; ++i) bytes.push_back(static_cast<uint8_t>(i * 37 + 11));
    return bytes;
}

Bytes withBpp(uint16_t bpp, int32_t w, int32_t h) {
    Header hd = sized(w, h);
    hd.bpp = bpp;
    // A whole pixel block for the depth claimed: only the depth is wrong.
    const size_t row = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    return withPixels(hd, row * static_cast<size_t>(h));
}

std::vector<Entry> hostile() {
    std::vector<Entry> out;
    const Bytes good = bmp::patternFile(sized(4, 4));  // 54 + 48 bytes

    // Cut short at the start of every header field, and inside the two checked ones.
    for (size_t length : {0, 2, 6, 10, 14, 18, 20, 22, 24, 26, 27, 28, 29, 30, 34, 38, 42, 46, 50, 54, 55}) {
        const Bytes bytes = cut(good, length);
        std::string line;
        if (field16(bytes, 26) != 1) {
            line = planesLine(field16(bytes, 26));
        } else if (field16(bytes, 28) != 24) {
            line = bppLine(field16(bytes, 28));
        } else {
            line = ReadError;  // the header is whole up to the depth; the pixels are not there
        }
        char name[32];
        std::snprintf(name, sizeof name, "cut_at_%03zu.bmp", length);
        out.push_back({name, bytes, line});
    }

    out.push_back({"zero_width.bmp", withPixels(sized(0, 4), 48), ReadError});
    out.push_back({"zero_height.bmp", withPixels(sized(4, 0), 48), ReadError});
    out.push_back({"zero_both.bmp", withPixels(sized(0, 0), 48), ReadError});
    // 65536 x 65536 x 3 does not fit in 32 bits; 30000 x 30000 x 3 does but is not in the file.
    out.push_back({"huge_65536x65536.bmp", withPixels(sized(65536, 65536), 48), sizeLine(65536, 65536)});
    out.push_back({"huge_30000x30000.bmp", withPixels(sized(30000, 30000), 46), ReadError});
    out.push_back({"huge_width.bmp", withPixels(sized(0x7FFFFFFF, 1), 48), sizeLine(0x7FFFFFFFu, 1)});
    out.push_back({"negative_height.bmp", withPixels(sized(4, -4), 48), sizeLine(4, 0xFFFFFFFCu)});
    out.push_back({"negative_width.bmp", withPixels(sized(-4, 4), 48), sizeLine(0xFFFFFFFCu, 4)});

    Bytes past = withPixels(sized(4, 4), 48);
    bmp::put32(past, 10, 54 + 48 + 1);  // one byte past the end
    out.push_back({"offset_past_end.bmp", past, ReadError});
    Header far = sized(4, 4);
    far.dataOffset = 0xFFFFFFF0u;
    out.push_back({"offset_far_away.bmp", withPixels(far, 48), ReadError});
    // Offsets that would point into the header itself.
    Bytes lowBytes = withPixels(sized(4, 4), 48);
    bmp::put32(lowBytes, 10, 0);
    out.push_back({"offset_zero.bmp", lowBytes, ReadError});
    bmp::put32(lowBytes, 10, 53);
    out.push_back({"offset_53.bmp", lowBytes, ReadError});
    out.push_back({"pixels_short.bmp", cut(good, good.size() - 1), ReadError});

    for (uint16_t bpp : {1, 4, 8, 16, 32}) {
        char name[32];
        std::snprintf(name, sizeof name, "bpp_%02u.bmp", static_cast<unsigned>(bpp));
        out.push_back({name, withBpp(bpp, 4, 4), bppLine(bpp)});
    }
    for (uint16_t planes : {0, 2, 65535}) {
        Header hd = sized(4, 4);
        hd.planes = planes;
        char name[32];
        std::snprintf(name, sizeof name, "planes_%u.bmp", static_cast<unsigned>(planes));
        out.push_back({name, bmp::patternFile(hd), planesLine(planes)});
    }
    // Two planes and eight bits: the planes are checked first.
    Header both = sized(4, 4);
    both.planes = 2;
    both.bpp = 8;
    out.push_back({"planes_2_bpp_08.bmp", withPixels(both, 16), planesLine(2)});

    // Pictures the game takes, so that the run shows the refusals are the files' fault.
    out.push_back({"accepted_4x4.bmp", good, Accepted});
    Header v5 = sized(8, 2);
    v5.infoSize = bmp::V5HeaderSize;
    out.push_back({"accepted_8x2_v5.bmp", bmp::patternFile(v5), Accepted});
    return out;
}

std::vector<Entry> seeds() {
    std::vector<Entry> out;
    out.push_back({"valid_1x1.bmp", bmp::patternFile(sized(1, 1)), ""});
    out.push_back({"valid_5x3.bmp", bmp::patternFile(sized(5, 3)), ""});
    out.push_back({"valid_4x4.bmp", bmp::patternFile(sized(4, 4)), ""});
    Header v5 = sized(3, 2);
    v5.infoSize = bmp::V5HeaderSize;
    out.push_back({"valid_3x2_v5.bmp", bmp::patternFile(v5), ""});
    Header gap = sized(2, 2);
    gap.dataOffset = 70;
    out.push_back({"valid_2x2_gap.bmp", bmp::patternFile(gap), ""});
    out.push_back({"cut_at_29.bmp", cut(bmp::patternFile(sized(4, 4)), 29), ""});
    out.push_back({"bpp_08.bmp", withBpp(8, 4, 2), ""});
    out.push_back({"zero_width.bmp", withPixels(sized(0, 2), 8), ""});
    out.push_back({"negative_height.bmp", withPixels(sized(2, -2), 16), ""});
    Bytes past = bmp::patternFile(sized(2, 2));
    bmp::put32(past, 10, 200);
    out.push_back({"offset_past_end.bmp", past, ""});
    const Bytes odd = bmp::patternFile(sized(7, 3));
    out.push_back({"pixels_short.bmp", cut(odd, odd.size() - 5), ""});
    return out;
}

bool writeAll(const std::string& dir, const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
        if (!bmp::writeFile(dir + "/" + e.file, e.bytes)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), e.file.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SEED_DIR HOSTILE_DIR\n", argv[0]);
        return 2;
    }
    const std::vector<Entry> bad = hostile();
    if (!writeAll(argv[1], seeds()) || !writeAll(argv[2], bad)) return 1;

    const std::string manifest = std::string(argv[2]) + "/hostile.tsv";
    FILE* f = std::fopen(manifest.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", manifest.c_str());
        return 1;
    }
    std::fprintf(f,
                 "# Each file, loaded by the game as slotbackground.bmp (the first picture), with the console\n"
                 "# line that follows \"trying to load slotbackground.bmp\" and the game's exit status. The\n"
                 "# run has no slot.bmp, so a picture the game accepts ends it at the second slot.\n"
                 "# Written by tests/bitmap/make_bitmap_corpus.cpp; do not edit by hand.\n");
    for (const Entry& e : bad) std::fprintf(f, "%s\t%s\t1\n", e.file.c_str(), e.line.c_str());
    return std::fclose(f) == 0 ? 0 : 1;
}
