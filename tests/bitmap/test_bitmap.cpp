// The bitmap reader against files built byte by byte and files written by ImageMagick:
// every refusal with its console line, pixel-exact reads, and no file or block left behind.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/assets.h"
#include "bmp_files.h"

#if defined(__SANITIZE_ADDRESS__)
// A block too large for the machine then comes back null, as it would from a plain malloc
// under a memory limit, instead of ending the test.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=1024"; }
#endif

using bmp::Bytes;
using bmp::Header;

namespace {

Header sized(int32_t w, int32_t h) {
    Header hd;
    hd.width = w;
    hd.height = h;
    return hd;
}

// A header followed by `pixelBytes` bytes, whatever the header claims.
Bytes withPixels(const Header& h, size_t pixelBytes, uint8_t fill = 0x33) {
    Bytes bytes = bmp::header(h, static_cast<uint32_t>(bmp::FileHeaderSize + h.infoSize + pixelBytes));
    bytes.resize(bytes.size() + pixelBytes, fill);
    return bytes;
}

std::string readError(const std::string& p) { return "Error reading image data from " + p + ".\n"; }

int openFds() {
    int n = 0;
    DIR* d = opendir("/proc/self/fd");
    if (!d) return -1;
    while (readdir(d)) ++n;
    closedir(d);
    return n;
}

// Limits the address space of this (child) process to what it has now plus 512 MiB, so
// that a multi-gigabyte malloc fails even where the kernel would overcommit it. Under
// AddressSanitizer the limit would break its shadow memory; its own size cap does the job.
void limitAddressSpace() {
#if !defined(__SANITIZE_ADDRESS__)
    std::ifstream status("/proc/self/status");
    std::string line;
    unsigned long kib = 0;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0) kib = std::strtoul(line.c_str() + 7, nullptr, 10);
    const rlim_t limit = (kib + 512 * 1024) * 1024;
    const struct rlimit rl { limit, limit };
    setrlimit(RLIMIT_AS, &rl);
#endif
}

// The body of a death test: loads `p` under the memory limit with the console on stderr,
// marks the end of the reader's output, and exits 0 when the file was refused with
// nothing allocated and the header's size kept.
[[noreturn]] void refuseUnderMemoryLimit(const std::string& p, uint32_t width, uint32_t height) {
    limitAddressSpace();
    dup2(2, 1);
    Image image{0, 0, nullptr};
    const int result = loadBitmap(p.c_str(), &image);
    std::printf("<next>\n");
    std::fflush(stdout);
    const bool ok = result == 0 && image.pixels == nullptr && image.width == width && image.height == height;
    std::_Exit(ok ? 0 : 3);
}

// The body of a death test: loads `p` with the console on stderr and exits 0 when the
// reader refused it and left the record alone. An alarm ends a reader that waits.
[[noreturn]] void refuseWithinSeconds(const std::string& p) {
    alarm(10);
    dup2(2, 1);
    Image image{0xDEAD, 0xBEEF, nullptr};
    const int result = loadBitmap(p.c_str(), &image);
    std::fflush(stdout);
    std::_Exit(result == 0 && image.width == 0xDEAD && image.height == 0xBEEF && image.pixels == nullptr ? 0 : 3);
}

}  // namespace

class BitmapReader : public ::testing::Test {
protected:
    struct Load {
        int result = -1;
        std::string out;
        Image image{0xDEAD, 0xBEEF, nullptr};
        Bytes pixels;  // a copy of the block; the block itself is freed
    };

    void SetUp() override {
        dir_ = bmp::makeTempDir("bitmap-reader");
        ASSERT_FALSE(dir_.empty());
    }
    void TearDown() override { bmp::removeTree(dir_); }

    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    std::string put(const std::string& name, const Bytes& bytes) {
        const std::string p = path(name);
        EXPECT_TRUE(bmp::writeFile(p, bytes)) << p;
        return p;
    }

    static Load loadPath(const std::string& p) {
        Load l;
        testing::internal::CaptureStdout();
        l.result = loadBitmap(p.c_str(), &l.image);
        l.out = testing::internal::GetCapturedStdout();
        if (l.image.pixels) {
            if (l.result == 1) {
                l.pixels.assign(l.image.pixels, l.image.pixels + size_t{l.image.width} * l.image.height * 3);
            }
            std::free(l.image.pixels);
        }
        return l;
    }

    Load load(const std::string& name, const Bytes& bytes) { return loadPath(put(name, bytes)); }

