// libFuzzer target for the bitmap reader: every input is written to a file of this
// process and loaded; whatever the bytes, the reader must stay inside its buffers, refuse
// without allocating, and accept exactly the well-formed files with their pixels intact.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/assets.h"

namespace {

// The reader takes a file name: the input lives in a memory file of this process, opened
// by its /proc name, or else in a temporary file on disk (several times slower).
int inputFd = -1;
std::string inputPath;
std::string diskPath;

void removeInput() {
    if (!diskPath.empty()) unlink(diskPath.c_str());
}

uint32_t le32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "bitmap reader invariant broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    inputFd = memfd_create("fuzz_bitmap", 0);
    if (inputFd >= 0 && access(("/proc/self/fd/" + std::to_string(inputFd)).c_str(), R_OK) == 0) {
        inputPath = "/proc/self/fd/" + std::to_string(inputFd);
    } else {
        if (inputFd >= 0) close(inputFd);
        const char* base = std::getenv("TMPDIR");
        diskPath = std::string(base && *base ? base : "/tmp") + "/fuzz_bitmap.XXXXXX";
        inputFd = mkstemp(diskPath.data());
        if (inputFd < 0) fail("cannot make the input file");
        inputPath = diskPath;
        std::atexit(removeInput);
    }
    // The reader's refusals would flood the fuzzer's console.
    if (!std::freopen("/dev/null", "w", stdout)) fail("cannot silence stdout");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (ftruncate(inputFd, 0) != 0) fail("cannot empty the input file");
    if (size > 0 && pwrite(inputFd, data, size, 0) != static_cast<ssize_t>(size)) fail("cannot write the input");

    Image image{0, 0, nullptr};
    const int result = loadBitmap(inputPath.c_str(), &image);
    if (result != 0 && result != 1) fail("result is neither 0 nor 1");

    // What a well-formed file is, from the format: one plane, 24 bits, a size that fits in
    // 32 bits, and a pixel block of padded rows that lies inside the file.
    bool mustRefuse = size < 30;
    bool mustAccept = false;
    uint64_t rowBytes = 0, storedRow = 0, offset = 0;
    if (!mustRefuse) {
        offset = le32(data + 10);
        const uint64_t width = le32(data + 18), height = le32(data + 22);
        rowBytes = width * 3;
        storedRow = (rowBytes + 3) & ~uint64_t{3};
        const bool headerOk = le16(data + 26) == 1 && le16(data + 28) == 24 && width * height * 3 <= UINT32_MAX &&
                              width * height > 0 && offset >= 54 && offset <= size;
        const uint64_t room = headerOk ? size - offset : 0;
        // The last row's padding may be left out of the file, or may be required.
        mustRefuse = !headerOk || room < storedRow * (height - 1) + rowBytes;
        mustAccept = headerOk && room >= storedRow * height;
    }
    if (mustRefuse && result == 1) fail("a malformed file was accepted");
    if (mustAccept && result == 0) fail("a well-formed file was refused");

    if (result == 0) {
        // Nothing is allocated for a file that is refused: the file does not change while read.
        if (image.pixels != nullptr) fail("a refusal left a pixel block behind");
        return 0;
    }
    if (!image.pixels) fail("an accepted file has no pixels");
    if (image.width != le32(data + 18) || image.height != le32(data + 22)) fail("the size is not the header's");
    // Every byte of the block is read, so the sanitizer sees any block shorter than claimed.
    for (uint32_t row = 0; row < image.height; ++row) {
        const uint8_t* stored = data + offset + storedRow * row;
        const unsigned char* packed = image.pixels + rowBytes * row;
        for (uint64_t i = 0; i < rowBytes; i += 3) {
            if (packed[i] != stored[i + 2] || packed[i + 1] != stored[i + 1] || packed[i + 2] != stored[i])
                fail("a pixel differs from the file's");
        }
    }
    std::free(image.pixels);
    return 0;
}