    // A refusal prints its one line, allocates nothing, and keeps the header's size.
    void expectRefused(const Load& l, const std::string& line, uint32_t width, uint32_t height) {
        EXPECT_EQ(l.result, 0);
        EXPECT_EQ(l.out, line);
        EXPECT_EQ(l.image.pixels, nullptr);
        EXPECT_EQ(l.image.width, width);
        EXPECT_EQ(l.image.height, height);
    }

    std::string dir_;
};

TEST_F(BitmapReader, MissingFileIsReportedAndLeavesTheRecordAlone) {
    const std::string p = path("absent.bmp");
    const Load l = loadPath(p);
    EXPECT_EQ(l.result, 0);
    EXPECT_EQ(l.out, "File Not Found : " + p + "\n");
    EXPECT_EQ(l.image.width, 0xDEADu);
    EXPECT_EQ(l.image.height, 0xBEEFu);
    EXPECT_EQ(l.image.pixels, nullptr);
}

// What is not a regular file is refused at once as a file that cannot be opened: a FIFO
// no one writes to (which would keep the reader waiting for ever), a directory, a device,
// also behind a symbolic link.
TEST_F(BitmapReader, FilesThatAreNotRegularAreRefusedAtOnceAsNotFound) {
    const std::string fifo = path("coin.bmp");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string dir = path("ticket.bmp");
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    const std::string link = path("menu.bmp");
    ASSERT_EQ(symlink(fifo.c_str(), link.c_str()), 0);
    for (const std::string& p : {fifo, dir, link, std::string("/dev/zero")}) {
        SCOPED_TRACE(p);
        EXPECT_EXIT(refuseWithinSeconds(p), ::testing::ExitedWithCode(0), "^File Not Found : " + p + "\n$");
    }
}

TEST_F(BitmapReader, PlanesOtherThanOneAreRefused) {
    for (uint16_t planes : {0, 2, 3, 65535}) {
        SCOPED_TRACE(planes);
        Header h = sized(4, 3);
        h.planes = planes;
        const std::string p = put("planes.bmp", bmp::patternFile(h));
        expectRefused(loadPath(p), "Planes from " + p + " is not 1: " + std::to_string(planes) + "\n", 4, 3);
    }
}

TEST_F(BitmapReader, DepthsOtherThan24AreRefusedAfterThePlanes) {
    for (uint16_t bpp : {1, 8, 16, 32}) {
        SCOPED_TRACE(bpp);
        Header h = sized(4, 2);
        h.bpp = bpp;
        // The pixel block of the depth claimed is all there: only the depth is wrong.
        const std::string p = put("depth.bmp", withPixels(h, ((4u * bpp + 31) / 32) * 4 * 2));
        expectRefused(loadPath(p), "Bpp from " + p + " is not 24: " + std::to_string(bpp) + "\n", 4, 2);
    }
    Header both = sized(4, 2);
    both.planes = 2;
    both.bpp = 8;
    const std::string p = put("both.bmp", withPixels(both, 8));
    expectRefused(loadPath(p), "Planes from " + p + " is not 1: 2\n", 4, 2);
}

// The reader reads past the end of a short file: every missing byte counts as -1 in the
// little-endian sum, and the planes or the depth field then shows the low 16 bits of it.
TEST_F(BitmapReader, FilesEndingBeforeTheDepthFieldAreRefusedWithTheEndOfFileSums) {
    const Bytes good = bmp::patternFile(sized(4, 4));
    struct Case {
        size_t length;
        uint8_t byte26;  // the planes field's low byte, where it is the last byte in the file
        const char* field;
        unsigned value;
    };
    // Two missing bytes: -1 + -1 * 256 = -257, 0xFEFF. One byte b then the end: b - 256.
    const Case cases[] = {{0, 1, "Planes", 65279},  {20, 1, "Planes", 65279},    {26, 1, "Planes", 65279},
                          {27, 1, "Planes", 65281}, {27, 0xFF, "Planes", 65535}, {28, 1, "Bpp", 65279},
                          {29, 1, "Bpp", 65304}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        Bytes bytes = good;
        bytes[26] = c.byte26;
        bytes.resize(c.length);
        const std::string p = put("short.bmp", bytes);
        const Load l = loadPath(p);
        EXPECT_EQ(l.result, 0);
        const std::string what = std::strcmp(c.field, "Planes") == 0 ? " is not 1: " : " is not 24: ";
        EXPECT_EQ(l.out, c.field + (" from " + p) + what + std::to_string(c.value) + "\n");
        EXPECT_EQ(l.image.pixels, nullptr);
    }
    // Every length short of the depth field is refused by one of the two checks.
    for (size_t length = 0; length < 30; ++length) {
        SCOPED_TRACE(length);
        const Load l = load("short.bmp", Bytes(good.begin(), good.begin() + length));
        EXPECT_EQ(l.result, 0);
        EXPECT_TRUE(l.out.rfind("Planes from ", 0) == 0 || l.out.rfind("Bpp from ", 0) == 0) << l.out;
    }
}

TEST_F(BitmapReader, SizesBeyond32BitsAreRefusedWithTheSizeMessage) {
    struct Case {
        int32_t w, h;
        uint32_t shownW, shownH;
    };
    // 0x55555556 x 3 is the first width whose block passes 2^32 - 1; a negative height or
    // width reads as a number near 2^32.
    const Case cases[] = {{65536, 65536, 65536, 65536}, {0x55555556, 1, 0x55555556u, 1},
                          {4, -1, 4, 0xFFFFFFFFu},      {1, -4, 1, 0xFFFFFFFCu},
                          {-1, 1, 0xFFFFFFFFu, 1},      {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFFu, 0x7FFFFFFFu}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.shownW) + " x " + std::to_string(c.shownH));
        const std::string p = put("huge.bmp", withPixels(sized(c.w, c.h), 64));
        expectRefused(loadPath(p),
                      "Image size from " + p + " is not supported: " + std::to_string(c.shownW) + " x " +
                          std::to_string(c.shownH) + "\n",
                      c.shownW, c.shownH);
    }
    // The largest block that fits passes the size check and fails on the missing pixels.
    const std::string p = put("edge.bmp", withPixels(sized(0x55555555, 1), 64));
    expectRefused(loadPath(p), readError(p), 0x55555555u, 1);
    // The depth is checked before the size.
    Header deep = sized(65536, 65536);
    deep.bpp = 8;
    const std::string q = put("deep.bmp", withPixels(deep, 64));
    expectRefused(loadPath(q), "Bpp from " + q + " is not 24: 8\n", 65536, 65536);
}

TEST_F(BitmapReader, ZeroWidthOrHeightIsAReadError) {
    for (const auto& [w, h] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{0, 0}, std::pair{0, -1}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        // Plenty of bytes follow the header: the refusal is the empty block's.
        const std::string p = put("empty.bmp", withPixels(sized(w, h), 96));
        expectRefused(loadPath(p), readError(p), static_cast<uint32_t>(w), static_cast<uint32_t>(h));
    }
}

TEST_F(BitmapReader, PixelBlockLongerThanTheFileIsAReadError) {
    const Bytes four = bmp::patternFile(sized(4, 4));
    const std::string p = put("short4.bmp", Bytes(four.begin(), four.end() - 1));
    expectRefused(loadPath(p), readError(p), 4, 4);

    // Width 5: rows of 15 bytes stored in 16. The last pixel byte missing is refused.
    const Bytes five = bmp::patternFile(sized(5, 2));
    const std::string q = put("short5.bmp", Bytes(five.begin(), five.begin() + 54 + 16 + 14));
    expectRefused(loadPath(q), readError(q), 5, 2);

    // A header whose block would fit in 32 bits, in a file of 100 bytes.
    const std::string r = put("claims.bmp", withPixels(sized(30000, 30000), 46));
    expectRefused(loadPath(r), readError(r), 30000, 30000);
}

// A header claiming 30000 x 30000 pixels (2.7 GB) in a 100-byte file is refused before
// any allocation. With the address space limited a malloc of that size fails, so a reader
// that allocated first would print the allocation message instead of the read error.
TEST_F(BitmapReader, HugeHeaderInATinyFileAllocatesNothing) {
    const std::string p = put("claims.bmp", withPixels(sized(30000, 30000), 46));
    EXPECT_EXIT(refuseUnderMemoryLimit(p, 30000, 30000), ::testing::ExitedWithCode(0),
                "Error reading image data from .*claims\\.bmp\\.\n<next>\n");
}

// A whole 3 GiB file (sparse: it takes no disk) whose block the process cannot allocate.
// The message has no line end: what is printed next continues the line.
TEST_F(BitmapReader, FailedAllocationIsReportedWithoutALineEnd) {
    const std::string p = put("big.bmp", bmp::header(sized(32768, 32768), 0));
    ASSERT_EQ(truncate(p.c_str(), 54 + 32768LL * 32768 * 3), 0);
    EXPECT_EXIT(refuseUnderMemoryLimit(p, 32768, 32768), ::testing::ExitedWithCode(0),
                "Error allocating memory for color-corrected image data<next>\n");
}

TEST_F(BitmapReader, DataOffsetOutsideTheFileIsAReadError) {
    const uint32_t fileSize = 54 + 48;
    for (uint32_t offset : {0u, 13u, 53u, fileSize, fileSize + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(offset);
        Bytes bytes = bmp::patternFile(sized(4, 4));
        bmp::put32(bytes, 10, offset);
        const std::string p = put("offset.bmp", bytes);
        expectRefused(loadPath(p), readError(p), 4, 4);
    }
}

TEST_F(BitmapReader, PixelsComeBackRedGreenBlueBottomRowFirst) {
    Bytes bytes = withPixels(sized(4, 2), 24);
    for (size_t i = 0; i < 24; ++i) bytes[54 + i] = static_cast<uint8_t>(i + 1);  // 1, 2, 3, 4, ...
    const Load l = load("order.bmp", bytes);
    ASSERT_EQ(l.result, 1);
    EXPECT_EQ(l.out, "");
    EXPECT_EQ(l.image.width, 4u);
    EXPECT_EQ(l.image.height, 2u);
    ASSERT_EQ(l.pixels.size(), 24u);
    for (size_t px = 0; px < 8; ++px) {
        SCOPED_TRACE(px);
        EXPECT_EQ(l.pixels[px * 3], 3 * px + 3);
        EXPECT_EQ(l.pixels[px * 3 + 1], 3 * px + 2);
        EXPECT_EQ(l.pixels[px * 3 + 2], 3 * px + 1);
    }
}

TEST_F(BitmapReader, PixelDataIsTakenFromTheStoredOffset) {
    // Larger information headers, and a gap before the pixels, as editors write them.
    for (const auto& [infoSize, offset] :
         {std::pair{bmp::V4HeaderSize, 0u}, std::pair{bmp::V5HeaderSize, 0u}, std::pair{bmp::InfoHeaderSize, 70u}}) {
        SCOPED_TRACE(std::to_string(infoSize) + " / " + std::to_string(offset));
        Header h = sized(4, 3);
        h.infoSize = infoSize;
        h.dataOffset = offset;
        const Load l = load("offset.bmp", bmp::patternFile(h));
        ASSERT_EQ(l.result, 1) << l.out;
        EXPECT_EQ(l.pixels, bmp::patternPixels(4, 3));
    }
}

TEST_F(BitmapReader, SurplusBytesAfterTheBlockAreIgnored) {
    Bytes bytes = bmp::patternFile(sized(4, 2));
    bytes.resize(bytes.size() + 1000, 0xAB);
    const Load l = load("surplus.bmp", bytes);
    ASSERT_EQ(l.result, 1) << l.out;
    EXPECT_EQ(l.out, "");
    EXPECT_EQ(l.pixels, bmp::patternPixels(4, 2));
}

TEST_F(BitmapReader, PaddedRowsOfWidthsOneToNineReadUnskewed) {
    for (int width = 1; width <= 9; ++width) {
        SCOPED_TRACE(width);
        const Load l = load("padded.bmp", bmp::patternFile(sized(width, 3)));
        ASSERT_EQ(l.result, 1) << l.out;
        EXPECT_EQ(l.image.width, static_cast<uint32_t>(width));
        EXPECT_EQ(l.image.height, 3u);
        EXPECT_EQ(l.pixels, bmp::patternPixels(width, 3));

        // The same file without the last row's padding reads the same pixels.
        const Bytes full = bmp::patternFile(sized(width, 3));
        const size_t padding = (4 - (width * 3) % 4) % 4;
        const Load cut = load("cut.bmp", Bytes(full.begin(), full.end() - static_cast<long>(padding)));
        ASSERT_EQ(cut.result, 1) << cut.out;
        EXPECT_EQ(cut.pixels, bmp::patternPixels(width, 3));
    }
}

// Files from another program: ImageMagick's plain BMP3 (54-byte header) and its default
// BMP, which for a true-colour image has the 124-byte header and its pixels at 138.
TEST_F(BitmapReader, FilesWrittenByImageMagickReadPixelExact) {
    const std::string convert = SLOT_IMAGEMAGICK_CONVERT;
    ASSERT_EQ(access(convert.c_str(), X_OK), 0) << "ImageMagick's convert is needed: " << convert;
    for (const auto& [w, h] : {std::pair{5, 3}, std::pair{4, 4}, std::pair{7, 2}}) {
        // A PPM stores the top row first.
        std::ostringstream ppm;
        ppm << "P6\n" << w << " " << h << "\n255\n";
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) {
                const bmp::Rgb px = bmp::patternPixel(x, y);
                ppm << static_cast<char>(px.r) << static_cast<char>(px.g) << static_cast<char>(px.b);
            }
        }
        const std::string in = path("in.ppm");
        std::ofstream(in, std::ios::binary) << ppm.str();
        for (const auto& [format, offset] : {std::pair{"BMP3", 54u}, std::pair{"BMP", 138u}}) {
            SCOPED_TRACE(std::string(format) + " " + std::to_string(w) + "x" + std::to_string(h));
            const std::string out = path(std::string(format) + ".bmp");
            const std::string cmd = "'" + convert + "' '" + in + "' -type TrueColor " + format + ":'" + out + "'";
            ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
            const Bytes file = bmp::readFile(out);
            ASSERT_GE(file.size(), 54u);
            // The file is what this test means to read: 24 bits, pixels where expected.
            ASSERT_EQ(file[28], 24);
            ASSERT_EQ(file[10] | file[11] << 8, static_cast<int>(offset));
            const Load l = loadPath(out);
            ASSERT_EQ(l.result, 1) << l.out;
            EXPECT_EQ(l.image.width, static_cast<uint32_t>(w));
            EXPECT_EQ(l.image.height, static_cast<uint32_t>(h));
            EXPECT_EQ(l.pixels, bmp::patternPixels(w, h));
        }
    }
}

TEST_F(BitmapReader, TheFileIsClosedOnEveryPath) {
    Header planes = sized(4, 4);
    planes.planes = 2;
    Header depth = sized(4, 4);
    depth.bpp = 32;
    Bytes farOffset = bmp::patternFile(sized(4, 4));
    bmp::put32(farOffset, 10, 5000);
    const Bytes good = bmp::patternFile(sized(4, 4));
    const std::vector<std::string> files = {
        put("planes.bmp", withPixels(planes, 48)),
        put("depth.bmp", withPixels(depth, 64)),
        put("huge.bmp", withPixels(sized(65536, 65536), 48)),
        put("zero.bmp", withPixels(sized(0, 4), 48)),
        put("short.bmp", Bytes(good.begin(), good.end() - 1)),
        put("cut.bmp", Bytes(good.begin(), good.begin() + 10)),
        put("offset.bmp", farOffset),
        put("good.bmp", good),
    };
    const int before = openFds();
    ASSERT_GT(before, 0);
    for (int round = 0; round < 50; ++round) {
        for (const std::string& f : files) loadPath(f);
    }
    EXPECT_EQ(openFds(), before);
}

// Every hostile picture of the game's corpus, loaded here under the name the game gives
// it, prints the line its manifest names (or nothing, for the ones the game accepts).
TEST_F(BitmapReader, HostilePicturesGiveTheirListedLines) {
    const std::string data = SLOT_HOSTILE_DIR;
    std::ifstream manifest(data + "/hostile.tsv");
    ASSERT_TRUE(manifest) << data;
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    int rows = 0;
    std::string line;
    while (std::getline(manifest, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string file, expected, status;
        ASSERT_TRUE(std::getline(fields, file, '\t') && std::getline(fields, expected, '\t') &&
                    std::getline(fields, status, '\t'))
            << line;
        SCOPED_TRACE(file);
        ++rows;
        ASSERT_TRUE(bmp::writeFile("slotbackground.bmp", bmp::readFile(data + "/" + file)));
        const Load l = loadPath("slotbackground.bmp");
        if (expected.rfind("trying to load ", 0) == 0) {
            EXPECT_EQ(l.result, 1);
            EXPECT_EQ(l.out, "");
        } else {
            EXPECT_EQ(l.result, 0);
            EXPECT_EQ(l.out, expected + "\n");
        }
    }
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_GE(rows, 40);
}

// The little-endian readers on a memory stream: the first byte is the least significant,
// and the end of the stream enters the sum as -1.
TEST(BitmapFields, LittleEndianWithTheEndOfFileAsMinusOne) {
    unsigned char bytes[] = {0x78, 0x56, 0x34, 0x12, 0xCD, 0xAB, 0x01};
    FILE* f = fmemopen(bytes, sizeof bytes, "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(readLE32(f), 0x12345678u);
    EXPECT_EQ(readLE16(f), 0xABCDu);
    // 0x01, then three ends: 1 - 2^8 - 2^16 - 2^24 in 32 bits.
    EXPECT_EQ(readLE32(f), 0xFEFEFF01u);
    EXPECT_EQ(readLE16(f), 0xFEFFu);
    std::fclose(f);
}
